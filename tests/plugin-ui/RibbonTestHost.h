// The ground of the ribbon handlers' tests: the host's UI thread, UI engine
// and shipped ribbon, the host's documents and views, and small UI objects
// of the tests' own (window, documents collection, frames, UI views) where
// the handlers meet the host's UI.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "bl/BLDocumentView.h"
#include "hostbl/HostBL.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIMainFrame.h"
#include "ui/UIWnd.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"
#include "uiengine/UIThread.h"

namespace uitest {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// A test object: the flat table T fills (T::Fill, T::kOperationCount) over
// a T.
template <class T> struct TestObject {
    using Object = SODetails::ServiceObjectCppTheConcrete<TestObject, T>;
    static constexpr const char* kName = "Test";
    static constexpr std::size_t kOperationCount = T::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) { T::Fill(ops); }
};
template <class T> ObjectPtr Make() {
    return ObjectPtr::Adopt(TestObject<T>::Object::New());
}
template <class T> T& Of(ServiceObject* object) {
    return TestObject<T>::Object::ImplOf(object);
}
template <class T> T& Of(const ObjectPtr& object) {
    return Of<T>(object.get());
}

// A host event: its subscribers by handle, raised on one thread at a time.
// A subscriber that unsubscribes while the event is raised is destroyed
// after its call.
template <class... Args> class TestEvent {
public:
    using Invoke = void (*)(Args..., void*);
    using Destroy = void (*)(void*);

    uint64_t Subscribe(Invoke invoke, Destroy destroy, void* context) {
        entries_[++last_] = std::make_shared<Entry>(invoke, destroy, context);
        return last_;
    }
    void Unsubscribe(uint64_t handle) { entries_.erase(handle); }
    void Raise(Args... args) {
        std::vector<std::shared_ptr<Entry>> now;
        for (auto& item : entries_)
            now.push_back(item.second);
        for (auto& entry : now)
            entry->invoke(args..., entry->context);
    }
    std::size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        Entry(Invoke i, Destroy d, void* c) : invoke(i), destroy(d), context(c) {}
        Entry(const Entry&) = delete;
        ~Entry() { destroy(context); }
        Invoke invoke;
        Destroy destroy;
        void* context;
    };
    std::map<uint64_t, std::shared_ptr<Entry>> entries_;
    uint64_t last_ = 0;
};

// The handler's window: its dispatcher, its element tree's root, and the
// frame objects it answers queries for.
struct TestWindow {
    static constexpr std::size_t kOperationCount = UIWndOps::kOperationCount;
    static void Fill(SODetails::Operation* ops);
    ObjectPtr dispatcher;
    HELEMENT root = nullptr;
    ObjectPtr collection;
    ObjectPtr mainFrame;
    bool giveErrorRecord = true; // with a failed query
};

// A documents collection that raises its events as views are activated
// and deactivated.
struct TestCollection {
    static constexpr std::size_t kOperationCount = UIDocumentsCollectionOps::kOperationCount;
    static void Fill(SODetails::Operation* ops);
    ObjectPtr activeView;
    TestEvent<ServiceObject*> created, activated, destroyed, sbsCreated, sbsActivated,
        sbsDeactivated, sbsDestroyed;
    TestEvent<ServiceObject*, ServiceObject*> deactivated;
    TestEvent<ServiceObject*, bool*> close;

    // Deactivates the active view (if any), then activates `view`.
    void Activate(ObjectPtr view);
    void Deactivate();
    std::size_t Subscribers();
};

// A main frame whose documents collection appears with its first document
// frame.
struct TestMainFrame {
    static constexpr std::size_t kOperationCount = UIMainFrameOps::kOperationCount;
    static void Fill(SODetails::Operation* ops);
    ObjectPtr collection;
    TestEvent<ServiceObject*> childFrameCreated;
    // A new document frame holding `collection`, announced to subscribers.
    void CreateChildFrame(ObjectPtr collection);
};

// A UI document view over a business-logic view.
ObjectPtr MakeDocumentView(ObjectPtr blView);

// A business-logic view of a document the user may not annotate: a view
// state and a permission of its own, and a tool slot that counts calls.
struct LockedView {
    static constexpr std::size_t kOperationCount = BLDocumentViewOps::kOperationCount;
    static void Fill(SODetails::Operation* ops);
    uint32_t viewState = 1;
    bool allowed = false;
    int toolCalls = 0;
    TestEvent<uint32_t> viewStateChanged;
};

// Five pages of text, "Page N has some words" each, in a host document.
ObjectPtr NewTextDocument();

// The shipped ribbon on a UI thread, with the plug-in's two handlers
// attached to its "Markup" and "Font" panels in a test window that belongs
// to a documents collection.
class RibbonTest : public testing::Test {
protected:
    RibbonTest();
    ~RibbonTest() override;

    template <class F> auto OnUI(F f) { return thread->Invoke(f); }
    HELEMENT One(const std::string& selector) const;
    uint32_t StateOf(const std::string& selector) const { return UIEngine::State(One(selector)); }

    // Replaces the shipped ribbon by other markup (before AttachHandlers).
    void UseRibbon(const std::string& html) { tree = UIEngine::ElementTree::Parse(html); }
    // Attaches the plug-in's handlers, as the ribbon bar does; then lets the
    // UI thread run what they left to it.
    void AttachHandlers();
    // A new business-logic view of `document`, made the active view of the
    // collection; returns the business-logic view.
    ObjectPtr ShowDocument(const ObjectPtr& document);
    // Makes `view` the collection's active view.
    void Activate(const ObjectPtr& blView);

    std::shared_ptr<UIEngine::UIThread> thread = std::make_shared<UIEngine::UIThread>();
    std::unique_ptr<UIEngine::ElementTree> tree;
    ObjectPtr window = Make<TestWindow>();
    ObjectPtr collection = Make<TestCollection>();
    ObjectPtr markupHandler, fontHandler;
    testsupport::TempFolder scratch;
};

} // namespace uitest
