// The behaviour both backends share, run on a PDF file and on the same
// content laid out in memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "FolioChecks.h"
#include "TestSupport.h"

using namespace foliotest;
using namespace testsupport;

namespace {

const std::vector<Page> kPages = {
    {{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 20, "Hello World"}, {20, 100, 20, "Fig"}}},
    {{0, 0, 400, 300}, {50, 60, 350, 260}, 90, {{80, 200, 12, "Turned"}}},
    {{0, 0, 100, 100}, {0, 0, 100, 100}, 0, {}},
};

enum class Backend { Memory, Pdf };

class Contract : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        if (GetParam() == Backend::Memory) {
            document_ = BuildInMemory(kPages);
        } else {
            WritePdf(folder_.Path("c.pdf"), kPages);
            PDDocument opened = nullptr;
            ASSERT_EQ(FolioDocumentOpen(folder_.Path("c.pdf").c_str(), &opened), kPDOk);
            document_.reset(opened);
        }
        doc_ = document_.get();
        for (uint64_t i = 0; i < 3; ++i)
            ASSERT_EQ(FolioDocumentLoadPage(doc_, i, &pages_[i]), kPDOk);
    }
    void TearDown() override {
        for (PDPage p : pages_)
            if (p)
                PDPageRelease(p);
    }

    PDResult Add(int page, uint32_t subtype, uint32_t color) {
        return AddMarkup(doc_, pages_[page], subtype, {FolioBox(20, 144, 34.44f, 171.5f)}, color);
    }

    // Annotations per page, then the undo and redo steps: "1 0 0 | 1 0".
    std::string State() {
        std::string s;
        for (PDPage page : pages_)
            s += std::to_string(Got<uint64_t>(FolioPageCountAnnots, page).value_or(99)) + " ";
        return s + "| " + std::to_string(Got<uint32_t>(FolioDocumentCanUndo, doc_).value_or(99)) +
               " " + std::to_string(Got<uint32_t>(FolioDocumentCanRedo, doc_).value_or(99));
    }

    TempFolder folder_;
    Document document_;
    PDDocument doc_ = nullptr;
    PDPage pages_[3] = {};
};

TEST_P(Contract, PagesAndGeometry) {
    EXPECT_EQ(Got<uint64_t>(FolioDocumentGetPageCount, doc_), 3u);
    PDPage page = nullptr;
    EXPECT_EQ(FolioDocumentLoadPage(doc_, 3, &page), kPDErrOutOfRange);
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(Got<uint64_t>(FolioPageGetIndex, pages_[1]), 1u);

    EXPECT_EQ(Str(Got<PDRectF>(PDPageGetCropBox, pages_[1]).value()),
              "(50.00 60.00)(350.00 260.00)");
    EXPECT_EQ(Got<int32_t>(PDPageGetRotate, pages_[1]), 90);
    EXPECT_EQ(PDPageGetCropBox(pages_[1], nullptr), kPDErrBadArgument);

    // Turned a quarter clockwise: the crop box's lower-left is the shown top-left.
    int32_t w = 0, h = 0;
    EXPECT_EQ(FolioPageDisplaySize(pages_[1], 2, &w, &h), kPDOk);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(400, 600));
    float m[6];
    EXPECT_EQ(FolioPageDisplayMatrix(pages_[1], 2, m), kPDOk);
    auto map = [&](float x, float y) {
        return Str(PDPointF{m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]});
    };
    EXPECT_EQ(map(50, 60) + map(350, 260), "(0.00 0.00)(400.00 600.00)");
    EXPECT_EQ(FolioPageDisplayMatrix(pages_[1], 0, m), kPDErrBadArgument);
}

