// How the handlers find the documents collection of their window and follow
// its active view.
#include <boost/shared_ptr.hpp>

#include "RibbonTestHost.h"
#include "service-common/EventSubscription.h"
#include "ui/UIDocumentsCollection.h"
#include "uiengine/UserGestures.h"

namespace uitest {
namespace {

using UIElementState::kChecked;
using UIElementState::kDisabled;

// The main frame has no documents collection yet: nothing is followed until
// its first document frame appears.
class WithoutDocumentArea : public RibbonTest {
protected:
    WithoutDocumentArea() : RibbonTest(/*withDocumentArea=*/false) {}
};

TEST_F(WithoutDocumentArea, BindsThroughTheMainFrameOnceItsFirstDocumentFrameExists) {
    AttachHandlers();
    EXPECT_FALSE(Markup().LockCollection());
    EXPECT_TRUE(StateOf("#Highlight-split-item") & kDisabled);
    EXPECT_FALSE(ChooseColor("div .font-strike-icon", L"ff0000ff")) << "no view to take it";
    EXPECT_EQ(Font().LastKind(), kNoMarkupKind);

    desk.OpenDocumentArea();
    const ObjectPtr view = desk.ShowDocument();
    EXPECT_EQ(Markup().LockCollection(), desk.Collection());
    EXPECT_EQ(Markup().LockCurrentView(), view);
    EXPECT_FALSE(StateOf("#Highlight-split-item") & kDisabled);
    EXPECT_FALSE(StateOf("div .font-highlight-icon") & kDisabled);
}

TEST_F(DocumentShown, FollowsActivationAndDeactivation) {
    EXPECT_EQ(Markup().ViewSubscriptionCount(), 13u);
    EXPECT_TRUE(OnUI([&] { return UIEngine::Click(One("#Highlight")).delivered; }));
    EXPECT_TRUE(StateOf("#Highlight") & kChecked);

    // Closing a view changes nothing by itself: here a subscriber keeps it.
    auto keepOpen = SOEvent::Subscribe<UIDocumentsCollectionEvents::OnDocumentViewClose>(
        desk.Collection().get(), [](ServiceObject*, bool* keep) { *keep = true; });
    const uint64_t revision = desk.Tree().Revision();
    CloseActiveView();
    EXPECT_EQ(desk.Tree().Revision(), revision);

    keepOpen.reset();
    CloseActiveView();
    EXPECT_FALSE(Markup().LockCurrentView());
    EXPECT_EQ(Markup().ViewSubscriptionCount(), 0u);
    for (const char* part : {"#Highlight-split-item", "#Underline-split-item",
                             "#Strikethrough-split-item", "div .font-underline-icon"})
        EXPECT_TRUE(StateOf(part) & kDisabled) << part;
    EXPECT_FALSE(StateOf("#Highlight") & kChecked);
    // A click now reaches no view: the tool the view still has stays.
    ObjectPtr tool = HostBL::ActiveTool(view.get());
    OnUI([&] { UIEngine::Click(One("#Highlight")); });
    EXPECT_EQ(HostBL::ActiveTool(view.get()), tool);

    desk.Show(view);
    EXPECT_FALSE(StateOf("#Strikethrough-split-item") & kDisabled);
    EXPECT_FALSE(StateOf("div .font-strike-icon") & kDisabled);

    OnUI([this] { UIEngine::DetachHandler(One("#Markup")); });
    EXPECT_EQ(Markup().ViewSubscriptionCount(), 0u);
    EXPECT_FALSE(Markup().LockCollection());
    OnUI([this] { UIEngine::DetachHandler(One("#Font")); });
    EXPECT_FALSE(Font().LockCollection());
    // Neither follows the collection any more.
    const uint64_t detached = desk.Tree().Revision();
    desk.ShowDocument();
    EXPECT_FALSE(Markup().LockCurrentView());
    EXPECT_FALSE(Font().LockCurrentView());
    EXPECT_EQ(desk.Tree().Revision(), detached);
}

} // namespace
} // namespace uitest
