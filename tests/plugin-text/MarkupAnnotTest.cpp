// Text markup annotations: rectangle and opacity, the refusals of
// CreateTextMarkupAnnot, the per-page routine of the tool, and one
// annotation carried all the way into a saved PDF file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"
#include "bl/BLDocument.h"
#include "hostbl/HostBL.h"
#include "vellum-marker/TextMarkupAnnot.h"

namespace {

using testsupport::Box;

TEST(TextMarkupAnnotRect, CapsOnBothSidesThenHalfAUnitAround) {
    const SL::Quad one = Box(10, 20, 16, 30);
    SL::RectF r = TextMarkupAnnotRect(&one, 1);
    EXPECT_FLOAT_EQ(r.x0, 7.5f);
    EXPECT_FLOAT_EQ(r.y0, 19.5f);
    EXPECT_FLOAT_EQ(r.x1, 18.5f);
    EXPECT_FLOAT_EQ(r.y1, 30.5f);

    // A second line below, and a quad whose sides have no length (no caps).
    const SL::Quad three[] = {one, Box(0, 0, 4, 5), SL::Quad{{50, 1}, {60, 1}, {50, 1}, {60, 1}}};
    r = TextMarkupAnnotRect(three, 3);
    EXPECT_FLOAT_EQ(r.x0, -1.5f); // 0 - 0.2 x 5 - 0.5
    EXPECT_FLOAT_EQ(r.y0, -0.5f);
    EXPECT_FLOAT_EQ(r.x1, 60.5f);
    EXPECT_FLOAT_EQ(r.y1, 30.5f);
}

TEST(TextMarkupFillOpacity, FromTheAlphaInHundredths) {
    EXPECT_EQ(TextMarkupFillOpacity(0xFF00FF00u), 1.0f);
    EXPECT_EQ(TextMarkupFillOpacity(0x80123456u), 0.5f);
    EXPECT_EQ(TextMarkupFillOpacity(0x00FFFFFFu), 0.0f);
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

TEST(MarkupOnPdfFile, SavedAnnotationReadsBack) {
    setenv("VELLUM_AUTHOR", "Test Reviewer \U0001F600", 1); // outside the BMP
    const testsupport::TempFolder folder;
    testsupport::WritePdf(
        folder.Path("text.pdf"),
        {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 100, 24, "Hello World"}}}});
    HostBL::ObjectPtr document = HostBL::OpenDocument(folder.Path("text.pdf"));
    HostBL::ObjectPtr view = HostBL::CreateView(document.get(), 400, 300, 1.0f);
    HostBL::SelectText(view.get(), "TextCopy", 0, 0, 0, 5); // "Hello"

    PDAnnot annot = nullptr;
    CreateTextMarkupAnnot(view.get(), 0, kPDAtomHighlight, 0x80FFD700u, &annot);
    ASSERT_NE(annot, nullptr);
    const AnnotOperationArgs args{document.get(), 0, annot};
    ASSERT_TRUE(SODetails::CallChecked<BLDocumentOps::PerformAnnotOperation>(
        document.get(), SODetails::AtomFromString("Annot_Insert"), &args, 0u));
    PDAnnotRelease(annot);
    HostBL::Save(document.get(), folder.Path("saved.pdf"), false);

    const std::string script = "import sys\n"
                               "from pypdf import PdfReader\n"
                               "a = PdfReader(sys.argv[1]).pages[0]['/Annots'][0].get_object()\n"
                               "q = [float(v) for v in a['/QuadPoints']]\n"
                               "print(a['/Subtype'], len(q) % 8, q[0] < q[2], q[1] > q[5])\n"
                               "print([round(float(c), 2) for c in a['/C']], float(a['/CA']))\n"
                               "print(a['/T'])\n";
    EXPECT_EQ(testsupport::RunCommand("/usr/bin/python3 -c " + testsupport::Quote(script) + " " +
                                      testsupport::Quote(folder.Path("saved.pdf")))
                  .out,
              "/Highlight 0 True True\n" // whole quads, upper edge first
              "[1.0, 0.84, 0.0] 0.5\n"
              "Test Reviewer \U0001F600\n");
}

} // namespace
