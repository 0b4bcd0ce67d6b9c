// The in-memory backend: pages and characters laid out by the caller, markup
// annotations kept as records, and a small software renderer that draws the
// character outlines and the markups.
#include "Core.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace folio {
namespace {

struct MemoryPage {
    PDRectF crop;
    int32_t rotate;
    std::vector<Char> chars;
    std::vector<Markup> markups;
    bool textDamaged = false;
};

// One undo step: the markups it added, page by page, in order.
struct Step {
    std::vector<std::pair<uint64_t, Markup>> added;
};

// RGBA canvas in shown-page pixels.
class Canvas {
public:
    Canvas(uint8_t* pixels, int32_t width, int32_t height, const float m[6])
        : pixels_(pixels), width_(width), height_(height) {
        std::copy(m, m + 6, m_);
    }

    PDPointF Map(const PDPointF& p) const {
        return {m_[0] * p.x + m_[2] * p.y + m_[4], m_[1] * p.x + m_[3] * p.y + m_[5]};
    }

    // A one-pixel line between two page points.
    void Line(PDPointF a, PDPointF b, const uint8_t rgb[3]) {
        a = Map(a), b = Map(b);
        const float dx = b.x - a.x, dy = b.y - a.y;
        const int steps = std::max(1, int(std::ceil(std::max(std::fabs(dx), std::fabs(dy)))));
        for (int i = 0; i <= steps; ++i) {
            const float t = float(i) / steps;
            Put(int(std::floor(a.x + dx * t)), int(std::floor(a.y + dy * t)), rgb, 1, false);
        }
    }

    // Fills a convex quad (outline p0 p1 p3 p2), sampling pixel centres.
    void Fill(const PDQuadF& q, const uint8_t rgb[3], float opacity, bool multiply) {
        const PDPointF pts[4] = {Map(q.p0), Map(q.p1), Map(q.p3), Map(q.p2)};
        float top = pts[0].y, bottom = pts[0].y;
        for (const PDPointF& p : pts)
            top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        const int y0 = std::max(0, int(std::floor(top))),
                  y1 = std::min(height_ - 1, int(std::ceil(bottom)));
        for (int y = y0; y <= y1; ++y) {
            const float cy = y + 0.5f;
            float left = INFINITY, right = -INFINITY;
            for (int i = 0; i < 4; ++i) {
                const PDPointF& a = pts[i];
                const PDPointF& b = pts[(i + 1) % 4];
                if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy)) {
                    const float x = a.x + (cy - a.y) / (b.y - a.y) * (b.x - a.x);
                    left = std::min(left, x), right = std::max(right, x);
                }
            }
            if (left > right)
                continue;
            const int x0 = std::max(0, int(std::ceil(left - 0.5f)));
            const int x1 = std::min(width_ - 1, int(std::floor(right - 0.5f)));
            for (int x = x0; x <= x1; ++x)
                Put(x, y, rgb, opacity, multiply);
        }
    }

private:
    void Put(int x, int y, const uint8_t rgb[3], float opacity, bool multiply) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        uint8_t* px = pixels_ + (size_t(y) * width_ + x) * 4;
        for (int c = 0; c < 3; ++c) {
            const float src = multiply ? px[c] * rgb[c] / 255.0f : rgb[c];
            px[c] = uint8_t(std::lround(px[c] * (1 - opacity) + src * opacity));
        }
    }

    uint8_t* pixels_;
    int32_t width_, height_;
    float m_[6];
};

class MemoryDocument : public PDDocumentRec {
public:
    uint64_t PageCount() override { return pages_.size(); }

    PDResult CropBox(uint64_t page, PDRectF* box) override {
        *box = pages_.at(page).crop;
        return kPDOk;
    }

    PDResult Rotation(uint64_t page, int32_t* rotate) override {
        *rotate = pages_.at(page).rotate;
        return kPDOk;
    }

