// The service-module entry through which the provider makes this module's
// services.
#include "Services.h"
#include "service-common/ModuleExport.h"
#include "service-common/NamedServiceFactory.h"

extern "C" SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    static const SODetails::NamedServiceFactory kServices[] = {
        {"UIService", &HostUIImpl::NewUIService},
        {"UIEngine", &HostUIImpl::NewUIEngineService},
    };
    return SODetails::CreateNamedServiceObject(atom, out, kServices);
}
