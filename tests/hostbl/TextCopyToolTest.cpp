// The host's own text tool "TextCopy": drags select text, in either
// direction and over pages, and a release of the finishing button ends it.
#include <gtest/gtest.h>

#include "HostBLProbes.h"
#include "bl/BLSelection.h"
#include "service-common/Atom.h"
#include "service-common/FolioGeometry.h"

namespace {

using namespace HostBLTest;
using SODetails::CallChecked;
namespace Input = BLInputEventTypes;

const std::vector<PageSpec> kPages = {
    {{0, 0, 200, 100}, 0, 5},
    {{0, 0, 200, 100}, 0, 5},
    {{0, 0, 200, 100}, 90, 5},
};

class TextCopyToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(HostBL::ActivateTool(view.get(), HostBL::kTextCopyTool, MarkupToolParams{}));
        SubscribeProbe<BLDocumentViewEvents::OnSelectionChanged>(view.get(), selectionChanges);
    }

    // The device point at `along` of a character's reading direction (0 its
    // leading edge, 1 its trailing edge), halfway up the line.
    SL::PointI At(uint64_t page, int index, float along) {
        const PDQuadF q = CharQuad(kPages[page].crop, index);
        const float x = q.p0.x + along * (q.p1.x - q.p0.x);
        const float y = (q.p0.y + q.p2.y) / 2;
        return HostBL::PageToDevice(view.get(), page, {x, y});
    }
    bool Send(uint32_t type, uint32_t button, SL::PointI point) {
        return HostBL::DispatchInput(view.get(), type, button, point);
    }
    bool Drag(SL::PointI from, SL::PointI to) {
        const bool pressed = Send(Input::kButtonDown, Input::kLeftButton, from);
        Send(Input::kMouseMove, Input::kLeftButton, to);
        Send(Input::kButtonUp, Input::kLeftButton, to);
        return pressed;
    }
    ObjectPtr Selection() {
        ObjectPtr selection;
        CallChecked<BLDocumentViewOps::GetSelection>(view.get(), selection.Receive());
        return selection;
    }
    // The selection's pages and their quad counts, "first-last: n n"; its
    // type is the tool's.
    std::string Selected() {
        const ObjectPtr selection = Selection();
        SLAtom type = 0;
        uint64_t first = 0, last = 0;
        CallChecked<BLSelectionOps::GetType>(selection.get(), &type);
        CallChecked<BLSelectionOps::GetSelectedPages>(selection.get(), &first, &last);
        EXPECT_EQ(type, SODetails::AtomFromString("TextCopy"));
        std::string text = std::to_string(first) + "-" + std::to_string(last) + ":";
        for (uint64_t page = first; page <= last; ++page) {
            uint64_t count = 0;
            CallChecked<BLSelectionOps::GetQuadCount>(selection.get(), page, &count);
            text += " " + std::to_string(count);
        }
        return text;
    }

    ObjectPtr document = MakeDocument(kPages);
    // Tall enough to show every page at once.
    ObjectPtr view = HostBL::CreateView(document.get(), 500, 700, 1.5f);
    Probe selectionChanges;
};

TEST_F(TextCopyToolTest, ADragSelectsFromCaretToCaretInEitherDirectionAndOverPages) {
    // From the middle of the second character of page 1 to just past the
    // fourth of page 3 (a turned page).
    const SL::PointI from = At(0, 1, 0.4f), to = At(2, 3, 1.1f);
    EXPECT_TRUE(Drag(from, to));
    EXPECT_EQ(Selected(), "0-2: 4 5 4");
    EXPECT_EQ(selectionChanges.calls, 1) << "the release makes the selection";
    EXPECT_TRUE(HostBL::HasTextSelection(view.get()));

    // Backwards, from past the fourth character to before the second: the
    // same characters of one page.
    EXPECT_TRUE(Drag(At(1, 3, 0.8f), At(1, 1, 0.2f)));
    EXPECT_EQ(Selected(), "1-1: 3");
    EXPECT_EQ(HostBL::ActiveToolName(view.get()), "TextCopy") << "selecting does not end the tool";
}

TEST_F(TextCopyToolTest, APressOffTextSelectsNothingAndAClickDropsTheSelection) {
    EXPECT_FALSE(Drag({2, 2}, At(0, 2, 0.5f))) << "the grey around the pages";
    EXPECT_FALSE(Selection());
    EXPECT_EQ(selectionChanges.calls, 0);

    ASSERT_TRUE(Drag(At(0, 0, 0.3f), At(0, 4, 0.9f)));
    ASSERT_TRUE(HostBL::HasTextSelection(view.get()));
    EXPECT_TRUE(Drag(At(0, 2, 0.3f), At(0, 2, 0.3f)));
    EXPECT_FALSE(Selection());
    EXPECT_FALSE(HostBL::HasTextSelection(view.get()));
    EXPECT_EQ(selectionChanges.calls, 2);
}

TEST_F(TextCopyToolTest, TheFinishingButtonEndsTheTool) {
    EXPECT_FALSE(Send(Input::kButtonDown, Input::kFinishButton, At(0, 1, 0.5f)));
    EXPECT_FALSE(Send(Input::kButtonUp, Input::kFinishButton, At(0, 1, 0.5f)));
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));
    EXPECT_EQ(HostBL::ActiveToolName(view.get()), "");
}

} // namespace