    PDResult LoadText(uint64_t page, std::vector<Char>* chars) override {
        if (pages_.at(page).textDamaged)
            return Fail(kPDErrDamaged, "PDPageLoadPageText: the text of page %llu is damaged",
                        (unsigned long long)page);
        *chars = pages_.at(page).chars;
        return kPDOk;
    }

    PDResult Insert(uint64_t page, const Markup& markup) override {
        pending_.added.emplace_back(page, markup);
        pages_.at(page).markups.push_back(markup);
        return kPDOk;
    }

    PDResult CountMarkups(uint64_t page, uint64_t* count) override {
        *count = pages_.at(page).markups.size();
        return kPDOk;
    }

    PDResult ReadMarkup(uint64_t page, uint64_t index, Markup* markup) override {
        const std::vector<Markup>& markups = pages_.at(page).markups;
        if (index >= markups.size())
            return Fail(kPDErrOutOfRange, "FolioPageGetAnnot: annotation %llu of a page with %zu",
                        (unsigned long long)index, markups.size());
        *markup = markups[index];
        markup->color |= 0xFF000000u; // reported as opaque, like a saved /C
        return kPDOk;
    }

    PDResult PageMatrix(uint64_t page, float zoom, float m[6]) override {
        const MemoryPage& p = pages_.at(page);
        DisplayMatrix(p.crop, p.rotate, zoom, m);
        return kPDOk;
    }

    PDResult PageSize(uint64_t page, float zoom, int32_t* width, int32_t* height) override {
        const MemoryPage& p = pages_.at(page);
        if (!DisplaySize(p.crop, p.rotate, zoom, width, height))
            return Fail(kPDErrBadArgument, "FolioPageDisplaySize: zoom %g makes the page too large",
                        zoom);
        return kPDOk;
    }

    PDResult Render(uint64_t page, float zoom, uint8_t** rgba, int32_t* width,
                    int32_t* height) override {
        const MemoryPage& p = pages_.at(page);
        int32_t w = 0, h = 0;
        if (!DisplaySize(p.crop, p.rotate, zoom, &w, &h))
            return Fail(kPDErrBadArgument, "FolioPageRender: zoom %g makes the page too large",
                        zoom);
        uint8_t* pixels = static_cast<uint8_t*>(std::malloc(size_t(w) * h * 4));
        if (!pixels)
            return Fail(kPDErrNoMemory, "FolioPageRender: out of memory");
        std::memset(pixels, 255, size_t(w) * h * 4);
        float m[6];
        DisplayMatrix(p.crop, p.rotate, zoom, m);
        Canvas canvas(pixels, w, h, m);
        for (const Markup& markup : p.markups) {
            const uint8_t rgb[3] = {uint8_t(markup.color >> 16), uint8_t(markup.color >> 8),
                                    uint8_t(markup.color)};
            for (const PDQuadF& q : markup.quads)
                canvas.Fill(MarkedArea(markup.subtype, q), rgb, markup.opacity,
                            markup.subtype == kPDAtomHighlight);
        }
        static const uint8_t grey[3] = {128, 128, 128};
        for (const Char& c : p.chars) {
            const PDQuadF& q = c.quad;
            canvas.Line(q.p0, q.p1, grey);
            canvas.Line(q.p1, q.p3, grey);
            canvas.Line(q.p3, q.p2, grey);
            canvas.Line(q.p2, q.p0, grey);
        }
        *rgba = pixels;
        *width = w;
        *height = h;
        return kPDOk;
    }

    PDResult Write(const FolioWriter&, uint32_t) override {
        return Fail(kPDErrNotAvailable, "cannot write the document: it is an in-memory one");
    }

    PDResult AddPage(const PDRectF& crop, int32_t rotate, uint64_t* index) {
        pages_.push_back(MemoryPage{crop, rotate, {}, {}, false});
        if (index)
            *index = pages_.size() - 1;
        return kPDOk;
    }

    PDResult AddChar(uint64_t page, const wchar_t* text, const PDQuadF& quad) {
        if (page >= pages_.size())
            return Fail(kPDErrOutOfRange, "FolioMemoryAddChar: page %llu of a document of %zu",
                        (unsigned long long)page, pages_.size());
        pages_[page].chars.push_back(Char{text, quad});
        ForgetText(page);
        return kPDOk;
    }

