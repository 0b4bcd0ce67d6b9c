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
    ObjectPtr frameCollection = TestCollection::Make();
    *blView = HostBL::CreateView(NewTextDocument().get(), 400, 1200, 1.0f);
    TestCollection::Of(frameCollection).activeView = MakeDocumentView(*blView);
    return frameCollection;
}

// The window belongs to a main frame that has no documents collection yet:
// nothing is followed until its first document frame appears.
TEST_F(RibbonTest, BindsThroughTheMainFrameOnceItsFirstDocumentFrameExists) {
    ObjectPtr mainFrame = TestMainFrame::Make();
    TestWindow::Of(window).collection.Reset();
    TestWindow::Of(window).mainFrame = mainFrame;
    AttachHandlers();
    EXPECT_FALSE(Markup(markupHandler).LockCollection());
    EXPECT_TRUE(StateOf("#Highlight-split-item") & kDisabled);

    ObjectPtr view;
    ObjectPtr frameCollection = CollectionShowing(&view);
    OnUI([&] { TestMainFrame::Of(mainFrame).CreateChildFrame(frameCollection); });
    EXPECT_EQ(Markup(markupHandler).LockCollection(), frameCollection);
    EXPECT_EQ(Markup(markupHandler).LockCurrentView(), view);
    EXPECT_FALSE(StateOf("#Highlight-split-item") & kDisabled);
    EXPECT_FALSE(StateOf("div .font-highlight-icon") & kDisabled);
}

// A window that knows no frame at all: the main frame of the UI thread, as
// "UIService" gives it.
TEST_F(RibbonTest, BindsThroughTheUIServiceWhenTheWindowKnowsNoFrame) {
    ObjectPtr view;
    ObjectPtr mainFrame = TestMainFrame::Make();
    TestMainFrame::Of(mainFrame).collection = CollectionShowing(&view);
    RegisterUIService(thread->ThreadId(), mainFrame);
    TestWindow::Of(window).collection.Reset();
    AttachHandlers();
    UnregisterUIService();
    EXPECT_EQ(Markup(markupHandler).LockCurrentView(), view);
    EXPECT_FALSE(StateOf("#Underline-split-item") & kDisabled);
}

TEST_F(RibbonTest, FollowsActivationAndDeactivation) {
    AttachHandlers();
    ObjectPtr document = NewTextDocument();
    ObjectPtr view = ShowDocument(document);
    TestCollection& views = TestCollection::Of(collection);
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

    ObjectPtr uiView = MakeDocumentView(view);
    OnUI([&] { views.Activate(uiView); });
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

// A new selection is remembered, and nothing on the ribbon changes.
TEST_F(RibbonTest, SelectionChangesAreOnlyRemembered) {
    AttachHandlers();
    ObjectPtr view = ShowDocument(NewTextDocument());
    const uint64_t revision = tree->Revision();
    ObjectPtr selection =
        OnUI([&] { return HostBL::SelectText(view.get(), "TextCopy", 0, 0, 0, 4); });
    EXPECT_EQ(Markup(markupHandler).LockSelection(), selection);
    EXPECT_EQ(tree->Revision(), revision);
}

} // namespace
} // namespace uitest
