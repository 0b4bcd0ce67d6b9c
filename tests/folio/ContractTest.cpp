// The behaviour both backends share, run on a PDF file and on the same
// content laid out in memory.
#include "TestPdf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace testpdf;

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
            doc_ = BuildInMemory(kPages);
        } else {
            dir_ = TempDir();
            WritePdf(dir_ + "/c.pdf", kPages);
            ASSERT_EQ(FolioDocumentOpen((dir_ + "/c.pdf").c_str(), &doc_), kPDOk)
                << FolioLastErrorMessage();
        }
        for (uint64_t i = 0; i < 3; ++i)
            ASSERT_EQ(FolioDocumentLoadPage(doc_, i, &pages_[i]), kPDOk);
    }
    void TearDown() override {
        for (PDPage p : pages_)
            if (p)
                PDPageRelease(p);
        if (doc_)
            FolioDocumentRelease(doc_);
        if (!dir_.empty())
            std::system(("rm -rf " + dir_).c_str());
    }

    std::wstring Text(PDPage page, std::vector<PDQuadF>* quads = nullptr) {
        PDPageText text = nullptr;
        EXPECT_EQ(PDPageLoadPageText(page, &text), kPDOk);
        uint64_t n = 0, len = 0;
        PDPageTextGetNumChars(text, &n);
        std::wstring s;
        for (uint64_t i = 0; i < n; ++i) {
            wchar_t buf[8];
            EXPECT_EQ(PDPageTextGetCharUnicode(text, i, buf, 8, &len), kPDOk);
            s.append(buf, len);
            PDQuadF q;
            PDPageTextGetCharQuad(text, i, &q);
            if (quads)
                quads->push_back(q);
        }
        PDPageTextRelease(text);
        return s;
    }

    PDAnnot Markup(uint32_t subtype, const std::vector<PDQuadF>& quads, uint32_t color) {
        PDRectF r{1e9, 1e9, -1e9, -1e9};
        for (const PDQuadF& q : quads)
            for (const PDPointF& p : {q.p0, q.p1, q.p2, q.p3})
                r = {std::min(r.x0, p.x - 1), std::min(r.y0, p.y - 1), std::max(r.x1, p.x + 1),
                     std::max(r.y1, p.y + 1)};
        PDTextMarkupAnnotParams params{r, quads.data(), quads.size(), color, 0, L"Ann"};
        PDAnnot annot = nullptr;
        EXPECT_EQ(PDAnnotCreate(doc_, subtype, &params, &annot), kPDOk);
        return annot;
    }

    uint64_t Count(int page) {
        uint64_t n = 99;
        EXPECT_EQ(FolioPageCountAnnots(pages_[page], &n), kPDOk);
        return n;
    }

    PDDocument doc_ = nullptr;
    PDPage pages_[3] = {};
    std::string dir_;
};

// The quad of a glyph box in user space, upright.
PDQuadF Box(float x0, float y0, float x1, float y1) {
    return {{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}};
}

TEST_P(Contract, PagesAndGeometry) {
    uint64_t count = 0, index = 0;
    EXPECT_EQ(FolioDocumentGetPageCount(doc_, &count), kPDOk);
    EXPECT_EQ(count, 3u);
    PDPage page = nullptr;
    EXPECT_EQ(FolioDocumentLoadPage(doc_, 3, &page), kPDErrOutOfRange);
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(FolioDocumentLoadPage(doc_, 0, nullptr), kPDErrBadArgument);
    EXPECT_EQ(FolioPageGetIndex(pages_[1], &index), kPDOk);
    EXPECT_EQ(index, 1u);

    PDRectF box;
    int32_t rotate = -1, w = 0, h = 0;
    EXPECT_EQ(PDPageGetCropBox(pages_[1], &box), kPDOk);
    EXPECT_EQ(box.x0, 50);
    EXPECT_EQ(box.y0, 60);
    EXPECT_EQ(box.x1, 350);
    EXPECT_EQ(box.y1, 260);
    EXPECT_EQ(PDPageGetRotate(pages_[1], &rotate), kPDOk);
    EXPECT_EQ(rotate, 90);
    EXPECT_EQ(PDPageGetCropBox(pages_[1], nullptr), kPDErrBadArgument);

    // Turned a quarter clockwise: the crop box's lower-left is the shown top-left.
    EXPECT_EQ(FolioPageDisplaySize(pages_[1], 2, &w, &h), kPDOk);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 600);
    float m[6];
    EXPECT_EQ(FolioPageDisplayMatrix(pages_[1], 2, m), kPDOk);
    auto map = [&](float x, float y) {
        return std::make_pair(m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]);
    };
    EXPECT_EQ(map(50, 60), std::make_pair(0.f, 0.f));
    EXPECT_EQ(map(350, 260), std::make_pair(400.f, 600.f));
    EXPECT_EQ(FolioPageDisplayMatrix(pages_[1], 0, m), kPDErrBadArgument);
}

