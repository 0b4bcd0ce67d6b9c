// The plug-in entry and the plug-in's registration with the host.
#include <boost/format.hpp>

#include <memory>

#include "FontGroupTextMarkupControlHandler.h"
#include "ModuleRegistry.h"
#include "PluginInstance.h"
#include "bl/BLService.h"
#include "service-common/Localize.h"
#include "service-common/Log.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "support-proxy/BrandProxy.h"
#include "svcbroker.h"
#include "ui/UIService.h"

namespace {

const SODetails::AtomStatic kBLServiceForInputHandlers("BLService");
const SODetails::AtomStatic kBLServiceForObjects("BLService");

const wchar_t* const kPluginName = L"Text Markup Plugin";
const wchar_t* const kPluginDescription = L"Text Markup Plugin allows you to markup a text.";
const wchar_t* const kLegalNoticePattern = L"Text Markup Plugin. %1%";

const char* const kModulePath = "plugins\\vellum-marker.dll";

// Built in place: PluginInfo points into the strings.
void BuildDisplayStrings(PluginDisplayStrings& strings) {
    try {
        const wchar_t* legal = BrandProxy::Raw::GetLegalCopyright();
        strings.legalNotice = (boost::wformat(kLegalNoticePattern) % legal).str();
        strings.description = Localize(kPluginDescription);
        strings.name = kPluginName;
    } catch (const ServiceObjectException& e) {
        // A load-time failure must not end the process: remember it, and
        // PluginMain refuses to start the plug-in.
        strings.failureCode = e.Code() ? e.Code() : SODetails::kNotAvailable;
        LogCaught(e, SODetails::kLogSeverityFailure);
    } catch (const std::exception&) {
        strings.failureCode = SODetails::kNotAvailable;
    }
    strings.info.size = sizeof(PluginInfo);
    strings.info.name = strings.name.c_str();
    strings.info.description = strings.description.c_str();
    strings.info.legalNotice = strings.legalNotice.c_str();
}

PluginDisplayStrings gDisplayStrings;
const bool gDisplayStringsBuilt = (BuildDisplayStrings(gDisplayStrings), true);

// The host's callbacks, as the last PluginInitialize gave them.
uint32_t gHostCookie = 0;
HostApi (*gGetHostApi)(uint32_t) = nullptr;
uint32_t (*gGetNameId)(uint32_t, const char*, uint32_t*) = nullptr;
HostApi gHostApi{};

// The plug-in instance; destroyed at the latest when the module unloads.
std::unique_ptr<PluginInstance> gInstance;

} // namespace

PluginInstance::PluginInstance() : info(gDisplayStrings.info) {}

namespace {

// --- Ribbon notifications ------------------------------------------------

struct HandlerPlacement {
    const char* handlerName;
    uint32_t slot;
    const wchar_t* group;
};
const HandlerPlacement kMarkupPlacement = {"UIReviewMarkupGroupHandler", 2, L"Markup"};
const HandlerPlacement kFontPlacement = {"UIReviewFontGroupTextMarkupControlHandler", 9, L"Font"};

SODetails::BasicServiceObjectPtr<> GetHandlerObject(const HandlerPlacement& placement) {
    SODetails::BasicServiceObjectPtr<> handler;
    uint32_t id = 0xFFFFFFFFu;
    if (gGetNameId)
        gGetNameId(gHostCookie, placement.handlerName, &id);
    if (gHostApi.GetHandlerObject)
        gHostApi.GetHandlerObject(gHostCookie, kHandlerObjectKind, id, handler.Receive(),
                                  placement.slot);
    return handler;
}

void OnRibbonBarInitialized(SODetails::BasicServiceObjectPtr<> ribbonBar, void*, bool*) {
    if (!ribbonBar)
        return;
    for (const HandlerPlacement* placement : {&kMarkupPlacement, &kFontPlacement}) {
        SODetails::BasicServiceObjectPtr<> handler = GetHandlerObject(*placement);
        if (handler)
            SODetails::CallChecked<RibbonBarOps::Place>(ribbonBar.get(), placement->group,
                                                        handler.get());
    }
}

void OnRibbonBarCustomPanelChanged(SODetails::BasicServiceObjectPtr<> ribbonBar, void*, bool*) {
    if (!ribbonBar)
        return;
    bool custom = false;
    if (SODetails::CallChecked<RibbonBarOps::HasCustomHandler>(ribbonBar.get(), L"Markup",
                                                               &custom) &&
        custom) {
        SODetails::BasicServiceObjectPtr<> handler = GetHandlerObject(kMarkupPlacement);
        if (handler)
            SODetails::CallChecked<RibbonBarOps::Replace>(ribbonBar.get(), L"Markup",
                                                          handler.get());
    }
    if (SODetails::CallChecked<RibbonBarOps::HasCustomHandler>(ribbonBar.get(), L"Font",
                                                               &custom) &&
        custom) {
        SODetails::BasicServiceObjectPtr<> handler = FontGroupTextMarkupControlHandler::Create();
        SODetails::CallChecked<RibbonBarOps::Replace>(ribbonBar.get(), L"Font", handler.get());
    }
}

// --- The plug-in interface ------------------------------------------------

uint32_t CheckAlive() {
    return gInstance ? SODetails::kOk : SODetails::kNotAvailable;
}

void RegisterUIActions() {
    static const SODetails::AtomStatic kUIService("UIService");
    for (UIActionRegistration* node = UIActionRegistration::Head(); node; node = node->next) {
        try {
            SODetails::BasicServiceObjectPtr<> service = SP::GetServiceObject(kUIService, "UIService");
            SODetails::BasicServiceObjectPtr<> registry;
            SODetails::CallChecked<UIServiceOps::GetUIActionRegistry>(service.get(),
                                                                      registry.Receive());
            if (!registry)
                continue;
            SODetails::CallChecked<UIActionRegistryOps::Register>(registry.get(), node->atom,
                                                                  node->factory);
        } catch (const ServiceObjectException& e) {
            LogCaught(e, SODetails::kLogSeverityRegistration);
        }
    }
}

void RegisterInputHandlers() {
    if (InputHandlerRegistration::ListRegistered())
        return;
    for (InputHandlerRegistration* node = InputHandlerRegistration::Head(); node;
         node = node->next) {
        if (node->registered)
            continue;
        SODetails::BasicServiceObjectPtr<> service =
            SP::GetServiceObject(kBLServiceForInputHandlers, nullptr);
        SODetails::BasicServiceObjectPtr<> registry;
        SODetails::CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(),
                                                                      registry.Receive());
        service.Reset();
        if (registry) {
            if (node->atom == SODetails::kUnresolvedAtom)
                node->atom = SODetails::AtomFromString(node->name);
            SODetails::CallChecked<BLInputHandlerRegistryOps::Register>(registry.get(), node->atom,
                                                                        node->factory.get());
        }
        node->registered = true;
    }
    InputHandlerRegistration::MarkListRegistered();
}

