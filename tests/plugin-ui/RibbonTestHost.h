// The ground of the ribbon handlers' tests: the host's UI thread, UI engine
// and shipped ribbon, the host's documents and views, and small UI objects
// of the tests' own (window, documents collection, frames, UI views, the
// "UIService") where the handlers meet the host's UI.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "hostbl/HostBL.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/EventSlot.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"
#include "uiengine/UIThread.h"

namespace uitest {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// A host event: its subscribers by handle. A subscriber that unsubscribes
// while the event is raised is destroyed after its call.
template <class... Args> class TestEvent {
public:
    using Invoke = void (*)(Args..., void*);
    using Destroy = void (*)(void*);

    uint64_t Subscribe(Invoke invoke, Destroy destroy, void* context) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_[++last_] = std::make_shared<Entry>(invoke, destroy, context);
        return last_;
    }
    void Unsubscribe(uint64_t handle) {
        std::shared_ptr<Entry> gone;
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = entries_.find(handle);
        if (it != entries_.end()) {
            gone = std::move(it->second);
            entries_.erase(it);
        }
    }
    void Raise(Args... args) {
        std::vector<std::shared_ptr<Entry>> now;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto& item : entries_)
                now.push_back(item.second);
        }
        for (auto& entry : now)
            entry->invoke(args..., entry->context);
    }
    std::size_t Count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return entries_.size();
    }

private:
    struct Entry {
        Entry(Invoke i, Destroy d, void* c) : invoke(i), destroy(d), context(c) {}
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        ~Entry() { destroy(context); }
        Invoke invoke;
        Destroy destroy;
        void* context;
    };
    std::mutex mutex_;
    std::map<uint64_t, std::shared_ptr<Entry>> entries_;
    uint64_t last_ = 0;
};

// The handler's window: its dispatcher, its element tree's root, and the
// frame objects it answers queries for.
struct TestWindow {
    ObjectPtr dispatcher;
    HELEMENT root = nullptr;
    ObjectPtr collection;
    ObjectPtr mainFrame;
    bool giveErrorRecord = true; // with a failed query
    static ObjectPtr Make();
    static TestWindow& Of(const ObjectPtr& window);
};

// A UI document view over a business-logic view (none: the query fails).
ObjectPtr MakeDocumentView(ObjectPtr blView);

// A documents collection that raises its events as a view is activated
// and deactivated.
struct TestCollection {
    ObjectPtr activeView;
    TestEvent<ServiceObject*> created, activated, destroyed, sbsCreated, sbsActivated,
        sbsDeactivated, sbsDestroyed;
    TestEvent<ServiceObject*, ServiceObject*> deactivated;
    TestEvent<ServiceObject*, bool*> close;

    static ObjectPtr Make();
    static TestCollection& Of(const ObjectPtr& collection);
    // Deactivates the active view (if any), then activates `view`.
    void Activate(ObjectPtr view);
    void Deactivate();
    std::size_t Subscribers();
};

// A main frame whose documents collection appears with its first document
// frame.
struct TestMainFrame {
    ObjectPtr collection;
    TestEvent<ServiceObject*> childFrameCreated;
    static ObjectPtr Make();
    static TestMainFrame& Of(const ObjectPtr& frame);
    // A new document frame holding `collection`, announced to subscribers.
    void CreateChildFrame(ObjectPtr collection);
};

// "UIService" for this process: the UI object of `uiThread` has `mainFrame`.
void RegisterUIService(uint32_t uiThread, ObjectPtr mainFrame);
void UnregisterUIService();

// A business-logic view of a document the user may not annotate: a view
// state and a permission of its own, and a tool slot that counts calls.
struct LockedView {
    uint32_t viewState = 1;
    bool allowed = false;
    int toolCalls = 0;
    TestEvent<uint32_t> viewStateChanged;
    static ObjectPtr Make();
    static LockedView& Of(const ObjectPtr& view);
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

    std::shared_ptr<UIEngine::UIThread> thread = std::make_shared<UIEngine::UIThread>();
    std::unique_ptr<UIEngine::ElementTree> tree;
    ObjectPtr window = TestWindow::Make();
    ObjectPtr collection = TestCollection::Make();
    ObjectPtr markupHandler, fontHandler;
    testsupport::TempFolder scratch;
};

} // namespace uitest
