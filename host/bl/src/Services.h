// The services this library makes for the service provider.
#pragma once

#include "service-common/ServiceObject.h"

namespace HostBLImpl {
// Each a new object with one reference for the caller.
ServiceObject* NewBLService();
ServiceObject* NewGraphicsFactory();
ServiceObject* NewAuthor();
} // namespace HostBLImpl
