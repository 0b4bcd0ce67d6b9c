// The ribbon bar places UI handlers into the ribbon's panels on the UI
// thread; a placed handler then finds the active view through the host's
// objects and follows it.
#include <gtest/gtest.h>

#include "HostUITestSupport.h"
#include "ui/UIService.h"
#include "uiengine/Elements.h"

namespace HostUITest {
namespace {

using SODetails::TryCall;

uint32_t Place(ServiceObject* bar, const wchar_t* group, const ObjectPtr& handler) {
    return TryCall<RibbonBarOps::Place>(bar, group, handler.get()).value_or(~0u);
}

bool DropDownDisabled(const Desk& desk) {
    return UIEngine::State(desk.Ribbon("#Highlight-split-item")) & UIElementState::kDisabled;
}

TEST(RibbonBar, PlacingAttachesOnTheUIThreadAndAnotherHandlerReplacesIt) {
    Desk desk;
    const ObjectPtr first = FollowingHandler::Make(), second = FollowingHandler::Make();
    ASSERT_EQ(Place(desk.ribbonBar.get(), L"Markup", first), SODetails::kOk);
    const FollowingHandler& attached = FollowingHandler::Of(first);
    EXPECT_EQ(attached.attachedOnThread, desk.thread->ThreadId());
    EXPECT_EQ(attached.attachedTo, desk.Ribbon("#Markup"));
    EXPECT_EQ(attached.attachedWindow, desk.mainWindow.get());

    ASSERT_EQ(TryCall<RibbonBarOps::Replace>(desk.ribbonBar.get(), L"Markup", second.get()),
              SODetails::kOk);
    EXPECT_EQ(attached.detached, 1);
    const std::vector<HostUI::Placement> placed = desk.OnUI([&] {
        return HostUI::Placements(desk.ribbonBar.get());
    });
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].group, L"Markup");
    EXPECT_EQ(placed[0].handler, second);

    for (const wchar_t* group : {L"Review", L"Mark\"up", L""})
        EXPECT_EQ(Place(desk.ribbonBar.get(), group, first), SODetails::kNotAvailable) << group;
    bool custom = true;
    TryCall<RibbonBarOps::HasCustomHandler>(desk.ribbonBar.get(), L"Markup", &custom);
    EXPECT_FALSE(custom);

    desk.OnUI([&] { HostUI::CloseWindow(desk.mainWindow.get()); });
    EXPECT_EQ(FollowingHandler::Of(second).detached, 1) << "a closing window detaches";
}

TEST(RibbonBar, APlacedHandlerFollowsTheActiveViewAndItsStateFromAnyThread) {
    Desk desk;
    const ObjectPtr handler = FollowingHandler::Make();
    ASSERT_EQ(Place(desk.ribbonBar.get(), L"Markup", handler), SODetails::kOk);
    desk.thread->WaitIdle();
    const FollowingHandler& following = FollowingHandler::Of(handler);
    EXPECT_EQ(following.bindings, 1);
    EXPECT_TRUE(DropDownDisabled(desk)) << "no view yet";

    const ObjectPtr view = desk.ShowDocument();
    desk.thread->WaitIdle();
    EXPECT_FALSE(DropDownDisabled(desk));

    // The view's state changes on this thread; the handler hands its work
    // over to the UI thread.
    HostBL::SetReadOnly(HostUI::BLViewOf(view.get()).get(), true);
    desk.thread->WaitIdle();
    EXPECT_TRUE(DropDownDisabled(desk));
    HostBL::SetReadOnly(HostUI::BLViewOf(view.get()).get(), false);
    desk.thread->WaitIdle();
    EXPECT_FALSE(DropDownDisabled(desk));
    for (uint32_t thread : following.elementChangeThreads)
        EXPECT_EQ(thread, desk.thread->ThreadId());

    desk.OnUI([&] { HostUI::CloseView(desk.Collection().get(), view.get()); });
    EXPECT_TRUE(DropDownDisabled(desk)) << "deactivated";
}

TEST(RibbonBar, WithoutADocumentAreaAHandlerBindsWhenTheFirstDocumentFrameComes) {
    Desk desk(/*withDocumentArea=*/false);
    const ObjectPtr handler = FollowingHandler::Make();
    ASSERT_EQ(Place(desk.ribbonBar.get(), L"Markup", handler), SODetails::kOk);
    desk.thread->WaitIdle();
    EXPECT_NE(FollowingHandler::Of(handler).bindingFailure.find(L"UIDocumentsCollection"),
              std::wstring::npos)
        << "the window says why it had no collection";

    desk.OnUI([&] {
        desk.documentWindow =
            HostUI::OpenWindow(nullptr, desk.dispatcher.get(), desk.mainWindow.get());
        desk.documentFrame =
            HostUI::CreateDocumentFrame(desk.mainFrame.get(), desk.documentWindow.get());
    });
    desk.ShowDocument();
    desk.thread->WaitIdle();
    EXPECT_FALSE(DropDownDisabled(desk));
}

} // namespace
} // namespace HostUITest
