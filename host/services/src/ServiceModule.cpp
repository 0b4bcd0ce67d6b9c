// The service-module entry through which the provider makes this module's
// services.
#include <cstring>

#include "HostServices.h"
#include "service-common/ModuleExport.h"
#include "strpool.h"

extern "C" SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    if (atom == 0 || !out)
        return 3;
    const char* name = nullptr;
    if (SLGetStringFromAtom(atom, &name) != 0 || !name)
        return 0x10005;
    if (std::strcmp(name, "Brand") == 0)
        *out = HostServices::NewBrand();
    else if (std::strcmp(name, "LocaleManager") == 0)
        *out = HostServices::NewLocaleManager();
    else if (std::strcmp(name, "NotificationService") == 0)
        *out = HostServices::NewNotificationService();
    else if (std::strcmp(name, "UIService") == 0)
        *out = HostServices::NewUIService();
    else
        return 0x10005;
    return 0;
}
