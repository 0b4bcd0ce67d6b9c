// The module's one plug-in object and its display texts.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <list>
#include <string>

#include "DirectResponder.h"
#include "service-common/PluginRecords.h"

struct PluginInstance {
    PluginInstance();

    uint32_t kind = 1;
    uint32_t version = kPluginInterfaceVersion;
    uint32_t interfaceVersion = kPluginInterfaceVersion;
    // Points into the module's display strings, which outlive every instance.
    PluginInfo info;
    std::list<boost::shared_ptr<ns::GlobalResponder>> subscriptions;
};

// The texts built while the module loads.
struct PluginDisplayStrings {
    std::wstring name;
    std::wstring description;
    std::wstring legalNotice;
    PluginInfo info{};
    // Why the texts could not be built: the module then refuses to start.
    uint32_t failureCode = 0;
};
