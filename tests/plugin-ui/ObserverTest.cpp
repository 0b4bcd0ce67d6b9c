// How the handlers find the documents collection of their window and follow
// its active view.
#include "RibbonTestHost.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/MarkupGroupHandler.h"

namespace uitest {
namespace {

using UIElementState::kChecked;
using UIElementState::kDisabled;

MarkupGroupHandler& Markup(const ObjectPtr& handler) {
    return MarkupGroupHandler::Object::ImplOf(handler.get());
}

// A collection of its own whose active view shows a new document.
ObjectPtr CollectionShowing(ObjectPtr* blView) {
    ObjectPtr frameCollection = Make<TestCollection>();
    *blView = HostBL::CreateView(NewTextDocument().get(), 400, 1200, 1.0f);
    Of<TestCollection>(frameCollection).activeView = MakeDocumentView(*blView);
    return frameCollection;
}

// The window belongs to a main frame that has no documents collection yet:
// nothing is followed until its first document frame appears.
TEST_F(RibbonTest, BindsThroughTheMainFrameOnceItsFirstDocumentFrameExists) {
    ObjectPtr mainFrame = Make<TestMainFrame>();
    Of<TestWindow>(window).collection.Reset();
    Of<TestWindow>(window).mainFrame = mainFrame;
    AttachHandlers();
    EXPECT_FALSE(Markup(markupHandler).LockCollection());
    EXPECT_TRUE(StateOf("#Highlight-split-item") & kDisabled);

    ObjectPtr view;
    ObjectPtr frameCollection = CollectionShowing(&view);
    OnUI([&] { Of<TestMainFrame>(mainFrame).CreateChildFrame(frameCollection); });
    EXPECT_EQ(Markup(markupHandler).LockCollection(), frameCollection);
    EXPECT_EQ(Markup(markupHandler).LockCurrentView(), view);
    EXPECT_FALSE(StateOf("#Highlight-split-item") & kDisabled);
    EXPECT_FALSE(StateOf("div .font-highlight-icon") & kDisabled);
}

TEST_F(RibbonTest, FollowsActivationAndDeactivation) {
    AttachHandlers();
    ObjectPtr document = NewTextDocument();
    ObjectPtr view = ShowDocument(document);
    TestCollection& views = Of<TestCollection>(collection);
    EXPECT_EQ(Markup(markupHandler).ViewSubscriptionCount(), 13u);
    EXPECT_TRUE(OnUI([&] { return UIEngine::Click(One("#Highlight")).delivered; }));
    EXPECT_TRUE(StateOf("#Highlight") & kChecked);

    // Closing a view changes nothing by itself.
    const uint64_t revision = tree->Revision();
    OnUI([&] {
        bool keep = false;
        views.close.Raise(views.activeView.get(), &keep);
    });
    EXPECT_EQ(tree->Revision(), revision);

    OnUI([&] { views.Deactivate(); });
    EXPECT_FALSE(Markup(markupHandler).LockCurrentView());
    EXPECT_EQ(Markup(markupHandler).ViewSubscriptionCount(), 0u);
    for (const char* part : {"#Highlight-split-item", "#Underline-split-item",
                             "#Strikethrough-split-item", "div .font-underline-icon"})
        EXPECT_TRUE(StateOf(part) & kDisabled) << part;
    EXPECT_FALSE(StateOf("#Highlight") & kChecked);
    // A click now reaches no view: the tool the view still has stays.
    ObjectPtr tool = HostBL::ActiveTool(view.get());
    OnUI([&] { UIEngine::Click(One("#Highlight")); });
    EXPECT_EQ(HostBL::ActiveTool(view.get()), tool);

    Activate(view);
    EXPECT_FALSE(StateOf("#Strikethrough-split-item") & kDisabled);
    EXPECT_FALSE(StateOf("div .font-strike-icon") & kDisabled);

    // A second activation without a deactivation adds the second view's
    // subscriptions to the first's.
    ObjectPtr other = HostBL::CreateView(document.get(), 400, 1200, 1.0f);
    OnUI([&] { views.activated.Raise(MakeDocumentView(other).get()); });
    EXPECT_EQ(Markup(markupHandler).LockCurrentView(), other);
    EXPECT_EQ(Markup(markupHandler).ViewSubscriptionCount(), 26u);

    OnUI([this] { UIEngine::DetachHandler(One("#Markup")); });
    EXPECT_EQ(Markup(markupHandler).ViewSubscriptionCount(), 0u);
    EXPECT_FALSE(Markup(markupHandler).LockCollection());
    OnUI([this] { UIEngine::DetachHandler(One("#Font")); });
    EXPECT_EQ(views.Subscribers(), 0u);
}

} // namespace
} // namespace uitest
