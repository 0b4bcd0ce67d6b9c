// The page text layer over the document-model library: the checked
// character iterator, result translation and page geometry.
#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "pdmodel-proxy/PDResultToServiceCode.h"
#include "pdmodel-proxy/Page.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/PdfException.h"
#include "service-common/ServiceObjectException.h"

namespace {

using PDModel::PageText;
using testdocs::Box;

PageText Load(PDDocument document, uint64_t index) {
    PDFL::Page page;
    FolioDocumentLoadPage(document, index, page.Receive());
    PageText text;
    PDPageLoadPageText(page.get(), text.Receive());
    return text;
}

template <class F> void ExpectPdfError(F f, uint32_t code, const wchar_t* message) {
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (const PDF::Exception& e) {
        EXPECT_EQ(e.Code(), code);
        EXPECT_EQ(e.Message(), message);
    }
}

class PageTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdocs::AddChar(doc.get(), 1, L"A", Box(10, 20, 16, 30));
        testdocs::AddChar(doc.get(), 1, L"\xFB01", Box(16, 20, 22, 30));
        testdocs::AddChar(doc.get(), 1, L"fi", Box(22, 20, 28, 30));
    }
    testdocs::Document doc = testdocs::InMemory(2);
};

TEST_F(PageTextTest, WalksQuadsAndTextsInOrder) {
    PageText empty = Load(doc.get(), 0);
    EXPECT_TRUE(empty.begin() == empty.end());
    for (const SL::Quad& q : empty.GetRange(0, 0))
        ADD_FAILURE() << q.p0.x;

    PageText text = Load(doc.get(), 1);
    ASSERT_EQ(text.GetNumChars(), 3u);
    std::vector<float> lefts;
    for (const SL::Quad& q : text)
        lefts.push_back(q.p0.x);
    EXPECT_EQ(lefts, (std::vector<float>{10, 16, 22}));
    EXPECT_EQ(text.GetCharUnicode(1), L"\xFB01");
    EXPECT_EQ(text.GetCharUnicode(2), L"fi"); // more than one unit comes back whole
    // A range of two positions in either order starts at the smaller.
    PageText::Range range = text.GetRange(3, 1);
    EXPECT_EQ(range.begin().Index(), 1u);
    EXPECT_EQ(range.size(), 2u);
}

TEST_F(PageTextTest, IteratorChecksItsBounds) {
    PageText text = Load(doc.get(), 1);
    EXPECT_EQ(text.At(3), text.end());
    ExpectPdfError([&] { text.At(4); }, 4, L"Char index is out of range");
    ExpectPdfError([&] { ++text.At(3); }, 2, L"Iterator is not incrementable");
    ExpectPdfError([&] { PageText().begin(); }, 2, L"Invalid parent");
    // Two loads of the same page are two page texts.
    PageText other = Load(doc.get(), 1);
    ExpectPdfError([&] { PageText::Range(text.begin(), other.end()); }, 2,
                   L"Iterators are not compatible");
    ExpectPdfError([&] { text.GetCharQuad(3); }, kPDErrOutOfRange, L"Failed to get a char quad");
}

TEST_F(PageTextTest, IteratorKeepsItsPageTextAlive) {
    PageText text = Load(doc.get(), 1);
    PageText::Iterator it = text.At(2);
    text.Reset();
    EXPECT_EQ((*it).p1.x, 28.0f);
    PageText copy = it.Parent();
    copy = it.Parent(); // assigning the same handle keeps one reference each
    EXPECT_EQ(copy.GetNumChars(), 3u);
}

TEST(PDResultTranslation, TableSpots) {
    EXPECT_EQ(PDResultToServiceCode(0), 0u);
    EXPECT_EQ(PDResultToServiceCode(-1), 14u);
    EXPECT_EQ(PDResultToServiceCode(2), 3u);
    EXPECT_EQ(PDResultToServiceCode(9), 25u);
    EXPECT_EQ(PDResultToServiceCode(10), 25u);
    EXPECT_EQ(PDResultToServiceCode(20), 25u);
    EXPECT_EQ(PDResultToServiceCode(11), 0x30002u);
    EXPECT_EQ(PDResultToServiceCode(12), 0x30004u);
    EXPECT_EQ(PDResultToServiceCode(34), 0x3000eu);
}

TEST(PageGeometry, CropBoxRotationAndFailures) {
    testdocs::Document doc = testdocs::InMemory(0);
    const PDRectF crop{5, 6, 105, 206};
    uint64_t index = 0;
    FolioMemoryAddPage(doc.get(), &crop, 90, &index);
    PDFL::Page page;
    FolioDocumentLoadPage(doc.get(), index, page.Receive());
    EXPECT_EQ(page.GetRotate(), 90);
    const SL::RectF box = page.GetCropBox();
    EXPECT_EQ(box.x0, 5.0f);
    EXPECT_EQ(box.y1, 206.0f);

    try {
        PDFL::Page().GetCropBox();
        ADD_FAILURE() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), 3u); // the library's bad argument, translated
        EXPECT_EQ(e.Message(), L"Unable to acquire a page crop box");
        EXPECT_EQ(e.Function(), "PDFL::Page::GetCropBox");
        EXPECT_EQ(e.File(), "app\\src\\pdmodel-proxy\\page");
        EXPECT_EQ(e.Line(), 54u);
    }
    EXPECT_THROW(PDFL::Page().GetRotate(), ServiceObjectException);
}

} // namespace
