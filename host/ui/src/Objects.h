// The UI objects of this library and what they tell each other.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "hostui/HostUI.h"
#include "service-common/HostObjects.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/WeakRefPtr.h"
#include "ui/UIDocumentFrame.h"
#include "ui/UIDocumentView.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIMainFrame.h"
#include "ui/UIWnd.h"
#include "uiengine/ElementTree.h"

namespace HostUIImpl {

using HostUI::ObjectPtr;
using SODetails::kBadArgument;
using SODetails::kNotAvailable;
using SODetails::kOk;
using SODetails::WeakRefPtr;

// The interface id of an interface name.
uint32_t IdOf(const char* interfaceName);

// The implementation behind one of this library's objects; throws
// std::invalid_argument naming `what` for anything else.
template <class Interface> typename Interface::Impl& ImplOf(ServiceObject* object, const char* what) {
    typename Interface::Impl* impl = SODetails::ImplOrNull<Interface>(object);
    if (!impl)
        throw std::invalid_argument(std::string("not a ") + what + " of this host");
    return *impl;
}

// What an operation that hands out an object does: a new reference through
// `out`, or kBadArgument (recorded) for a null `out`.
inline uint32_t HandOut(ObjectPtr object, ServiceObject** out, const wchar_t* interfaceName,
                        const wchar_t* operationName) {
    if (!out)
        return HOST_OBJECT_REPORT(kBadArgument, interfaceName, operationName);
    *out = object.Detach();
    return kOk;
}

// ---------------------------------------------------------------------------
// "UIWnd"

struct WindowImpl : SODetails::ServiceObjectSelf {
    WindowImpl(std::unique_ptr<UIEngine::ElementTree> tree, ObjectPtr dispatcher,
               WeakRefPtr owner);
    ~WindowImpl();
    WindowImpl(const WindowImpl&) = delete;
    WindowImpl& operator=(const WindowImpl&) = delete;

    const uint64_t handle;
    const ObjectPtr dispatcher;
    const WeakRefPtr owner;

    std::mutex mutex; // guards everything below
    bool open = true;
    std::unique_ptr<UIEngine::ElementTree> tree;
    HostUI::ServiceLookup lookup;
};

struct WindowInterface
    : SODetails::InterfaceOf<WindowInterface, WindowImpl, UIWndOps::kOperationCount> {
    static constexpr const char* kName = "UIWnd";
    static constexpr const wchar_t* kWideName = L"UIWnd";
    static void FillOperations(SODetails::Operation* ops);
};

// The window registry: the open windows by handle.
void RegisterWindow(uint64_t handle, ServiceObject* window);
void UnregisterWindow(uint64_t handle);

// ---------------------------------------------------------------------------
// "UIMainFrame" and "UIDocumentFrame"

struct MainFrameImpl : SODetails::ServiceObjectSelf {
    explicit MainFrameImpl(ObjectPtr window) : window(std::move(window)) {}

    const ObjectPtr window;
    std::mutex mutex; // guards documentFrames
    std::vector<ObjectPtr> documentFrames; // the active one last
    SODetails::EventSourceFor<UIMainFrameEvents::OnChildDocumentFrameCreated>
        onChildDocumentFrameCreated;
};

struct MainFrameInterface
    : SODetails::InterfaceOf<MainFrameInterface, MainFrameImpl, UIMainFrameOps::kOperationCount> {
    static constexpr const char* kName = "UIMainFrame";
    static constexpr const wchar_t* kWideName = L"UIMainFrame";
    static void FillOperations(SODetails::Operation* ops);
};

struct DocumentFrameImpl {
    DocumentFrameImpl(ObjectPtr window, ObjectPtr collection)
        : window(std::move(window)), collection(std::move(collection)) {}
    const ObjectPtr window;
    const ObjectPtr collection;
};

struct DocumentFrameInterface
    : SODetails::InterfaceOf<DocumentFrameInterface, DocumentFrameImpl,
                             UIDocumentFrameOps::kOperationCount> {
    static constexpr const char* kName = "UIDocumentFrame";
    static constexpr const wchar_t* kWideName = L"UIDocumentFrame";
    static void FillOperations(SODetails::Operation* ops);
};

// ---------------------------------------------------------------------------
// "UIDocumentsCollection"

struct CollectionImpl {
    std::mutex mutex; // guards the views and the side-by-side state
    std::vector<ObjectPtr> views; // in the order they were added
    ObjectPtr active;
    std::vector<ObjectPtr> sbsViews;
    ObjectPtr activeSbS; // set in side-by-side mode

    template <class Slot> using Source = SODetails::EventSourceFor<Slot>;
    Source<UIDocumentsCollectionEvents::OnDocumentViewCreated> onDocumentViewCreated;
    Source<UIDocumentsCollectionEvents::OnDocumentViewActivated> onDocumentViewActivated;
    Source<UIDocumentsCollectionEvents::OnDocumentViewDeactivated> onDocumentViewDeactivated;
    Source<UIDocumentsCollectionEvents::OnDocumentViewClose> onDocumentViewClose;
    Source<UIDocumentsCollectionEvents::OnDocumentViewDestroyed> onDocumentViewDestroyed;
    Source<UIDocumentsCollectionEvents::OnSbSViewCreated> onSbSViewCreated;
    Source<UIDocumentsCollectionEvents::OnSbSViewActivated> onSbSViewActivated;
    Source<UIDocumentsCollectionEvents::OnSbSViewDeactivated> onSbSViewDeactivated;
    Source<UIDocumentsCollectionEvents::OnSbSViewDestroyed> onSbSViewDestroyed;
};

struct CollectionInterface
    : SODetails::InterfaceOf<CollectionInterface, CollectionImpl,
                             UIDocumentsCollectionOps::kOperationCount> {
    static constexpr const char* kName = "UIDocumentsCollection";
    static constexpr const wchar_t* kWideName = L"UIDocumentsCollection";
    static void FillOperations(SODetails::Operation* ops);
};

ObjectPtr NewCollection();

// ---------------------------------------------------------------------------
// "UIDocumentView" and "UIDocumentViewSbS"

struct DocumentViewImpl {
    explicit DocumentViewImpl(ObjectPtr blView) : blView(std::move(blView)) {}
    const ObjectPtr blView;
};

struct DocumentViewInterface
    : SODetails::InterfaceOf<DocumentViewInterface, DocumentViewImpl,
                             UIDocumentViewOps::kOperationCount> {
    static constexpr const char* kName = "UIDocumentView";
    static constexpr const wchar_t* kWideName = L"UIDocumentView";
    static void FillOperations(SODetails::Operation* ops);
};

// ---------------------------------------------------------------------------
// The UI objects of threads ("UIService")

// The UI object of the thread (a new reference), or null for a thread that
// runs no windows.
ObjectPtr ThreadUIObject(uint32_t threadId);

} // namespace HostUIImpl
