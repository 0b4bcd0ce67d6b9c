#include "PluginHost.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

#include "platform/Platform.h"
#include "service-common/Atom.h"
#include "service-common/NotificationService.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "service-common/TextConversion.h"
#include "strpool.h"
#include "svcbroker.h"
#include "ui/UIService.h"

namespace {

// The host's ids for handler names: their index in this table.
std::mutex gHandlerNamesMutex;
std::vector<std::string> gHandlerNames;

uint32_t GetNameId(uint32_t, const char* name, uint32_t* id) {
    if (!name || !id)
        return SODetails::kBadArgument;
    std::lock_guard<std::mutex> lock(gHandlerNamesMutex);
    auto it = std::find(gHandlerNames.begin(), gHandlerNames.end(), name);
    if (it == gHandlerNames.end())
        it = gHandlerNames.insert(gHandlerNames.end(), name);
    *id = static_cast<uint32_t>(it - gHandlerNames.begin());
    return SODetails::kOk;
}

// Handler objects come from the service provider, which loads the
// module that registered the handler's name.
uint32_t GetHandlerObject(uint32_t, uint32_t kind, uint32_t id, ServiceObject** out, uint32_t) {
    if (!out || kind != kHandlerObjectKind)
        return SODetails::kBadArgument;
    std::string name;
    {
        std::lock_guard<std::mutex> lock(gHandlerNamesMutex);
        if (id >= gHandlerNames.size())
            return SODetails::kNotAvailable;
        name = gHandlerNames[id];
    }
    uint32_t systemError = 0;
    return ServiceProviderGetServiceObject(SODetails::AtomFromString(name.c_str()), out,
                                           &systemError);
}

HostApi GetHostApi(uint32_t) {
    return HostApi{&GetHandlerObject, nullptr, nullptr};
}

using PluginMainFn = uint32_t (*)(const PluginHostInfo*, PluginEntryInfo*);

std::string Describe(uint32_t code) {
    char text[32];
    std::snprintf(text, sizeof text, "code %u (0x%X)", code, code);
    return text;
}

} // namespace

PluginHost::PluginHost(std::string hostFolder) : hostFolder_(std::move(hostFolder)) {}

PluginHost::~PluginHost() {
    UnloadAll();
}

void PluginHost::LoadAll() {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(hostFolder_) / "plugins";
    std::string suffix = fs::path(Platform::NativeModuleName("x.dll")).extension().string();
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && entry.path().extension() == suffix)
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths)
        Load(path);
}

void PluginHost::Load(const std::string& path) {
    LoadedPlugin plugin;
    plugin.path = path;
    uint32_t systemError = 0;
    std::string reason;
    plugin.module = Platform::LoadModule(path, &systemError, &reason);
    auto fail = [&](std::string why) {
        plugin.failure = std::move(why);
        plugins_.push_back(plugin);
    };
    if (!plugin.module)
        return fail("cannot load the module: " + reason);
    auto pluginMain =
        reinterpret_cast<PluginMainFn>(Platform::FindSymbol(plugin.module, "PluginMain"));
    if (!pluginMain)
        return fail("the module has no PluginMain");
    PluginHostInfo hostInfo{};
    hostInfo.size = sizeof hostInfo;
    hostInfo.interfaceVersion = kPluginInterfaceVersion;
    PluginEntryInfo entry{};
    if (uint32_t code = pluginMain(&hostInfo, &entry))
        return fail("PluginMain failed with " + Describe(code));
    PluginInitParams params{};
    params.size = sizeof params;
    params.cookie = 1;
    params.GetHostApi = &GetHostApi;
    params.GetNameId = &GetNameId;
    params.pluginInterface = &plugin.pluginInterface;
    plugin.pluginInterface.size = sizeof(PluginInterface);
    if (uint32_t code = entry.initialize(&params))
        return fail("PluginInitialize failed with " + Describe(code));
    if (uint32_t code = plugin.pluginInterface.registerObjects())
        return fail("RegisterObjects failed with " + Describe(code));
    plugin.started = true;
    plugins_.push_back(plugin);
}

void PluginHost::AnnounceRibbon(ServiceObject* ribbonBar) {
    SODetails::BasicServiceObjectPtr<> notifier = SODetails::GetGlobalNotifier();
    bool flag = false;
    SODetails::CallChecked<NotifierOps::Post>(
        notifier.get(), SODetails::AtomFromString("Notification_UIRIbbonBar_Initialized"),
        ribbonBar, nullptr, &flag);
}

void PluginHost::UnloadAll() {
    for (LoadedPlugin& plugin : plugins_) {
        if (!plugin.started)
            continue;
        plugin.pluginInterface.unregisterObjects();
        plugin.pluginInterface.destroyInstance();
        plugin.started = false;
    }
}

std::vector<PublishedObject> PluginHost::PublishedObjects(const LoadedPlugin& plugin) const {
    std::vector<PublishedObject> objects;
    auto reflect = reinterpret_cast<ReflectServiceObjectInfoFn>(
        Platform::FindSymbol(plugin.module, "ReflectServiceObjectInfo"));
    const ServiceObjectInfo* entries = nullptr;
    uint32_t count = 0;
    if (!reflect || reflect(&entries, &count) != SODetails::kOk)
        return objects;
    for (uint32_t i = 0; i < count; ++i)
        objects.push_back(
            {entries[i].name, entries[i].atom, SODetails::AtomFromString(entries[i].name)});
    return objects;
}

std::vector<std::string> PluginHost::UIActions() const {
    std::vector<std::string> names;
    static const SODetails::AtomStatic kUIService("UIService");
    SODetails::BasicServiceObjectPtr<> service = SP::GetServiceObject(kUIService, "UIService");
    SODetails::BasicServiceObjectPtr<> registry;
    SODetails::CallChecked<UIServiceOps::GetUIActionRegistry>(service.get(), registry.Receive());
    SLAtom action = 0;
    for (uint64_t i = 0; SODetails::TryCall<UIActionRegistryOps::GetAction>(
                             registry.get(), i, &action, nullptr) == SODetails::kOk;
         ++i) {
        const char* name = nullptr;
        SLGetStringFromAtom(action, &name);
        names.push_back(name ? name : "?");
    }
    return names;
}
