// Text markup annotations: the rectangle and the refusals of
// CreateTextMarkupAnnot. (The opacity from the colour's alpha is checked in
// the annotations saved to PDF files.)
#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "bl/BLDocument.h"
#include "hostbl/HostBL.h"
#include "vellum-marker/TextMarkupAnnot.h"

namespace {

using testsupport::Box;

std::vector<float> Corners(const SL::RectF& r) {
    return {r.x0, r.y0, r.x1, r.y1};
}

TEST(TextMarkupAnnotRect, CapsOnBothSidesThenHalfAUnitAround) {
    const SL::Quad one = Box(10, 20, 16, 30);
    EXPECT_EQ(Corners(TextMarkupAnnotRect(&one, 1)),
              (std::vector<float>{7.5f, 19.5f, 18.5f, 30.5f}));
    // A second line below (0 - 0.2 x 5 - 0.5 on the left), and a quad whose
    // sides have no length (no caps).
    const SL::Quad three[] = {one, Box(0, 0, 4, 5), SL::Quad{{50, 1}, {60, 1}, {50, 1}, {60, 1}}};
    EXPECT_EQ(Corners(TextMarkupAnnotRect(three, 3)),
              (std::vector<float>{-1.5f, -0.5f, 60.5f, 30.5f}));
}

class MarkupTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::AddChar(doc.get(), 1, L"A", Box(10, 20, 16, 30));
        testsupport::AddChar(doc.get(), 1, L"B", Box(16, 20, 22, 30));
    }

    testsupport::Document doc = testsupport::InMemory(2);
    HostBL::ObjectPtr document = HostBL::WrapDocument(doc.get());
    HostBL::ObjectPtr view = HostBL::CreateView(document.get(), 400, 400, 1.0f);
};

TEST_F(MarkupTest, CreatesFromTextSelectionsOnly) {
    const PDAnnot untouched = reinterpret_cast<PDAnnot>(0x1);
    auto attempt = [&](const char* tool, uint64_t page, uint32_t subtype, ServiceObject* v) {
        HostBL::SelectText(view.get(), tool, 0, 0, 1, 2);
        PDAnnot out = untouched;
        CreateTextMarkupAnnot(v, page, subtype, 0xFF0000FFu, &out);
        return out;
    };
    EXPECT_EQ(attempt("Rectangle", 1, kPDAtomHighlight, view.get()), untouched);
    EXPECT_EQ(attempt("TextEdit", 0, kPDAtomHighlight, view.get()), untouched); // no quads
    EXPECT_EQ(attempt("TextEdit", ~0ull, kPDAtomHighlight, view.get()), untouched);
    EXPECT_EQ(attempt("TextEdit", 1, kNoMarkupKind, view.get()), untouched);
    EXPECT_EQ(attempt("TextEdit", 1, kPDAtomHighlight, nullptr), untouched);
    EXPECT_EQ(attempt("TextEdit", 1, 12345, view.get()), untouched); // the library refuses

    for (const char* tool : {"TextEdit", "TextCopy"}) {
        PDAnnot annot = attempt(tool, 1, kPDAtomUnderline, view.get());
        EXPECT_NE(annot, untouched);
        EXPECT_NE(annot, nullptr);
        if (annot != untouched && annot)
            PDAnnotRelease(annot);
    }
}

} // namespace
