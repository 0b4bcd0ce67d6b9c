// The service-module entry through which the provider makes this module's
// services.
#include "HostServices.h"
#include "service-common/ModuleExport.h"
#include "service-common/NamedServiceFactory.h"

extern "C" SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    static const SODetails::NamedServiceFactory kServices[] = {
        {"Brand", &HostServices::NewBrand},
        {"LocaleManager", &HostServices::NewLocaleManager},
        {"NotificationService", &HostServices::NewNotificationService},
    };
    return SODetails::CreateNamedServiceObject(atom, out, kServices);
}
