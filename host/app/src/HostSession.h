// One run of the host: the logger's sink, the plug-ins, and an orderly
// shutdown (plug-ins stopped, shared service objects released, process-wide
// singletons destroyed) while every module is still loaded.
#pragma once

#include <memory>

#include "PluginHost.h"

class HostSession {
public:
    HostSession();
    ~HostSession();

    // Loads and starts the plug-ins, then announces the ribbon.
    PluginHost& Plugins();

private:
    std::unique_ptr<PluginHost> plugins_;
};
