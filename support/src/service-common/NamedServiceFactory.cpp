#include "service-common/NamedServiceFactory.h"

#include <cstring>

#include "service-common/ResultCodes.h"
#include "strpool.h"
#include "svcbroker.h"

namespace SODetails {

uint32_t CreateNamedServiceObject(uint32_t atom, ServiceObject** out,
                                  const NamedServiceFactory* factories, std::size_t count) {
    if (atom == 0 || !out)
        return kBadArgument;
    const char* name = nullptr;
    if (SLGetStringFromAtom(atom, &name) != kOk || !name)
        return kSPServiceNotSupportedByModule;
    for (std::size_t i = 0; i < count; ++i) {
        if (std::strcmp(factories[i].objectName, name) == 0) {
            *out = factories[i].make();
            return kOk;
        }
    }
    return kSPServiceNotSupportedByModule;
}

} // namespace SODetails