TEST_P(Contract, TextQuadsAndLineFeeds) {
    std::vector<PDQuadF> q;
    EXPECT_EQ(ReadText(pages_[0], &q), L"Hello World\nFig");
    float pen = 20;
    for (size_t i = 0; i < 11; ++i) {
        const float next = pen + Advance("Hello World"[i]) * 20 / 1000;
        EXPECT_EQ(Str(q[i]), Str(FolioBox(pen, 150 + kDescent * 20, next, 150 + kAscent * 20)))
            << i;
        pen = next;
    }
    // The line feed: zero width, at the right end of the line it ends.
    EXPECT_EQ(Str(q[11]), Str(PDQuadF{q[10].p1, q[10].p1, q[10].p3, q[10].p3}));
    EXPECT_EQ(Str(q[12].p2), Str(PDPointF{20, 100 + kDescent * 20}));

    // Text on a turned, cropped page still comes in user space, upright.
    q.clear();
    EXPECT_EQ(ReadText(pages_[1], &q), L"Turned");
    EXPECT_EQ(Str(q[0]), Str(FolioBox(80, 200 + kDescent * 12, 87.33f, 200 + kAscent * 12)));
    EXPECT_EQ(ReadText(pages_[2]), L"");
    if (GetParam() == Backend::Memory) {
        // Text read before is kept; a page whose text changes is read anew.
        const PDQuadF box = FolioBox(10, 10, 20, 20);
        ASSERT_EQ(FolioMemoryAddChar(doc_, 2, L"x", &box), kPDOk);
        EXPECT_EQ(ReadText(pages_[2]), L"x");
    }

    const PDPageText text = Got<PDPageText>(PDPageLoadPageText, pages_[0]).value();
    EXPECT_EQ(Got<uint64_t>(PDPageTextGetCharUnicode, text, 0, nullptr, 0), 1u);
    uint64_t len = 0;
    wchar_t buf[4];
    PDQuadF quad;
    EXPECT_EQ(PDPageTextGetCharUnicode(text, 15, buf, 4, &len), kPDErrOutOfRange);
    EXPECT_EQ(PDPageTextGetCharQuad(text, 15, &quad), kPDErrOutOfRange);
    EXPECT_EQ(PDPageTextGetCharQuad(text, 0, nullptr), kPDErrBadArgument);
    PDPageTextRelease(text);
}

TEST_P(Contract, AnnotationsAreCheckedCreatedAndListed) {
    const std::vector<PDQuadF> quads = {FolioBox(20, 144, 34.44f, 171.5f),
                                        FolioBox(40, 140, 40, 170), FolioBox(40, 144, 80, 171.5f)};
    PDTextMarkupAnnotParams params{
        {14, 138, 86, 178}, quads.data(), quads.size(), 0x80FFEA3B, 0, L""};
    PDAnnot annot = nullptr;
    EXPECT_EQ(PDAnnotCreate(doc_, 999, &params, &annot), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotCreate(doc_, kPDAtomHighlight, nullptr, &annot), kPDErrBadArgument);
    params.count = 0;
    EXPECT_EQ(PDAnnotCreate(doc_, kPDAtomHighlight, &params, &annot), kPDErrBadArgument);
    params.count = 3;
    ASSERT_EQ(PDAnnotCreate(doc_, kPDAtomHighlight, &params, &annot), kPDOk);
    EXPECT_EQ(PDAnnotSetFillOpacity(annot, 1.5f), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotSetFillOpacity(annot, 0.5f), kPDOk);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], annot), kPDOk);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], annot), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotRelease(annot), kPDOk);
    EXPECT_EQ(State(), "1 0 0 | 1 0");

    FolioAnnotInfo info;
    PDQuadF got[3] = {};
    ASSERT_EQ(FolioPageGetAnnot(pages_[0], 0, &info, got, 1), kPDOk);
    // The zero-area quad is dropped.
    EXPECT_EQ(std::tie(info.subtype, info.color, info.opacity, info.quadCount),
              std::make_tuple(uint32_t(kPDAtomHighlight), 0xFFFFEA3Bu, 0.5f, uint64_t(2)));
    EXPECT_EQ(Str(info.rect), "(14.00 138.00)(86.00 178.00)");
    EXPECT_EQ(Str(got[0]), Str(quads[0]));
    EXPECT_EQ(got[1].p0.x, 0); // only `size` quads are written
    EXPECT_EQ(FolioPageGetAnnot(pages_[0], 1, &info, nullptr, 0), kPDErrOutOfRange);

    // A page of another document takes no annotation of this one.
    EXPECT_EQ(AddMarkup(InMemory(0).get(), pages_[0], kPDAtomUnderline, quads, 0),
              kPDErrBadArgument);
}