TEST_P(Contract, TextQuadsAndLineFeeds) {
    std::vector<PDQuadF> q;
    EXPECT_EQ(Text(pages_[0], &q), L"Hello World\nFig");
    float pen = 20;
    for (size_t i = 0; i < 11; ++i) {
        const float next = pen + Advance("Hello World"[i]) * 20 / 1000;
        EXPECT_NEAR(q[i].p0.x, pen, 0.01) << i;
        EXPECT_NEAR(q[i].p2.x, pen, 0.01) << i;
        EXPECT_NEAR(q[i].p1.x, next, 0.01) << i;
        EXPECT_NEAR(q[i].p3.x, next, 0.01) << i;
        EXPECT_EQ(q[i].p0.y, q[i].p1.y);
        EXPECT_LT(q[i].p2.y, 150);
        EXPECT_GT(q[i].p0.y, 150 + 0.7 * 20); // above the cap height
        pen = next;
    }
    // The line feed: zero width, at the right end of the line it ends.
    EXPECT_EQ(q[11].p0.x, q[10].p1.x);
    EXPECT_EQ(q[11].p0.y, q[10].p1.y);
    EXPECT_EQ(q[11].p1.x, q[10].p1.x);
    EXPECT_EQ(q[11].p1.y, q[10].p1.y);
    EXPECT_EQ(q[11].p2.x, q[10].p3.x);
    EXPECT_EQ(q[11].p2.y, q[10].p3.y);
    EXPECT_EQ(q[11].p3.x, q[10].p3.x);
    EXPECT_EQ(q[11].p3.y, q[10].p3.y);
    EXPECT_NEAR(q[12].p2.x, 20, 0.01);
    EXPECT_LT(q[12].p2.y, 100);

    // Text on a turned, cropped page still comes in user space, upright.
    q.clear();
    EXPECT_EQ(Text(pages_[1], &q), L"Turned");
    EXPECT_NEAR(q[0].p2.x, 80, 0.01);
    EXPECT_NEAR(q[0].p3.x, 80 + 611 * 12 / 1000.f, 0.01);
    EXPECT_LT(q[0].p2.y, 200);
    EXPECT_GT(q[0].p0.y, 200 + 0.7 * 12);
    EXPECT_EQ(Text(pages_[2]), L"");

    PDPageText text = nullptr;
    ASSERT_EQ(PDPageLoadPageText(pages_[0], &text), kPDOk);
    uint64_t len = 0;
    wchar_t buf[4];
    PDQuadF quad;
    EXPECT_EQ(PDPageTextGetCharUnicode(text, 0, nullptr, 0, &len), kPDOk);
    EXPECT_EQ(len, 1u);
    EXPECT_EQ(PDPageTextGetCharUnicode(text, 15, buf, 4, &len), kPDErrOutOfRange);
    EXPECT_EQ(PDPageTextGetCharQuad(text, 15, &quad), kPDErrOutOfRange);
    EXPECT_EQ(PDPageTextGetCharQuad(text, 0, nullptr), kPDErrBadArgument);
    EXPECT_EQ(PDPageTextGetNumChars(nullptr, &len), kPDErrBadArgument);
    EXPECT_EQ(PDPageTextAcquire(text), kPDOk);
    EXPECT_EQ(PDPageTextRelease(text), kPDOk);
    EXPECT_EQ(PDPageTextRelease(text), kPDOk);
}

