#include "ModuleRegistry.h"

#include <memory>
#include <vector>

#include "service-common/ModuleExport.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObject.h"
#include "svcbroker.h"

namespace {
// Constant-initialised, so they are valid before any static initialiser runs.
ServiceObjectRegistration* gServiceObjects = nullptr;
InputHandlerRegistration* gInputHandlers = nullptr;
bool gInputHandlersRegistered = false;
UIActionRegistration* gUIActions = nullptr;
} // namespace

ServiceObjectRegistration::ServiceObjectRegistration(const char* name, Factory factory)
    : name(name), factory(std::move(factory)), next(gServiceObjects) {
    gServiceObjects = this;
}

ServiceObjectRegistration* ServiceObjectRegistration::Head() {
    return gServiceObjects;
}

InputHandlerRegistration::InputHandlerRegistration(const char* name,
                                                   SODetails::BasicServiceObjectPtr<> factory)
    : name(name), factory(std::move(factory)), next(gInputHandlers) {
    gInputHandlers = this;
    gInputHandlersRegistered = false;
}

InputHandlerRegistration* InputHandlerRegistration::Head() {
    return gInputHandlers;
}

bool InputHandlerRegistration::ListRegistered() {
    return gInputHandlersRegistered;
}

void InputHandlerRegistration::MarkListRegistered() {
    gInputHandlersRegistered = true;
}

UIActionRegistration::UIActionRegistration(const char* name, Factory factory)
    : atom(SODetails::AtomFromString(name)), factory(factory), next(gUIActions) {
    gUIActions = this;
}

UIActionRegistration* UIActionRegistration::Head() {
    return gUIActions;
}

// --- The service-object module entries ---------------------------------

namespace {

// Built on the first call, kept until unload.
const std::vector<ServiceObjectInfo>& ReflectionTable() {
    static const std::vector<ServiceObjectInfo> table = [] {
        std::vector<ServiceObjectInfo> entries;
        for (ServiceObjectRegistration* node = gServiceObjects; node; node = node->next)
            entries.push_back({node->atom, 0, node->name});
        if (!entries.empty())
            entries.push_back({0, 0, nullptr});
        return entries;
    }();
    return table;
}

// The module's table of service objects lists the two UI handlers and
// nothing else, and hosts rely on that count. A UI action is announced to
// "UIService" instead, yet a host may also ask the module for it by its
// name's atom: so an atom that no service-object node has is looked up among
// the UI actions before the module says it does not make it.
uint32_t CreateUIAction(uint32_t atom, ServiceObject** out) {
    for (UIActionRegistration* node = gUIActions; node; node = node->next) {
        if (node->atom != atom)
            continue;
        if (!node->factory)
            return kSPFactoryFailed;
        ServiceObject* made = nullptr;
        const uint32_t code = node->factory(&made);
        SODetails::BasicServiceObjectPtr<> object = SODetails::BasicServiceObjectPtr<>::Adopt(made);
        if (code != SODetails::kOk || !object)
            return kSPFactoryFailed;
        *out = object.Detach();
        return SODetails::kOk;
    }
    return kSPServiceNotSupportedByModule;
}

} // namespace

extern "C" {

SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    if (atom == 0 || !out)
        return SODetails::kBadArgument;
    ServiceObjectRegistration* node = gServiceObjects;
    for (; node; node = node->next) {
        if (node->atom == SODetails::kUnresolvedAtom)
            node->atom = SODetails::AtomFromString(node->name);
        if (node->atom == atom)
            break;
    }
    if (!node)
        return CreateUIAction(atom, out);
    if (!node->factory)
        return kSPFactoryFailed;
    SODetails::BasicServiceObjectPtr<> object = node->factory();
    if (!object)
        return kSPFactoryFailed;
    *out = object.Detach();
    return SODetails::kOk;
}

SO_EXPORT uint32_t ReflectServiceObjectInfo(const ServiceObjectInfo** table, uint32_t* count) {
    if (!table || !count)
        return SODetails::kBadArgument;
    const std::vector<ServiceObjectInfo>& entries = ReflectionTable();
    if (entries.empty()) {
        *table = nullptr;
        *count = 0;
        return kSPNoPublicObjects;
    }
    *table = entries.data();
    *count = static_cast<uint32_t>(entries.size() - 1);
    return SODetails::kOk;
}

// One function serves the three remaining module entries.
static uint32_t ServiceObjectModuleNotification(void*, void*) {
    return SODetails::kOk;
}

SO_EXPORT uint32_t ServiceObjectModuleInitialize(void* a, void* b) {
    return ServiceObjectModuleNotification(a, b);
}
SO_EXPORT uint32_t ServiceObjectModuleOnCleanup(void* a, void* b) {
    return ServiceObjectModuleNotification(a, b);
}
SO_EXPORT uint32_t ServiceObjectModuleOnFree(void* a, void* b) {
    return ServiceObjectModuleNotification(a, b);
}
}
