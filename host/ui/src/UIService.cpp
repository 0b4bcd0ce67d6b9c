// "UIService": the registry of UI actions that modules announce, and the
// UI objects of the threads that run the host's windows.
#include <mutex>
#include <vector>

#include "Objects.h"
#include "Services.h"
#include "ui/UIService.h"

namespace {

struct UIActionRegistry {
    struct Entry {
        SLAtom action;
        UIActionRegistryOps::UIActionFactory factory;
    };
    std::mutex mutex;
    std::vector<Entry> entries;
};

struct UIActionRegistryInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<UIActionRegistryInterface, UIActionRegistry>;
    static constexpr const char* kName = "UIActionRegistry";
    static constexpr std::size_t kOperationCount = UIActionRegistryOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIActionRegistryOps::Register>(ops, &Register);
        SODetails::SetOperation<UIActionRegistryOps::GetAction>(ops, &GetAction);
    }
    // Registering an action again replaces its factory.
    static uint32_t Register(ServiceObject* self, SLAtom action,
                             UIActionRegistryOps::UIActionFactory factory) {
        if (action == 0 || !factory)
            return SODetails::kBadArgument;
        UIActionRegistry& r = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(r.mutex);
        for (auto& e : r.entries)
            if (e.action == action) {
                e.factory = factory;
                return SODetails::kOk;
            }
        r.entries.push_back({action, factory});
        return SODetails::kOk;
    }
    static uint32_t GetAction(ServiceObject* self, uint64_t index, SLAtom* action,
                              UIActionRegistryOps::UIActionFactory* factory) {
        UIActionRegistry& r = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(r.mutex);
        if (index >= r.entries.size())
            return SODetails::kNotAvailable;
        if (action)
            *action = r.entries[index].action;
        if (factory)
            *factory = r.entries[index].factory;
        return SODetails::kOk;
    }
};

struct UIService {
    SODetails::BasicServiceObjectPtr<> registry =
        SODetails::BasicServiceObjectPtr<>::Adopt(UIActionRegistryInterface::Object::New());
};

struct UIServiceInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<UIServiceInterface, UIService>;
    static constexpr const char* kName = "UIService";
    static constexpr std::size_t kOperationCount = UIServiceOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIServiceOps::GetUIActionRegistry>(ops, &GetUIActionRegistry);
        SODetails::SetOperation<UIServiceOps::GetThreadUIObject>(ops, &GetThreadUIObject);
    }
    static uint32_t GetUIActionRegistry(ServiceObject* self, ServiceObject** out) {
        return HostUIImpl::HandOut(Object::ImplOf(self).registry, out, L"UIService",
                                   L"GetUIActionRegistry");
    }
    static uint32_t GetThreadUIObject(ServiceObject*, uint32_t threadId, ServiceObject** out) {
        return HostUIImpl::HandOut(HostUIImpl::ThreadUIObject(threadId), out, L"UIService",
                                   L"GetThreadUIObject");
    }
};

} // namespace

namespace HostUIImpl {
ServiceObject* NewUIService() {
    return UIServiceInterface::Object::New();
}
} // namespace HostUIImpl
