#include "RibbonBar.h"

#include <mutex>

#include "service-common/ServiceObjectCppTheConcrete.h"
#include "ui/UIService.h"

namespace RibbonBar {

namespace {

struct Bar {
    std::mutex mutex;
    std::vector<std::pair<std::wstring, SODetails::BasicServiceObjectPtr<>>> panels;
};

struct RibbonBarInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<RibbonBarInterface, Bar>;
    static constexpr const char* kName = "UIRibbonBar";
    static constexpr std::size_t kOperationCount = RibbonBarOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<RibbonBarOps::Place>(ops, &Place);
        SODetails::SetOperation<RibbonBarOps::Replace>(ops, &Place);
        SODetails::SetOperation<RibbonBarOps::HasCustomHandler>(ops, &HasCustomHandler);
    }
    // Placing into a panel that has a handler replaces it.
    static uint32_t Place(ServiceObject* self, const wchar_t* group, ServiceObject* handler) {
        if (!group || !handler)
            return SODetails::kBadArgument;
        Bar& bar = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(bar.mutex);
        for (auto& panel : bar.panels)
            if (panel.first == group) {
                panel.second = SODetails::BasicServiceObjectPtr<>::Share(handler);
                return SODetails::kOk;
            }
        bar.panels.emplace_back(group, SODetails::BasicServiceObjectPtr<>::Share(handler));
        return SODetails::kOk;
    }
    // This ribbon has no user-customised panels.
    static uint32_t HasCustomHandler(ServiceObject*, const wchar_t* group, bool* flag) {
        if (!group || !flag)
            return SODetails::kBadArgument;
        *flag = false;
        return SODetails::kOk;
    }
};

} // namespace

SODetails::BasicServiceObjectPtr<> Create() {
    return SODetails::BasicServiceObjectPtr<>::Adopt(RibbonBarInterface::Object::New());
}

std::vector<std::pair<std::wstring, SODetails::BasicServiceObjectPtr<>>>
Placements(ServiceObject* ribbonBar) {
    Bar& bar = RibbonBarInterface::Object::ImplOf(ribbonBar);
    std::lock_guard<std::mutex> lock(bar.mutex);
    return bar.panels;
}

} // namespace RibbonBar
