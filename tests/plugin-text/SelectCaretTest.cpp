// Character hit testing and the page-text cache of the selection caret, on
// in-memory pages with characters placed by hand, shown by a host view at
// half size: a device pixel then stands for a page point with odd
// coordinates, so the characters sit on odd coordinates to make their
// edges and vertices reachable exactly.

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "TestSupport.h"
#include "bl/internal/SelectCaret.h"
#include "hostbl/HostBL.h"
#include "vellum-marker/TextMarkupAnnot.h"

namespace {

using BL::TextPosition;
using testsupport::Box;

class SelectCaretTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::AddChar(doc.get(), 0, L"A", Box(11, 21, 17, 31)); // 0
        testsupport::AddChar(doc.get(), 0, L"B", Box(21, 21, 27, 31)); // 1: a gap of 4 after A
        testsupport::AddChar(doc.get(), 0, L"C", Box(41, 21, 51, 31)); // 2
        testsupport::AddChar(doc.get(), 0, L"D", Box(45, 21, 55, 31)); // 3: overlaps C
        // 4: a diamond around (81, 25)
        testsupport::AddChar(doc.get(), 0, L"E", SL::Quad{{81, 31}, {87, 25}, {75, 25}, {81, 19}});
    }

    // The device point that shows the page point (x, y) of page 0.
    SL::PointI Device(float x, float y) {
        const SL::PointI d = HostBL::PageToDevice(view.get(), 0, {x, y});
        const SL::PointF back = HostBL::DeviceToPage(view.get(), 0, d);
        EXPECT_TRUE(back.x == x && back.y == y) << "(" << x << ", " << y << ") is not reachable";
        return d;
    }

    // The character under the page point (x, y) of page 0, or none.
    std::optional<uint64_t> Hit(float x, float y) {
        TextPosition hit{99, 99};
        if (!caret.HitTestChar(view.get(), Device(x, y), &hit))
            return std::nullopt;
        EXPECT_EQ(hit.page, 0u);
        return hit.index;
    }

    TextPosition Nearest(float x, float y, SL::RectF rect) {
        TextPosition out{77, 77};
        caret.FindNearestChar(0, SL::PointF{x, y}, rect, &out);
        return out;
    }

    testsupport::Document doc = testsupport::InMemory(2);
    HostBL::ObjectPtr document = HostBL::WrapDocument(doc.get());
    HostBL::ObjectPtr view = HostBL::CreateView(document.get(), 132, 300, 0.5f);
    BL::SelectCaret caret{document.get()};
};

TEST_F(SelectCaretTest, HitsOutlinesVerticesAndTheLowerOfOverlappingCharacters) {
    EXPECT_EQ(Hit(13, 25), 0u);
    EXPECT_EQ(Hit(13, 31), 0u); // on the top edge, where the ray test alone misses
    EXPECT_EQ(Hit(17, 31), 0u); // on a vertex
    EXPECT_EQ(Hit(11, 21), 0u);
    EXPECT_EQ(Hit(19, 25), std::nullopt); // between A and B
    EXPECT_EQ(Hit(47, 25), 2u);           // C and D overlap: C comes first
    EXPECT_EQ(Hit(53, 25), 3u);
    EXPECT_EQ(Hit(81, 25), 4u);
    EXPECT_EQ(Hit(85, 27), 4u);           // on the diamond's edge
    EXPECT_EQ(Hit(77, 29), std::nullopt); // inside its box, outside the diamond

    TextPosition untouched{5, 6};
    EXPECT_FALSE(caret.HitTestChar(view.get(), SL::PointI{2, 2}, &untouched)); // on no page
    EXPECT_EQ(untouched, (TextPosition{5, 6}));
    EXPECT_TRUE(caret.HitTestChar(view.get(), Device(13, 25), nullptr));
}