TEST_P(Contract, EditGroupsAreUndoSteps) {
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDErrNothingToUndo);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDErrBadArgument);
    EXPECT_EQ(Add(0, kPDAtomUnderline, 0xFF0000FF), kPDOk); // a step of its own
    ASSERT_EQ(FolioDocumentBeginEdit(doc_, "Markup"), kPDOk);
    ASSERT_EQ(FolioDocumentBeginEdit(doc_, "inner"), kPDOk);
    EXPECT_EQ(Add(0, kPDAtomStrikeOut, 0), kPDOk);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDOk);
    EXPECT_EQ(Add(1, kPDAtomHighlight, 0), kPDOk);
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDErrEditOpen);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDOk);
    EXPECT_EQ(State(), "2 1 0 | 2 0");

    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk); // the whole group goes
    EXPECT_EQ(State(), "1 0 0 | 1 1");
    FolioAnnotInfo info;
    EXPECT_EQ(FolioPageGetAnnot(pages_[0], 0, &info, nullptr, 0), kPDOk);
    EXPECT_EQ(info.subtype, uint32_t(kPDAtomUnderline));
    EXPECT_EQ(info.color, 0xFF0000FFu);
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk);
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDErrNothingToUndo);
    EXPECT_EQ(State(), "0 0 0 | 0 2");
    EXPECT_EQ(FolioDocumentRedo(doc_), kPDOk);
    EXPECT_EQ(FolioDocumentRedo(doc_), kPDOk);
    EXPECT_EQ(FolioDocumentRedo(doc_), kPDErrNothingToRedo);
    EXPECT_EQ(State(), "2 1 0 | 2 0");

    // A new edit after an undo drops what could have been redone.
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk);
    EXPECT_EQ(Add(2, kPDAtomHighlight, 0), kPDOk);
    EXPECT_EQ(State(), "1 0 1 | 2 0");

    // A group that changes nothing is no step, nor is drawing or reading a page.
    ASSERT_EQ(FolioDocumentBeginEdit(doc_, "Markup"), kPDOk);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDOk);
    uint8_t* rgba = nullptr;
    int32_t w = 0, h = 0;
    ASSERT_EQ(FolioPageRender(pages_[0], 1, &rgba, &w, &h), kPDOk);
    FolioFreeBuffer(rgba);
    ReadText(pages_[1]);
    EXPECT_EQ(State(), "1 0 1 | 2 0");
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk);
    EXPECT_EQ(State(), "1 0 0 | 1 1");
}

TEST_P(Contract, RenderingShowsMarkupsWhereTheMatrixSays) {
    // A highlight over the "T" of the turned page, drawn at twice the size.
    const float w = 611 * 12 / 1000.f;
    ASSERT_EQ(AddMarkup(doc_, pages_[1], kPDAtomHighlight,
                        {FolioBox(80, 200 + kDescent * 12, 80 + w, 200 + kAscent * 12)},
                        0xFF2040FF),
              kPDOk);
    uint8_t* rgba = nullptr;
    int32_t width = 0, height = 0;
    float m[6];
    ASSERT_EQ(FolioPageRender(pages_[1], 2, &rgba, &width, &height), kPDOk);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(400, 600)); // the display size
    FolioPageDisplayMatrix(pages_[1], 2, m);
    auto is = [&](float x, float y, int r, int g, int b) {
        const int px = int(m[0] * x + m[2] * y + m[4]), py = int(m[1] * x + m[3] * y + m[5]);
        const uint8_t* p = rgba + (size_t(py) * width + px) * 4;
        return std::abs(p[0] - r) <= 2 && std::abs(p[1] - g) <= 2 && std::abs(p[2] - b) <= 2 &&
               p[3] == 255;
    };
    // Between the top of the glyph and the top of the quad there is no ink.
    EXPECT_TRUE(is(80 + w / 2, 200 + 0.95f * 12, 0x20, 0x40, 0xFF));
    EXPECT_TRUE(is(80 + w / 2, 200 + 2.0f * 12, 255, 255, 255));
    FolioFreeBuffer(rgba);
}

TEST_P(Contract, RenderingIntoAnImageWritesTheVisiblePartOfThePageOnly) {
    uint8_t* page = nullptr;
    int32_t w = 0, h = 0;
    ASSERT_EQ(FolioPageRender(pages_[0], 1, &page, &w, &h), kPDOk);
    // The page hangs over the image's left and bottom edges.
    const int32_t width = w, height = h / 2, left = -7, top = height / 2;
    std::vector<uint8_t> image(size_t(width) * height * 4, 0x11);
    ASSERT_EQ(FolioPageRenderInto(pages_[0], 1, image.data(), width, height, left, top), kPDOk);
    for (size_t i = 0; i < image.size(); ++i) {
        const int32_t x = int32_t(i / 4 % width), y = int32_t(i / 4 / width);
        const int32_t px = x - left, py = y - top;
        const bool onPage = px >= 0 && px < w && py >= 0 && py < h;
        ASSERT_EQ(image[i], onPage ? page[(size_t(py) * w + px) * 4 + i % 4] : 0x11)
            << x << "," << y;
    }
    FolioFreeBuffer(page);
    EXPECT_EQ(FolioPageRenderInto(pages_[0], 1, nullptr, 1, 1, 0, 0), kPDErrBadArgument);
    EXPECT_EQ(FolioPageRenderInto(pages_[0], 1, image.data(), width, height, width, 0), kPDOk);
}

INSTANTIATE_TEST_SUITE_P(Backends, Contract, ::testing::Values(Backend::Memory, Backend::Pdf),
                         [](const auto& info) {
                             return info.param == Backend::Memory ? "Memory" : "Pdf";
                         });

} // namespace