TEST_P(Contract, AnnotationsAreCheckedCreatedAndListed) {
    const std::vector<PDQuadF> quads = {Box(20, 144, 34.44f, 171.5f), Box(40, 140, 40, 170),
                                        Box(40, 144, 80, 171.5f)};
    PDTextMarkupAnnotParams params{
        {14, 138, 86, 178}, quads.data(), quads.size(), 0x80FFEA3B, 0, L""};
    PDAnnot annot = nullptr;
    EXPECT_EQ(PDAnnotCreate(doc_, 999, &params, &annot), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotCreate(doc_, kPDAtomHighlight, nullptr, &annot), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotCreate(nullptr, kPDAtomHighlight, &params, &annot), kPDErrBadArgument);
    params.count = 0;
    EXPECT_EQ(PDAnnotCreate(doc_, kPDAtomHighlight, &params, &annot), kPDErrBadArgument);
    params.count = 3;
    ASSERT_EQ(PDAnnotCreate(doc_, kPDAtomHighlight, &params, &annot), kPDOk);
    EXPECT_EQ(PDAnnotSetFillOpacity(annot, 1.5f), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotSetFillOpacity(annot, 0.5f), kPDOk);

    EXPECT_EQ(Count(0), 0u);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], annot), kPDOk);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], annot), kPDErrBadArgument);
    EXPECT_EQ(PDAnnotRelease(annot), kPDOk);
    EXPECT_EQ(Count(0), 1u);
    EXPECT_EQ(Count(1), 0u);

    FolioAnnotInfo info;
    PDQuadF got[3] = {};
    ASSERT_EQ(FolioPageGetAnnot(pages_[0], 0, &info, got, 1), kPDOk);
    EXPECT_EQ(info.subtype, uint32_t(kPDAtomHighlight));
    EXPECT_EQ(info.color, 0xFFFFEA3Bu);
    EXPECT_FLOAT_EQ(info.opacity, 0.5f);
    EXPECT_EQ(info.rect.x0, 14);
    EXPECT_EQ(info.rect.y1, 178);
    EXPECT_EQ(info.quadCount, 2u); // the zero-area quad is dropped
    EXPECT_EQ(got[0].p0.x, 20);
    EXPECT_EQ(got[0].p0.y, 171.5f);
    EXPECT_EQ(got[0].p3.x, 34.44f);
    EXPECT_EQ(got[0].p3.y, 144);
    EXPECT_EQ(got[1].p0.x, 0); // only `size` quads are written
    EXPECT_EQ(FolioPageGetAnnot(pages_[0], 1, &info, nullptr, 0), kPDErrOutOfRange);

    PDAnnot other = nullptr;
    PDDocument second = nullptr;
    FolioDocumentNewInMemory(&second);
    ASSERT_EQ(PDAnnotCreate(second, kPDAtomUnderline, &params, &other), kPDOk);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], other), kPDErrBadArgument);
    PDAnnotRelease(other);
    FolioDocumentRelease(second);
}

TEST_P(Contract, EditGroupsAreUndoSteps) {
    const std::vector<PDQuadF> q = {Box(20, 144, 34.44f, 171.5f)};
    uint32_t undo = 9, redo = 9;
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDErrNothingToUndo);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDErrBadArgument);

    PDAnnot a = Markup(kPDAtomUnderline, q, 0xFF0000FF);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], a), kPDOk); // a step of its own
    ASSERT_EQ(FolioDocumentBeginEdit(doc_, "Markup"), kPDOk);
    ASSERT_EQ(FolioDocumentBeginEdit(doc_, "inner"), kPDOk);
    PDAnnot b = Markup(kPDAtomStrikeOut, q, 0xFF00FF00), c = Markup(kPDAtomHighlight, q, 0);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[0], b), kPDOk);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDOk);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[1], c), kPDOk);
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDErrEditOpen);
    EXPECT_EQ(FolioDocumentEndEdit(doc_), kPDOk);
    EXPECT_EQ(FolioDocumentCanUndo(doc_, &undo), kPDOk);
    EXPECT_EQ(FolioDocumentCanRedo(doc_, &redo), kPDOk);
    EXPECT_EQ(undo, 2u);
    EXPECT_EQ(redo, 0u);
    EXPECT_EQ(Count(0), 2u);
    EXPECT_EQ(Count(1), 1u);

    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk); // the whole group goes
    EXPECT_EQ(Count(0), 1u);
    EXPECT_EQ(Count(1), 0u);
    FolioAnnotInfo info;
    EXPECT_EQ(FolioPageGetAnnot(pages_[0], 0, &info, nullptr, 0), kPDOk);
    EXPECT_EQ(info.subtype, uint32_t(kPDAtomUnderline));
    EXPECT_EQ(info.color, 0xFF0000FFu);
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk);
    EXPECT_EQ(Count(0), 0u);
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDErrNothingToUndo);
    FolioDocumentCanRedo(doc_, &redo);
    EXPECT_EQ(redo, 2u);
    EXPECT_EQ(FolioDocumentRedo(doc_), kPDOk);
    EXPECT_EQ(FolioDocumentRedo(doc_), kPDOk);
    EXPECT_EQ(Count(0), 2u);
    EXPECT_EQ(Count(1), 1u);
    EXPECT_EQ(FolioDocumentRedo(doc_), kPDErrNothingToRedo);

    // A new edit after an undo drops what could have been redone.
    EXPECT_EQ(FolioDocumentUndo(doc_), kPDOk);
    PDAnnot d = Markup(kPDAtomHighlight, q, 0);
    EXPECT_EQ(FolioPageInsertAnnot(pages_[2], d), kPDOk);
    FolioDocumentCanUndo(doc_, &undo);
    FolioDocumentCanRedo(doc_, &redo);
    EXPECT_EQ(undo, 2u);
    EXPECT_EQ(redo, 0u);
    for (PDAnnot x : {a, b, c, d})
        PDAnnotRelease(x);
}