uint32_t RegisterObjects() {
    if (!gInstance)
        return SODetails::kNotAvailable;
    try {
        RegisterUIActions();
        RegisterInputHandlers();
    } catch (const ServiceObjectException& e) {
        return e.Code();
    }
    ServiceProviderRegService("UIReviewMarkupGroupHandler", "UIReviewMarkupGroupHandler",
                              kModulePath, "multiple", 0);
    ServiceProviderRegService("UIReviewFontGroupTextMarkupControlHandler",
                              "UIReviewFontGroupTextMarkupControlHandler", kModulePath, "single",
                              0);
    return SODetails::kOk;
}

uint32_t UnregisterObjects() {
    if (!gInstance)
        return SODetails::kNotAvailable;
    gInstance->subscriptions.clear();
    ServiceProviderUnregService("UIReviewMarkupGroupHandler", "UIReviewMarkupGroupHandler",
                                kModulePath, "multiple");
    ServiceProviderUnregService("UIReviewFontGroupTextMarkupControlHandler",
                                "UIReviewFontGroupTextMarkupControlHandler", kModulePath,
                                "single");
    return SODetails::kOk;
}

uint32_t DestroyInstance() {
    if (!gInstance)
        return SODetails::kNotAvailable;
    std::unique_ptr<PluginInstance> instance = std::move(gInstance);
    instance.reset();
    return SODetails::kOk;
}

void Subscribe(const char* notification, ns::NotificationHandler handler) {
    SLAtom atom = SODetails::AtomFromString(notification);
    gInstance->subscriptions.push_back(ns::GlobalResponder::Subscribe(atom, std::move(handler)));
}

} // namespace

extern "C" {

SO_EXPORT uint32_t PluginMain(const PluginHostInfo* in, PluginEntryInfo* out) {
    if (!in || !out)
        return SODetails::kBadArgument;
    if (in->size != sizeof(PluginHostInfo))
        return SODetails::kBadRecordSize;
    if (gDisplayStrings.failureCode != SODetails::kOk)
        return gDisplayStrings.failureCode;
    // The new instance takes the place first; the old one goes after.
    std::unique_ptr<PluginInstance> previous = std::exchange(gInstance, std::make_unique<PluginInstance>());
    previous.reset();
    if (in->interfaceVersion != gInstance->interfaceVersion)
        return SODetails::kVersionMismatch;
    out->size = sizeof(PluginEntryInfo);
    out->kind = gInstance->kind;
    out->version = gInstance->version;
    out->interfaceVersion = gInstance->interfaceVersion;
    out->initialize = &PluginInitialize;
    return SODetails::kOk;
}

uint32_t PluginInitialize(const PluginInitParams* params) {
    if (!params)
        return SODetails::kBadArgument;
    if (!gInstance)
        return SODetails::kNotAvailable;
    if (params->size != sizeof(PluginInitParams))
        return SODetails::kBadRecordSize;
    gHostCookie = params->cookie;
    gGetHostApi = params->GetHostApi;
    gGetNameId = params->GetNameId;
    if (gGetHostApi)
        gHostApi = gGetHostApi(gHostCookie);
    PluginInterface* pluginInterface = params->pluginInterface;
    if (!pluginInterface)
        return SODetails::kBadArgument;
    if (pluginInterface->size != sizeof(PluginInterface))
        return SODetails::kBadRecordSize;
    pluginInterface->info = &gInstance->info;
    pluginInterface->checkAlive0 = &CheckAlive;
    pluginInterface->checkAlive1 = &CheckAlive;
    pluginInterface->registerObjects = &RegisterObjects;
    pluginInterface->unregisterObjects = &UnregisterObjects;
    pluginInterface->checkAlive2 = &CheckAlive;
    pluginInterface->destroyInstance = &DestroyInstance;
    try {
        Subscribe("Notification_UIRIbbonBar_Initialized", &OnRibbonBarInitialized);
        Subscribe("Notification_UIRIbbonBar_CustomPanel_Changed", &OnRibbonBarCustomPanelChanged);
    } catch (const ServiceObjectException& e) {
        return e.Code();
    }
    return SODetails::kOk;
}
}
