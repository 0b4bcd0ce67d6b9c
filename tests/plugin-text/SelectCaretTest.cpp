// Character hit testing and the page-text cache of the selection caret, on
// in-memory pages with characters placed by hand. The fake view maps device
// points onto page 0 at a tenth of their size, so device (135, 300) is the
// page point (13.5, 30).
#include <gtest/gtest.h>

// GCC 12 takes an optional inside the signal's slot groups for uninitialised
// when sanitizers are on.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "Fakes.h"
#include "TestDocuments.h"
#include "bl/internal/SelectCaret.h"
#include "service-common/ServiceObjectException.h"

namespace {

using BL::TextPosition;
using testdocs::Box;

class SelectCaretTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdocs::AddChar(doc.get(), 0, L"A", Box(10, 20, 16, 30)); // 0
        testdocs::AddChar(doc.get(), 0, L"B", Box(18, 20, 24, 30)); // 1: a gap of 2 after A
        testdocs::AddChar(doc.get(), 0, L"C", Box(40, 20, 50, 30)); // 2
        testdocs::AddChar(doc.get(), 0, L"D", Box(45, 20, 55, 30)); // 3: overlaps C
        // 4: a diamond around (80, 25)
        testdocs::AddChar(doc.get(), 0, L"E", SL::Quad{{80, 30}, {85, 25}, {75, 25}, {80, 20}});
    }

    // The character under the page point (x, y), or none.
    std::optional<uint64_t> Hit(float x, float y) {
        TextPosition hit{99, 99};
        const SL::PointI device{static_cast<int32_t>(x * 10), static_cast<int32_t>(y * 10)};
        if (!caret.HitTestChar(view.get(), device, &hit))
            return std::nullopt;
        EXPECT_EQ(hit.page, 0u);
        return hit.index;
    }

    TextPosition Nearest(float x, float y, SL::RectF rect) {
        TextPosition out{77, 77};
        caret.FindNearestChar(0, SL::PointF{x, y}, rect, &out);
        return out;
    }

    testdocs::Document doc = testdocs::InMemory(2);
    fakes::ObjectPtr document = fakes::Document::Make(doc.get());
    fakes::ObjectPtr view = fakes::View::Make(document);
    BL::SelectCaret caret{document.get()};
};

TEST_F(SelectCaretTest, HitsOutlinesVerticesAndTheLowerOfOverlappingCharacters) {
    EXPECT_EQ(Hit(13, 25), 0u);
    EXPECT_EQ(Hit(13, 30), 0u); // on the top edge, where the ray test alone misses
    EXPECT_EQ(Hit(16, 30), 0u); // on a vertex
    EXPECT_EQ(Hit(10, 20), 0u);
    EXPECT_EQ(Hit(17, 25), std::nullopt); // between A and B
    EXPECT_EQ(Hit(47, 25), 2u);           // C and D overlap: C comes first
    EXPECT_EQ(Hit(52, 25), 3u);
    EXPECT_EQ(Hit(80, 25), 4u);
    EXPECT_EQ(Hit(82.5, 27.5), 4u);       // on the diamond's edge
    EXPECT_EQ(Hit(76, 29), std::nullopt); // inside its box, outside the diamond

    TextPosition untouched{5, 6};
    EXPECT_FALSE(caret.HitTestChar(view.get(), SL::PointI{-10, 250}, &untouched)); // no page
    EXPECT_EQ(untouched, (TextPosition{5, 6}));
    EXPECT_TRUE(caret.HitTestChar(view.get(), SL::PointI{130, 250}, nullptr));
}