TEST_P(Contract, RenderingShowsMarkupsWhereTheMatrixSays) {
    // A highlight over the "T" of the turned page, drawn at twice the size.
    const float w = 611 * 12 / 1000.f;
    const std::vector<PDQuadF> q = {Box(80, 200 + kDescent * 12, 80 + w, 200 + kAscent * 12)};
    PDAnnot annot = Markup(kPDAtomHighlight, q, 0xFF2040FF);
    ASSERT_EQ(FolioPageInsertAnnot(pages_[1], annot), kPDOk);
    PDAnnotRelease(annot);

    uint8_t* rgba = nullptr;
    int32_t width = 0, height = 0, sw = 0, sh = 0;
    float m[6];
    ASSERT_EQ(FolioPageRender(pages_[1], 2, &rgba, &width, &height), kPDOk);
    FolioPageDisplaySize(pages_[1], 2, &sw, &sh);
    EXPECT_EQ(width, sw);
    EXPECT_EQ(height, sh);
    FolioPageDisplayMatrix(pages_[1], 2, m);
    auto pixel = [&](float x, float y) {
        const int px = int(m[0] * x + m[2] * y + m[4]), py = int(m[1] * x + m[3] * y + m[5]);
        const uint8_t* p = rgba + (size_t(py) * width + px) * 4;
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    auto near = [](std::vector<int> got, std::vector<int> want) {
        for (size_t i = 0; i < 4; ++i)
            if (std::abs(got[i] - want[i]) > 2)
                return false;
        return true;
    };
    // Between the top of the glyph and the top of the quad there is no ink.
    EXPECT_TRUE(near(pixel(80 + w / 2, 200 + 0.95f * 12), {0x20, 0x40, 0xFF, 255}));
    EXPECT_TRUE(near(pixel(80 + w / 2, 200 + 2.0f * 12), {255, 255, 255, 255}));
    FolioFreeBuffer(rgba);
}

INSTANTIATE_TEST_SUITE_P(Backends, Contract, ::testing::Values(Backend::Memory, Backend::Pdf),
                         [](const auto& info) {
                             return info.param == Backend::Memory ? "Memory" : "Pdf";
                         });

TEST(FolioAtoms, FixedForMarkupsStableForOthers) {
    uint32_t a = 0, b = 0;
    const char* name = nullptr;
    EXPECT_EQ(PDAtomPutString("Highlight", &a), kPDOk);
    EXPECT_EQ(a, 236u);
    EXPECT_EQ(PDAtomPutString("StrikeOut", &a), kPDOk);
    EXPECT_EQ(a, 481u);
    EXPECT_EQ(PDAtomPutString("Underline", &a), kPDOk);
    EXPECT_EQ(a, 535u);
    EXPECT_EQ(PDAtomPutString("Squiggly", &a), kPDOk);
    EXPECT_EQ(PDAtomPutString("Squiggly", &b), kPDOk);
    EXPECT_EQ(a, b);
    EXPECT_GT(a, 1000u);
    EXPECT_EQ(PDAtomGetString(a, &name), kPDOk);
    EXPECT_STREQ(name, "Squiggly");
    EXPECT_EQ(PDAtomGetString(7, &name), kPDErrBadArgument);
    EXPECT_EQ(PDAtomPutString("", &a), kPDErrBadArgument);
}

} // namespace
