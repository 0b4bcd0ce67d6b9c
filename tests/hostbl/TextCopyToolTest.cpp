// The host's own text tool "TextCopy": drags select text, in either
// direction and over pages, and a release of the finishing button ends it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

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
        return HostBL::PageToDevice(view.get(), page,
                                    {q.p0.x + along * (q.p1.x - q.p0.x), (q.p0.y + q.p2.y) / 2});
    }
    bool Send(uint32_t type, uint32_t button, SL::PointI point) {
        return HostBL::DispatchInput(view.get(), type, button, point);
    }
    // The selection's pages and their quad counts, "first-last: n n", or ""
    // without one; its type is the tool's.
    std::string Selected() {
        ObjectPtr selection;
        CallChecked<BLDocumentViewOps::GetSelection>(view.get(), selection.Receive());
        if (!selection)
            return "";
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

TEST_F(TextCopyToolTest, DragsSelectFromCaretToCaretAndTheFinishingButtonEndsTheTool) {
    // Per drag: whether the press is taken, the selection after the
    // release, and the selection changes announced so far (one per release
    // that makes or drops a selection).
    using Drag = std::tuple<SL::PointI, SL::PointI, bool, std::string, int>;
    const std::vector<Drag> drags = {
        // A press on the grey around the pages.
        {{2, 2}, At(0, 2, 0.5f), false, "", 0},
        // From the middle of the second character to past the fourth of the
        // turned page.
        {At(0, 1, 0.4f), At(2, 3, 1.1f), true, "0-2: 4 5 4", 1},
        // Backwards, from past the fourth character to before the second.
        {At(1, 3, 0.8f), At(1, 1, 0.2f), true, "1-1: 3", 2},
        // A click drops the selection.
        {At(0, 2, 0.3f), At(0, 2, 0.3f), true, "", 3},
    };
    for (const auto& [from, to, pressed, selected, changes] : drags) {
        SCOPED_TRACE("drag " + std::to_string(changes));
        EXPECT_EQ(Send(Input::kButtonDown, Input::kLeftButton, from), pressed);
        Send(Input::kMouseMove, Input::kLeftButton, to);
        Send(Input::kButtonUp, Input::kLeftButton, to);
        EXPECT_EQ(Selected(), selected);
        EXPECT_EQ(HostBL::HasTextSelection(view.get()), !selected.empty());
        EXPECT_EQ(selectionChanges.calls, changes);
    }
    EXPECT_EQ(HostBL::ActiveToolName(view.get()), "TextCopy") << "selecting does not end the tool";

    EXPECT_FALSE(Send(Input::kButtonDown, Input::kFinishButton, At(0, 1, 0.5f)));
    EXPECT_FALSE(Send(Input::kButtonUp, Input::kFinishButton, At(0, 1, 0.5f)));
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));
    EXPECT_EQ(HostBL::ActiveToolName(view.get()), "");
}

} // namespace