TEST_F(SelectCaretTest, NearestCharacterNeedsAnAnchorAndPrefersTheCloserOutline) {
    const SL::RectF line{0, 0, 100, 100};
    EXPECT_EQ(Nearest(16.5, 25, line), (TextPosition{77, 77})); // no anchor yet

    caret.SetAnchor(TextPosition{0, 9}); // after everything: positions stay on the character
    EXPECT_EQ(Nearest(16.5, 25, line), (TextPosition{0, 0}));
    EXPECT_EQ(Nearest(17.5, 25, line), (TextPosition{0, 1}));
    EXPECT_EQ(Nearest(17, 25, line), (TextPosition{0, 0})); // a tie: the lower index

    caret.SetAnchor(TextPosition{0, 0}); // before B: the position after it
    EXPECT_EQ(Nearest(17.5, 25, line), (TextPosition{0, 2}));
    EXPECT_EQ(Nearest(16.5, 25, line), (TextPosition{0, 0})); // not after the anchor itself
    caret.SetAnchor(TextPosition{BL::TextPosition::kNoPage - 1, 0});
    EXPECT_EQ(Nearest(16.5, 25, line), (TextPosition{0, 0})); // anchor on a later page
}

TEST_F(SelectCaretTest, NearestCharacterOnlyAmongBoxesTheRectangleOverlaps) {
    caret.SetAnchor(TextPosition{0, 9});
    // A rectangle of no width or height on A's right edge or top edge still
    // reaches into A.
    EXPECT_EQ(Nearest(16, 25, SL::RectF{16, 25, 16, 25}), (TextPosition{0, 0}));
    EXPECT_EQ(Nearest(13, 30, SL::RectF{10, 30, 13, 30}), (TextPosition{0, 0}));
    // A rectangle between A and B overlaps neither.
    EXPECT_EQ(Nearest(17, 25, SL::RectF{16.5, 0, 17.5, 100}), (TextPosition{77, 77}));
    // Swapped corners mean the same area.
    EXPECT_EQ(Nearest(30, 25, SL::RectF{30, 100, 19, 0}), (TextPosition{0, 1}));
}

TEST_F(SelectCaretTest, PageContentChangeDropsTheCachedText) {
    fakes::Document& fake = fakes::Document::Of(document.get());
    EXPECT_EQ(caret.GetPageText(0).GetNumChars(), 5u);
    EXPECT_EQ(caret.GetPageText(0).GetNumChars(), 5u);
    EXPECT_EQ(fake.pagesHandedOut, 1);
    EXPECT_EQ(fake.pageAccessesEnded, 1);

    testdocs::AddChar(doc.get(), 0, L"F", Box(100, 20, 106, 30));
    fake.ContentChanged(1); // another page: page 0 stays cached
    EXPECT_EQ(caret.GetPageText(0).GetNumChars(), 5u);
    fake.ContentChanged(0);
    EXPECT_EQ(caret.GetPageText(0).GetNumChars(), 6u);
    EXPECT_EQ(Hit(103, 25), 5u);
    EXPECT_EQ(fake.pagesHandedOut, 2);
}

TEST_F(SelectCaretTest, LifetimeAndUnloadableText) {
    fakes::Document& fake = fakes::Document::Of(document.get());
    unsigned fired = 99;
    caret.SelectionState().connect([&](unsigned state) { fired = state; });
    caret.SetCaret(TextPosition{0, 3});
    caret.FireSelectionState();
    EXPECT_EQ(fired, 1u);
    EXPECT_EQ(caret.HasSelection(), 1u);

    {
        // A document that cannot hand out pages gives no text.
        fakes::ClearOperation(document.get(), BLDocumentOps::GetPage::kPosition);
        BL::SelectCaret second(document.get());
        EXPECT_EQ(fake.subscribers.size(), 2u);
        EXPECT_FALSE(second.GetPageText(0));
        try {
            second.HitTestChar(view.get(), SL::PointI{130, 250}, nullptr);
            ADD_FAILURE() << "no exception";
        } catch (const ServiceObjectException& e) {
            EXPECT_EQ(e.Code(), 2u);
            EXPECT_EQ(e.Message(), L"Not initialized");
            EXPECT_EQ(e.Function(), "BL::SelectCaret::HitTestChar");
            EXPECT_EQ(e.File(), "app\\include\\bl\\internal\\selectcaret");
            EXPECT_EQ(e.Line(), 209u);
        }
    }
    EXPECT_EQ(fake.subscribers.size(), 1u); // the second caret ended its own
    EXPECT_EQ(fake.unsubscribed.size(), 1u);
}

} // namespace
