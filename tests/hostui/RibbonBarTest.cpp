// The ribbon bar places UI handlers into the ribbon's panels on the UI
// thread; a panel holds one handler, and a closing window detaches it.
#include <gtest/gtest.h>

#include "../ui-engine/TestSupport.h"
#include "HostUITestSupport.h"
#include "ui/UIService.h"

namespace HostUITest {
namespace {

using SODetails::TryCall;
using UIEngineTest::RecordingHandler;

TEST(RibbonBar, PlacingAttachesOnTheUIThreadAndAnotherHandlerReplacesIt) {
    Desk desk;
    const ObjectPtr first = RecordingHandler::Make(), second = RecordingHandler::Make();
    ASSERT_EQ(desk.Place(L"Markup", first), SODetails::kOk);
    const RecordingHandler& attached = RecordingHandler::Of(first);
    EXPECT_EQ(attached.attachedOnThread, desk.thread->ThreadId());
    EXPECT_EQ(attached.attachedCalls, (std::vector<std::pair<ServiceObject*, HELEMENT>>{
                                          {desk.mainWindow.get(), desk.Ribbon("#Markup")}}));

    ASSERT_EQ(TryCall<RibbonBarOps::Replace>(desk.ribbonBar.get(), L"Markup", second.get()),
              SODetails::kOk);
    EXPECT_EQ(attached.detachedCalls, 1);
    const std::vector<HostUI::Placement> placed =
        desk.OnUI([&] { return HostUI::Placements(desk.ribbonBar.get()); });
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].group, L"Markup");
    EXPECT_EQ(placed[0].handler, second);

    for (const wchar_t* group : {L"Review", L"Mark\"up", L""})
        EXPECT_EQ(desk.Place(group, first), SODetails::kNotAvailable) << group;
    bool custom = true;
    TryCall<RibbonBarOps::HasCustomHandler>(desk.ribbonBar.get(), L"Markup", &custom);
    EXPECT_FALSE(custom);

    desk.OnUI([&] { HostUI::CloseWindow(desk.mainWindow.get()); });
    EXPECT_EQ(RecordingHandler::Of(second).detachedCalls, 1) << "a closing window detaches";
}

} // namespace
} // namespace HostUITest
