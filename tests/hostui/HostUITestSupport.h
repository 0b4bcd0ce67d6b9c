// A desk of the host's UI objects as the application lays them out, on a UI
// thread of its own, and a small UI handler that follows the active view the
// way the ribbon's handlers do, through nothing but the flat interfaces.
#pragma once

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hostbl/HostBL.h"
#include "hostui/HostUI.h"
#include "service-common/EventSubscription.h"
#include "service-common/WeakRefPtr.h"
#include "ui-engine/UIHandler.h"
#include "uiengine/UIThread.h"

namespace HostUITest {

using HostUI::ObjectPtr;

uint32_t IdOf(const char* interfaceName);

// The main window (the shipped ribbon), the main frame, the document area
// (unless asked not to make it) and the ribbon bar, made on the UI thread.
struct Desk {
    explicit Desk(bool withDocumentArea = true);
    ~Desk();

    template <class F> auto OnUI(F&& f) { return thread->Invoke(std::forward<F>(f)); }
    ObjectPtr Collection() const { return HostUI::CollectionOf(documentFrame.get()); }
    // A document of one page of text in a new view, added to the document
    // area and made its active view (on the UI thread); the "UIDocumentView".
    ObjectPtr ShowDocument();
    HELEMENT Ribbon(const std::string& selector) const;

    std::shared_ptr<UIEngine::UIThread> thread = std::make_shared<UIEngine::UIThread>();
    ObjectPtr dispatcher;
    ObjectPtr mainWindow, mainFrame, documentWindow, documentFrame, ribbonBar;
};

// Follows the active view: on Attached it posts its binding through the
// window's dispatcher; bound to the documents collection, it enables the
// Highlight drop-down part while a view is active and not read-only, as the
// Markup group's handler does. View events that come on another thread are
// handed over to the UI thread.
class FollowingHandler {
public:
    static constexpr const char* kSignatureName = "class FollowingHandler";
    using Interface = SOImpl::CppUIHandlerBase<FollowingHandler, SODetails::ServiceObjectTraits>;
    static ObjectPtr Make();
    static FollowingHandler& Of(const ObjectPtr& handler);

    uint32_t OnQueryServiceObject(uint32_t, ServiceObject**, uint8_t, uint8_t) { return 1; }
    uint32_t GetHandlerName(const char** name);
    uint32_t GetElementAttachedTo(HELEMENT* element);
    uint32_t HandleEvent(uint32_t*, HELEMENT, const UIEventRecord*) { return 1; }
    uint32_t Attached(ServiceObject* window, HELEMENT element);
    uint32_t Detached();

    // What it saw.
    std::atomic<uint32_t> attachedOnThread{0};
    HELEMENT attachedTo = nullptr;
    ServiceObject* attachedWindow = nullptr;
    std::atomic<int> detached{0};
    std::atomic<int> bindings{0};
    std::wstring bindingFailure; // the window's error record, when it had no collection
    std::vector<uint32_t> elementChangeThreads;

private:
    void Post(std::function<void()> work);
    void Bind();
    void Follow(ServiceObject* uiView);
    void ShowState(uint32_t viewState);

    SODetails::WeakRefPtr window_;
    ObjectPtr dispatcher_;
    const UIElementApi* api_ = nullptr;
    HELEMENT element_ = nullptr;
    std::vector<boost::shared_ptr<SOEvent::SubscriptionBase>> subscriptions_;
    std::vector<boost::shared_ptr<SOEvent::SubscriptionBase>> viewSubscriptions_;
};

} // namespace HostUITest
