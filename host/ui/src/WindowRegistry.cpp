// The registry of the host's open windows by handle: what "UIEngine" looks
// windows up in, and what the platform layer's window check asks on systems
// without a window system of their own.
#include <map>

#include "Objects.h"

namespace HostUIImpl {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<uint64_t, WeakRefPtr> windows;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry; // outlives every window, at exit too
    return *registry;
}

} // namespace

void RegisterWindow(uint64_t handle, ServiceObject* window) {
    WeakRefPtr weak = WeakRefPtr::Of(window);
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.windows[handle] = std::move(weak);
}

void UnregisterWindow(uint64_t handle) {
    WeakRefPtr gone; // let go without the lock
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (auto it = registry.windows.find(handle); it != registry.windows.end()) {
        gone = std::move(it->second);
        registry.windows.erase(it);
    }
}

} // namespace HostUIImpl

namespace HostUI {

ObjectPtr WindowOfHandle(uint64_t handle) {
    HostUIImpl::Registry& registry = HostUIImpl::TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.windows.find(handle);
    return it == registry.windows.end() ? nullptr : it->second.Lock();
}

} // namespace HostUI

// The window check of the platform layer (Platform::IsWindow).
extern "C" SO_EXPORT int VellumHostIsWindow(uint64_t handle) {
    HostUIImpl::Registry& registry = HostUIImpl::TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.windows.count(handle) != 0 ? 1 : 0;
}
