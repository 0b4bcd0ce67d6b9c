// The services this library makes for the service provider.
#pragma once

#include "service-common/ServiceObject.h"

namespace HostUIImpl {
// Each a new object with one reference for the caller.
ServiceObject* NewUIService();
ServiceObject* NewUIEngineService();
} // namespace HostUIImpl
