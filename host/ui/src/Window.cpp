// "UIWnd": a window of the host's UI over an element tree of the UI engine,
// with its dispatcher, its handle and the service objects of the frame that
// owns it.
#include <cstdio>
#include <utility>

#include "Objects.h"
#include "platform/Platform.h"
#include "service-common/ServiceObjectException.h"
#include "ui-engine/UIDispatcher.h"
#include "uiengine/ElementApi.h"

namespace HostUIImpl {

namespace {

using Object = WindowInterface::Object;
constexpr const wchar_t* kWideName = WindowInterface::kWideName;

// The interfaces a window is asked for, named in its failure texts.
const char* const kKnownInterfaces[] = {"UIWnd",           "UIDispatcher",
                                        "UIMainFrame",     "UIDocumentFrame",
                                        "UIDocumentsCollection", "UIDocumentView",
                                        "BLDocumentView"};

std::wstring InterfaceText(uint32_t id) {
    for (const char* name : kKnownInterfaces)
        if (IdOf(name) == id)
            return L"\"" + std::wstring(name, name + std::char_traits<char>::length(name)) + L"\"";
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"with interface id 0x%08X", id);
    return text;
}

// Records why the window has no such object for the calling thread, and
// hands the caller the live record when it asked for one.
uint32_t Refuse(const std::wstring& message, void** errorRecord, const char* function, int line) {
    ReportFailure(ServiceObjectException(kNotAvailable, message, function, __FILE__,
                                         static_cast<uint32_t>(line)));
    if (errorRecord) {
        ErrorInfo info{};
        *errorRecord = nullptr;
        SODetails::GetErrorInfo(nullptr, &info, errorRecord);
    }
    return kNotAvailable;
}

struct WindowOperations {
    static uint32_t GetDispatcher(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"GetDispatcher");
        WindowImpl& window = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(window.mutex);
        if (!window.open || !window.dispatcher)
            return HOST_OBJECT_REPORT(kNotAvailable, kWideName, L"GetDispatcher");
        *out = ObjectPtr(window.dispatcher).Detach();
        return kOk;
    }

    static uint32_t GetRootElement(ServiceObject* self, HELEMENT* root) {
        if (!root)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"GetRootElement");
        WindowImpl& window = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(window.mutex);
        if (!window.tree)
            return HOST_OBJECT_REPORT(kNotAvailable, kWideName, L"GetRootElement");
        *root = window.tree->Root();
        return kOk;
    }

    static uint32_t GetElementApi(ServiceObject*, const UIElementApi** api) {
        if (!api)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"GetElementApi");
        *api = UIEngine::ElementApi();
        return kOk;
    }

    static uint32_t QueryServiceObject(ServiceObject* self, uint32_t id, uint32_t flags,
                                       ServiceObject** out, void** errorRecord) {
        if (errorRecord)
            *errorRecord = nullptr;
        if (!out || id == 0)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"QueryServiceObject");
        WindowImpl& window = Object::ImplOf(self);
        HostUI::ServiceLookup lookup;
        {
            std::lock_guard<std::mutex> lock(window.mutex);
            if (!window.open)
                return Refuse(L"the window is closed", errorRecord, __PRETTY_FUNCTION__, __LINE__);
            lookup = window.lookup;
        }
        ObjectPtr found;
        if (id == IdOf(WindowInterface::kName))
            found = ObjectPtr::Share(self);
        else if (id == IdOf("UIDispatcher"))
            found = window.dispatcher;
        else if (lookup)
            found = lookup(id);
        if (found) {
            *out = found.Detach();
            return kOk;
        }
        if (flags & UIWndOps::kForward)
            if (ObjectPtr owner = window.owner.Lock())
                if (auto code = SODetails::TryCall<UIWndOps::QueryServiceObject>(
                        owner.get(), id, flags, out, errorRecord))
                    return *code;
        return Refuse(L"the window has no " + InterfaceText(id) + L" service object", errorRecord,
                      __PRETTY_FUNCTION__, __LINE__);
    }

    static uint32_t IsValid(ServiceObject* self, bool* valid) {
        if (!valid)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"IsValid");
        WindowImpl& window = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(window.mutex);
        *valid = window.open;
        return kOk;
    }

    static uint32_t GetHandle(ServiceObject* self, uint64_t* handle) {
        if (!handle)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"GetHandle");
        *handle = Object::ImplOf(self).handle;
        return kOk;
    }
};

