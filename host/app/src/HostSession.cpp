#include "HostSession.h"

#include <cstdlib>

#include "journal.h"
#include "strpool.h"
#include "svcbroker.h"

HostSession::HostSession() {
    // Records go to standard error unless VELLUM_LOG names a file.
    if (const char* log = std::getenv("VELLUM_LOG"))
        JournalSetSinkFile(log);
}

HostSession::~HostSession() {
    plugins_.reset();
    ServiceProviderReleaseInstances();
    SLTeardownSingletonStaticData();
}

PluginHost& HostSession::Plugins() {
    if (!plugins_) {
        plugins_ = std::make_unique<PluginHost>(ServiceProviderGetHostFolder());
        plugins_->LoadAll();
        plugins_->AnnounceRibbon();
    }
    return *plugins_;
}