    PDResult DamagePageText(uint64_t page) {
        if (page >= pages_.size())
            return Fail(kPDErrOutOfRange,
                        "FolioMemoryDamagePageText: page %llu of a document of %zu",
                        (unsigned long long)page, pages_.size());
        pages_[page].textDamaged = true;
        ForgetText(page);
        return kPDOk;
    }

protected:
    PDResult OpenStep(const std::string&) override {
        pending_ = Step{};
        return kPDOk;
    }

    void CloseStep() override {
        if (pending_.added.empty())
            return;
        steps_.resize(done_); // a new edit drops what could be redone
        steps_.push_back(std::move(pending_));
        done_ = steps_.size();
    }

    PDResult StepBack() override {
        if (done_ == 0)
            return Fail(kPDErrNothingToUndo, "FolioDocumentUndo: nothing to undo");
        const Step& step = steps_[--done_];
        // The step's markups are the last ones on their pages: later steps are undone.
        for (auto it = step.added.rbegin(); it != step.added.rend(); ++it)
            pages_[it->first].markups.pop_back();
        return kPDOk;
    }

    PDResult StepForward() override {
        if (done_ == steps_.size())
            return Fail(kPDErrNothingToRedo, "FolioDocumentRedo: nothing to redo");
        for (const auto& added : steps_[done_++].added)
            pages_[added.first].markups.push_back(added.second);
        return kPDOk;
    }

    void StepCounts(uint32_t* undo, uint32_t* redo) override {
        *undo = uint32_t(done_);
        *redo = uint32_t(steps_.size() - done_);
    }

private:
    std::vector<MemoryPage> pages_;
    std::vector<Step> steps_;
    Step pending_;    // the step being recorded
    size_t done_ = 0; // steps_[0, done_) are applied
};

} // namespace

PDDocumentRec* NewMemoryDocument() {
    return new MemoryDocument;
}

PDResult MemoryAddPage(PDDocumentRec* document, const PDRectF& crop, int32_t rotate,
                       uint64_t* index) {
    auto* memory = dynamic_cast<MemoryDocument*>(document);
    if (!memory)
        return Fail(kPDErrUnsupported, "FolioMemoryAddPage: not an in-memory document");
    if (rotate != 0 && rotate != 90 && rotate != 180 && rotate != 270)
        return Fail(kPDErrBadArgument, "FolioMemoryAddPage: rotation %d is not 0, 90, 180 or 270",
                    rotate);
    const PDRectF box{std::min(crop.x0, crop.x1), std::min(crop.y0, crop.y1),
                      std::max(crop.x0, crop.x1), std::max(crop.y0, crop.y1)};
    if (!std::isfinite(box.x0) || !std::isfinite(box.y0) || !std::isfinite(box.x1) ||
        !std::isfinite(box.y1) || box.x0 == box.x1 || box.y0 == box.y1)
        return Fail(kPDErrBadArgument, "FolioMemoryAddPage: the crop box is empty");
    return memory->AddPage(box, rotate, index);
}

PDResult MemoryAddChar(PDDocumentRec* document, uint64_t page, const wchar_t* text,
                       const PDQuadF& quad) {
    auto* memory = dynamic_cast<MemoryDocument*>(document);
    if (!memory)
        return Fail(kPDErrUnsupported, "FolioMemoryAddChar: not an in-memory document");
    if (!*text)
        return Fail(kPDErrBadArgument, "FolioMemoryAddChar: the text is empty");
    return memory->AddChar(page, text, quad);
}

PDResult MemoryDamagePageText(PDDocumentRec* document, uint64_t page) {
    auto* memory = dynamic_cast<MemoryDocument*>(document);
    if (!memory)
        return Fail(kPDErrUnsupported, "FolioMemoryDamagePageText: not an in-memory document");
    return memory->DamagePageText(page);
}

} // namespace folio
