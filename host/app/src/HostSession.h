// One run of the host: the logger's sink, the user options, the application
// with its plug-ins, and an orderly shutdown (application stopped, shared
// service objects released, process-wide singletons destroyed) while every
// module is still loaded.
#pragma once

#include <memory>

#include "Application.h"

struct UsrOpt_Options;

class HostSession {
public:
    HostSession();
    ~HostSession();

    // Starts the application on first use (its plug-ins placed into the
    // ribbon). The user options are loaded first, so that the plug-ins find
    // them in effect.
    Application& App();

    // The user options, loaded from the settings store on first use; null
    // when the store cannot be used, which is said once on standard error
    // (every module then works with the defaults).
    UsrOpt_Options* Options();

private:
    std::unique_ptr<Application> app_;
    UsrOpt_Options* options_ = nullptr;
    bool optionsAsked_ = false;
};