TEST_F(SelectCaretTest, NearestCharacterNeedsAnAnchorAndPrefersTheCloserOutlineItsRectangleMeets) {
    const SL::RectF line{0, 0, 100, 100};
    EXPECT_EQ(Nearest(17.5, 25, line), (TextPosition{77, 77})); // no anchor yet

    caret.SetAnchor(TextPosition{0, 9}); // after everything: positions stay on the character
    EXPECT_EQ(Nearest(17.5, 25, line), (TextPosition{0, 0}));
    EXPECT_EQ(Nearest(20.5, 25, line), (TextPosition{0, 1}));
    EXPECT_EQ(Nearest(19, 25, line), (TextPosition{0, 0})); // a tie: the lower index

    caret.SetAnchor(TextPosition{0, 0}); // before B: the position after it
    EXPECT_EQ(Nearest(20.5, 25, line), (TextPosition{0, 2}));
    EXPECT_EQ(Nearest(17.5, 25, line), (TextPosition{0, 0})); // not after the anchor itself
    caret.SetAnchor(TextPosition{1, 0});                      // on a later page
    EXPECT_EQ(Nearest(20.5, 25, line), (TextPosition{0, 1}));

    // Only among the boxes the rectangle overlaps (the anchor on a later
    // page keeps positions on the character). A rectangle of no width or
    // height on A's right or top edge still reaches into A.
    EXPECT_EQ(Nearest(17, 25, SL::RectF{17, 25, 17, 25}), (TextPosition{0, 0}));
    EXPECT_EQ(Nearest(13, 31, SL::RectF{11, 31, 13, 31}), (TextPosition{0, 0}));
    // A rectangle between A and B overlaps neither.
    EXPECT_EQ(Nearest(19, 25, SL::RectF{17.5, 0, 20.5, 100}), (TextPosition{77, 77}));
    // Swapped corners mean the same area.
    EXPECT_EQ(Nearest(30, 25, SL::RectF{30, 100, 22, 0}), (TextPosition{0, 1}));
}

// The document announces a page's change on the thread that changed it,
// while the caret may be reading its cache on another: readers always get
// the page's text, loaded or cached.
TEST_F(SelectCaretTest, PageContentChangesOnAnotherThreadWhileTheCacheIsRead) {
    // The changes start once the reader reads, and it reads until they end:
    // the two overlap however fast the changes are.
    std::atomic<bool> reading{false}, done{false};
    std::thread changer([&] {
        while (!reading)
            std::this_thread::yield();
        for (int i = 0; i < 200; ++i)
            InsertTextMarkupAnnot(view.get(), kPDAtomHighlight, 0xFF00FF00u, 0,
                                  {Box(11, 21, 17, 31)});
        done = true;
    });
    bool right = true;
    do {
        right = right && caret.GetPageText(0).GetNumChars() == 5u;
        reading = true;
    } while (!done);
    changer.join();
    EXPECT_TRUE(right);
    EXPECT_EQ(HostBL::PageAnnots(document.get(), 0).size(), 200u);
}

TEST_F(SelectCaretTest, PageContentChangeReloadsThatPageOnly) {
    const PDPageText cached = caret.GetPageText(0).get();
    EXPECT_EQ(caret.GetPageText(0).get(), cached);

    testsupport::AddChar(doc.get(), 0, L"F", Box(101, 21, 107, 31));
    // Inserting an annotation changes the content of its page.
    InsertTextMarkupAnnot(view.get(), kPDAtomHighlight, 0xFF00FF00u, 1, {Box(1, 1, 5, 5)});
    EXPECT_EQ(caret.GetPageText(0).get(), cached);
    InsertTextMarkupAnnot(view.get(), kPDAtomHighlight, 0xFF00FF00u, 0, {Box(11, 21, 17, 31)});
    EXPECT_EQ(caret.GetPageText(0).GetNumChars(), 6u);
    EXPECT_EQ(Hit(103, 25), 5u);
}

} // namespace
