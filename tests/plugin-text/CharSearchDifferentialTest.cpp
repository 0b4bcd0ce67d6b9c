// The caret's indexed character searches against the walk over every
// character that they replace, on every page of the bundled samples, of
// PDF manuals that Debian packages install, and of pages laid out by hand
// to provoke ties, overlaps, turned quads and coordinates too large to
// trust. Points and rectangles are random, and also sit exactly on
// characters' vertices, edges and box lines, where the comparisons are
// decided by the last bit.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "bl/internal/SelectCaret.h"
#include "pdmodel-proxy/CharRunIndex.h"
#include "pdmodel-proxy/Page.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/BoundingRect.h"
#include "service-common/RectUnion.h"

namespace {

using PDModel::CharRunIndex;
using PDModel::PageText;

constexpr float kInf = std::numeric_limits<float>::infinity();

// --- The oracle: every character, in index order ----------------------------

std::optional<uint64_t> WalkForHit(const std::vector<SL::Quad>& quads, const SL::PointF& q) {
    for (uint64_t i = 0; i < quads.size(); ++i) {
        if (BL::QuadContainsPoint(quads[i], q))
            return i;
    }
    return std::nullopt;
}

std::optional<uint64_t> WalkForNearest(const std::vector<SL::Quad>& quads, const SL::PointF& q,
                                       const SL::RectF& r) {
    float best = FLT_MAX;
    std::optional<uint64_t> nearest;
    for (uint64_t i = 0; i < quads.size(); ++i) {
        const SL::RectF box = SL::BoundingRect(quads[i]);
        if (!(r.x0 < box.x1 && r.y0 < box.y1 && box.x0 < r.x1 && box.y0 < r.y1))
            continue;
        const float d = BL::DistanceToOutline(quads[i], q);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    return nearest;
}

// --- Points and rectangles ---------------------------------------------------

class Probe {
public:
    Probe(const std::vector<SL::Quad>& quads, uint32_t seed) : quads_(quads), random_(seed) {
        for (const SL::Quad& quad : quads_)
            boxes_.push_back(SL::BoundingRect(quad));
        // The area random points fall in: that of the characters of sane size.
        area_ = {-10, -10, 10, 10};
        for (const SL::RectF& box : boxes_) {
            if (std::fmax(std::fmax(std::fabs(box.x0), std::fabs(box.x1)),
                          std::fmax(std::fabs(box.y0), std::fabs(box.y1))) <= 1e6f)
                area_ = SL::Union(area_, box);
        }
    }

    // Anywhere near the text, a character's vertex, a point on one of its
    // edges (or a float step beside it), or its box lines crossed with
    // coordinates of another character.
    SL::PointF Point() {
        if (quads_.empty())
            return {Between(-10, 10), Between(-10, 10)};
        const SL::Quad& quad = quads_[Pick(quads_.size())];
        const SL::PointF corners[4] = {quad.p0, quad.p1, quad.p3, quad.p2};
        switch (Pick(5)) {
        case 0:
            return {Between(area_.x0 - 5, area_.x1 + 5), Between(area_.y0 - 5, area_.y1 + 5)};
        case 1:
            return corners[Pick(4)];
        case 2: {
            const std::size_t edge = Pick(4);
            const SL::PointF a = corners[edge], b = corners[(edge + 1) % 4];
            const float t = Between(0, 1);
            const SL::PointF on{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
            return Pick(2) ? on : SL::PointF{Step(on.x), Step(on.y)};
        }
        case 3: {
            const SL::RectF& other = boxes_[Pick(boxes_.size())];
            const SL::RectF box = SL::BoundingRect(quad);
            return {Pick(2) ? box.x0 : other.x1, Pick(2) ? box.y1 : other.y0};
        }
        default: {
            const SL::RectF box = SL::BoundingRect(quad);
            if (box.x1 - box.x0 > 1e6f || box.y1 - box.y0 > 1e6f)
                return corners[Pick(4)];
            return {Between(box.x0 - 1, box.x1 + 1), Between(box.y0 - 1, box.y1 + 1)};
        }
        }
    }

    // Minimum corner first; its sides often lie on characters' box lines,
    // where the strict overlap test decides.
    SL::RectF Rect() {
        SL::PointF a = Point(), b = Point();
        if (Pick(3) == 0 && !boxes_.empty()) {
            const SL::RectF& box = boxes_[Pick(boxes_.size())];
            a = {box.x1, box.y0};
            b.x = box.x1 + (Pick(2) ? 0.01f : 0.0f);
        }
        return SL::Ordered(SL::RectF{a.x, a.y, b.x, b.y});
    }

private:
    std::size_t Pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }
    float Between(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random_);
    }
    float Step(float v) { return std::nextafter(v, Pick(2) ? kInf : -kInf); }

    const std::vector<SL::Quad>& quads_;
    std::vector<SL::RectF> boxes_;
    SL::RectF area_{};
    std::mt19937 random_;
};

// Both searches against the walk at `points` points and `rects` rectangles
// of the page, and at points no page has; counts the points on a character
// and the rectangles with a nearest one, so that a run that finds nothing
// shows.
void CompareOnPage(const PageText& text, uint32_t seed, int points, int rects,
                   const std::string& where, uint64_t& found) {
    const std::vector<SL::Quad> quads(text.begin(), text.end());
    const CharRunIndex runs(text);
    ASSERT_EQ(runs.CharCount(), quads.size()) << where;
    Probe probe(quads, seed);
    const SL::PointF odd[] = {{std::nanf(""), 0}, {kInf, 0}, {0, -kInf}, {3e38f, -3e38f}};

    for (int i = 0; i < points + 4; ++i) {
        const SL::PointF q = i < points ? probe.Point() : odd[i - points];
        const std::optional<uint64_t> expected = WalkForHit(quads, q);
        ASSERT_EQ(BL::FindCharContaining(text, runs, q), expected)
            << where << " hit test at (" << q.x << ", " << q.y << "), seed " << seed;
        found += expected.has_value();
    }
    for (int i = 0; i < rects + 4; ++i) {
        const SL::RectF r = probe.Rect();
        const SL::PointF q = i < rects ? probe.Point() : odd[i - rects];
        const std::optional<uint64_t> expected = WalkForNearest(quads, q, r);
        ASSERT_EQ(BL::FindNearestCandidate(text, runs, q, r), expected)
            << where << " nearest to (" << q.x << ", " << q.y << ") in (" << r.x0 << ", " << r.y0
            << ", " << r.x1 << ", " << r.y1 << "), seed " << seed;
        found += expected.has_value();
    }
}

void CompareOnDocument(PDDocument document, const std::string& name, int points, int rects) {
    uint64_t pages = 0, found = 0;
    ASSERT_EQ(FolioDocumentGetPageCount(document, &pages), 0);
    for (uint64_t page = 0; page < pages; ++page) {
        PDFL::Page pdPage;
        ASSERT_EQ(FolioDocumentLoadPage(document, page, pdPage.Receive()), 0);
        PageText text;
        ASSERT_EQ(PDPageLoadPageText(pdPage.get(), text.Receive()), 0) << name << " p" << page;
        CompareOnPage(text, uint32_t(page * 7919 + name.size()), points, rects,
                      name + " page " + std::to_string(page + 1), found);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GT(found, pages * (points + rects) / 10) << name << ": the probes miss the text";
}

// --- Documents ----------------------------------------------------------------

class PdfFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(PdfFiles, IndexedSearchesFindWhatTheWalkFinds) {
    const std::string path = GetParam();
    PDDocument raw = nullptr;
    if (FolioDocumentOpen(path.c_str(), &raw) != 0)
        GTEST_SKIP() << path << " is not here (" << FolioLastErrorMessage() << ")";
    const testsupport::Document document(raw);
    CompareOnDocument(document.get(), path.substr(path.rfind('/') + 1), 120, 60);
}

INSTANTIATE_TEST_SUITE_P(
    BundledAndForeign, PdfFiles,
    ::testing::Values(SAMPLES_DIR "/sample.pdf", SAMPLES_DIR "/large.pdf",
                      // Typeset by three different programs; installed by
                      // scripts/setup.sh.
                      "/usr/share/doc/libtasn1-doc/libtasn1.pdf",
                      "/usr/share/doc/shared-mime-info/shared-mime-info-spec.pdf",
                      "/usr/share/doc/python-reportlab-doc/reportlab-userguide.pdf"));

// Characters on a half-unit grid, so that distances tie exactly across
// runs; copies of earlier characters further on; quads of no width or no
// size; turned quads; and characters with coordinates too large for a
// run's box to be trusted.
TEST(HandMadePages, IndexedSearchesFindWhatTheWalkFinds) {
    testsupport::Document doc = testsupport::InMemory(3);
    std::mt19937 random(2024);
    const auto half = [&](int low, int high) {
        return float(std::uniform_int_distribution<int>(2 * low, 2 * high)(random)) / 2;
    };
    std::vector<SL::Quad> placed;
    for (uint64_t page = 0; page < 3; ++page) {
        for (int i = 0; i < 600; ++i) {
            SL::Quad quad;
            const int kind = int(random() % 10);
            if (kind < 6) { // a line of upright boxes, sometimes overlapping or of no width
                const float x = float(i % 40) * 4.5f + half(0, 1), y = float(190 - (i / 40) * 12);
                quad = testsupport::Box(x, y - half(6, 10), x + half(0, 6), y);
            } else if (kind < 7 && !placed.empty()) {
                quad = placed[random() % placed.size()];
            } else if (kind < 8) { // a point
                const float x = half(0, 200), y = half(0, 200);
                quad = testsupport::Box(x, y, x, y);
            } else if (kind < 9) { // turned
                const float x = half(0, 200), y = half(0, 200), dx = half(-5, 5), dy = half(-5, 5);
                quad = SL::Quad{
                    {x, y}, {x + dx, y + dy}, {x - dy, y + dx}, {x + dx - dy, y + dy + dx}};
            } else {
                const float far = page == 2 ? 3e38f : 1e20f;
                quad = testsupport::Box(half(0, 200), -far, half(0, 200) + far, half(0, 200));
            }
            placed.push_back(quad);
            testsupport::AddChar(doc.get(), page, L"x", quad);
        }
    }
    CompareOnDocument(doc.get(), "hand-made", 400, 200);
}

} // namespace
