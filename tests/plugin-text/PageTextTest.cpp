// The page text layer over the document-model library: the checked
// character iterator and the translation of library results.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pdmodel-proxy/Page.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/PDResultToServiceCode.h"
#include "service-common/PdfException.h"
#include "service-common/ServiceObjectException.h"

namespace {

using PDModel::PageText;
using testsupport::Box;

class PageTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::AddChar(doc.get(), 1, L"A", Box(10, 20, 16, 30));
        testsupport::AddChar(doc.get(), 1, L"\xFB01", Box(16, 20, 22, 30));
        testsupport::AddChar(doc.get(), 1, L"fi", Box(22, 20, 28, 30));
    }

    PageText Load(uint64_t index) {
        PDFL::Page page;
        FolioDocumentLoadPage(doc.get(), index, page.Receive());
        PageText text;
        PDPageLoadPageText(page.get(), text.Receive());
        return text;
    }

    template <class F> static void ExpectError(F f, uint32_t code, const wchar_t* message) {
        try {
            f();
            ADD_FAILURE() << "no exception";
        } catch (const PDF::Exception& e) {
            EXPECT_EQ(e.Code(), code);
            EXPECT_EQ(e.Message(), message);
        }
    }

    testsupport::Document doc = testsupport::InMemory(2);
};

TEST_F(PageTextTest, WalksCharactersInOrderWithinItsBoundsAndKeepsItsPageTextAlive) {
    PageText empty = Load(0);
    EXPECT_TRUE(empty.begin() == empty.end());
    for (const SL::Quad& q : empty.GetRange(0, 0))
        ADD_FAILURE() << q.p0.x;

    PageText text = Load(1);
    std::vector<float> lefts;
    for (const SL::Quad& q : text)
        lefts.push_back(q.p0.x);
    EXPECT_EQ(lefts, (std::vector<float>{10, 16, 22}));
    EXPECT_EQ(text.GetCharUnicode(2), L"fi");          // more than one unit comes back whole
    const PageText::Range range = text.GetRange(3, 1); // either order
    EXPECT_EQ(range.begin().Index(), 1u);
    EXPECT_EQ(range.size(), 2u);

    // The iterator checks its bounds and keeps its page text alive.
    EXPECT_EQ(text.At(3), text.end());
    ExpectError([&] { text.At(4); }, 4, L"Char index is out of range");
    ExpectError([&] { ++text.At(3); }, 2, L"Iterator is not incrementable");
    ExpectError([&] { PageText().begin(); }, 2, L"Invalid parent");
    ExpectError([&] { PageText::Range(text.begin(), empty.end()); }, 2,
                L"Iterators are not compatible");

    PageText::Iterator it = text.At(2);
    text = empty;
    EXPECT_EQ((*it).p1.x, 28.0f);
}

// The page reports the library's refusal under the service code the
// library's result translates to; results the translation does not list
// become one code of their own.
TEST(PageTest, LibraryFailuresBecomeServiceFailures) {
    try {
        PDFL::Page().GetCropBox();
        ADD_FAILURE() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), SODetails::kBadArgument);
        EXPECT_EQ(e.Message(), L"Unable to acquire a page crop box");
        EXPECT_EQ(e.Function(), "PDFL::Page::GetCropBox");
    }
    EXPECT_EQ(PDResultToServiceCode(kPDErrCannotOpen), SODetails::kDocumentCannotOpen);
    EXPECT_EQ(PDResultToServiceCode(20), SODetails::kUnknownLibraryResult);
}

} // namespace
