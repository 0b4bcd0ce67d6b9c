// Loads the plug-ins of the host's "plugins" folder and drives them through
// their lifecycle: PluginMain, PluginInitialize, RegisterObjects and the
// ribbon's readiness; UnregisterObjects and DestroyInstance at the end. The
// application calls all of it on its UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/PluginRecords.h"

struct LoadedPlugin {
    std::string path;
    void* module = nullptr;
    PluginInterface pluginInterface{};
    bool started = false;
    std::string failure; // why the plug-in did not start
};

struct PublishedObject {
    std::string name;
    uint32_t reflectedAtom; // as the module's table holds it
    uint32_t atom;          // the name's atom
};

class PluginHost {
public:
    explicit PluginHost(std::string hostFolder);
    ~PluginHost();

    // Loads and starts every plug-in; failures are recorded, never fatal.
    void LoadAll();
    // Announces the ribbon bar to the plug-ins (they place their handlers).
    void AnnounceRibbon(ServiceObject* ribbonBar);
    // Stops every started plug-in.
    void UnloadAll();

    const std::vector<LoadedPlugin>& Plugins() const { return plugins_; }
    std::vector<PublishedObject> PublishedObjects(const LoadedPlugin& plugin) const;
    std::vector<std::string> UIActions() const;

private:
    void Load(const std::string& path);

    std::string hostFolder_;
    std::vector<LoadedPlugin> plugins_;
};