WindowImpl& WindowOf(ServiceObject* window) {
    return ImplOf<WindowInterface>(window, "window");
}

// Takes the window out of the registry and its element tree out of the
// window; the caller lets the tree go without the window's lock.
std::unique_ptr<UIEngine::ElementTree> Close(WindowImpl& window) {
    std::unique_ptr<UIEngine::ElementTree> tree;
    {
        std::lock_guard<std::mutex> lock(window.mutex);
        if (!window.open)
            return nullptr;
        window.open = false;
        tree = std::move(window.tree);
        window.lookup = nullptr;
    }
    UnregisterWindow(window.handle);
    Platform::DestroyHostWindow(window.handle);
    return tree;
}

} // namespace

uint32_t IdOf(const char* interfaceName) {
    return SODetails::SequenceHash(interfaceName);
}

void WindowInterface::FillOperations(SODetails::Operation* ops) {
    using O = WindowOperations;
    SODetails::SetOperation<UIWndOps::GetDispatcher>(ops, &O::GetDispatcher);
    SODetails::SetOperation<UIWndOps::GetRootElement>(ops, &O::GetRootElement);
    SODetails::SetOperation<UIWndOps::GetElementApi>(ops, &O::GetElementApi);
    SODetails::SetOperation<UIWndOps::QueryServiceObject>(ops, &O::QueryServiceObject);
    SODetails::SetOperation<UIWndOps::IsValid>(ops, &O::IsValid);
    SODetails::SetOperation<UIWndOps::GetHandle>(ops, &O::GetHandle);
}

WindowImpl::WindowImpl(std::unique_ptr<UIEngine::ElementTree> elements, ObjectPtr windowDispatcher,
                       WeakRefPtr ownerWindow)
    : handle(Platform::CreateHostWindow()), dispatcher(std::move(windowDispatcher)),
      owner(std::move(ownerWindow)), tree(std::move(elements)) {}

WindowImpl::~WindowImpl() {
    // The tree goes after the window has left the registry, so that its
    // handlers, detached as it goes, see a closed window.
    Close(*this).reset();
}

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

ObjectPtr OpenWindow(std::unique_ptr<UIEngine::ElementTree> tree, ServiceObject* dispatcher,
                     ServiceObject* owner) {
    if (owner)
        WindowOf(owner);
    ObjectPtr window = ObjectPtr::Adopt(WindowInterface::Object::New(
        std::move(tree), ObjectPtr::Share(dispatcher), WeakRefPtr::Of(owner)));
    RegisterWindow(WindowOf(window.get()).handle, window.get());
    return window;
}

void SetServiceLookup(ServiceObject* window, ServiceLookup lookup) {
    WindowImpl& impl = WindowOf(window);
    std::lock_guard<std::mutex> lock(impl.mutex);
    if (impl.open)
        impl.lookup = std::move(lookup);
}

void CloseWindow(ServiceObject* window) {
    Close(WindowOf(window)).reset();
}

bool IsOpen(ServiceObject* window) {
    WindowImpl& impl = WindowOf(window);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.open;
}

uint64_t WindowHandle(ServiceObject* window) {
    return WindowOf(window).handle;
}

UIEngine::ElementTree* WindowTree(ServiceObject* window) {
    WindowImpl& impl = WindowOf(window);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.tree.get();
}

} // namespace HostUI
