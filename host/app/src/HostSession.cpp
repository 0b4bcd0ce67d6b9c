#include "HostSession.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "HostOptions.h"
#include "InAppTracking.h"
#include "journal.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "strpool.h"
#include "svcbroker.h"

HostSession::HostSession() {
    // Records go to standard error unless VELLUM_LOG names a file.
    if (const char* log = std::getenv("VELLUM_LOG"))
        JournalSetSinkFile(log);
    RegisterInAppTracking();
}

HostSession::~HostSession() {
    app_.reset();
    ServiceProviderReleaseInstances();
    SLTeardownSingletonStaticData();
}

Application& HostSession::App() {
    if (!app_) {
        Options();
        app_ = std::make_unique<Application>(ServiceProviderGetHostFolder());
    }
    return *app_;
}

UsrOpt_Options* HostSession::Options() {
    if (optionsAsked_)
        return options_;
    optionsAsked_ = true;
    std::string problem;
    try {
        options_ = &LoadUserOptions();
    } catch (const ServiceObjectException& e) {
        problem = SLText::ToNarrow(e.Message());
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (!options_)
        std::fprintf(stderr,
                     "vellum: warning: %s; the default options apply and changes are not kept\n",
                     problem.c_str());
    return options_;
}
