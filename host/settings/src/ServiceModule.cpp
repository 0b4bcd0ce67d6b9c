// The service-module entry through which the provider makes this module's
// service: "SLSettings", also given for the fixed atom of typed settings.
#include <cstring>

#include "SettingsService.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ModuleExport.h"
#include "strpool.h"
#include "svcbroker.h"

extern "C" SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    if (atom == 0 || !out)
        return SODetails::kBadArgument;
    const char* name = nullptr;
    if (SLGetStringFromAtom(atom, &name) != SODetails::kOk || !name ||
        std::strcmp(name, "SLSettings") != 0)
        return kSPServiceNotSupportedByModule;
    *out = HostSettings::SettingsServiceInstance().Detach();
    return SODetails::kOk;
}
