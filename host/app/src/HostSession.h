// One run of the host: the logger's sink, the user options, the plug-ins,
// and an orderly shutdown (plug-ins stopped, shared service objects
// released, process-wide singletons destroyed) while every module is still
// loaded.
#pragma once

#include <memory>

#include "PluginHost.h"

struct UsrOpt_Options;

class HostSession {
public:
    HostSession();
    ~HostSession();

    // Loads and starts the plug-ins, then announces the ribbon. The user
    // options are loaded first, so that the plug-ins find them in effect.
    PluginHost& Plugins();

    // The user options, loaded from the settings store on first use; null
    // when the store cannot be used, which is said once on standard error
    // (every module then works with the defaults).
    UsrOpt_Options* Options();

private:
    std::unique_ptr<PluginHost> plugins_;
    UsrOpt_Options* options_ = nullptr;
    bool optionsAsked_ = false;
};
