// The services this library makes for the service provider.
#pragma once

#include "service-common/ServiceObject.h"

namespace HostBLImpl {
// Each a new object with one reference for the caller.
ServiceObject* NewBLService();
ServiceObject* NewGraphicsFactory();
ServiceObject* NewAuthor();
// The factory of the host's own text tool (HostBL::kTextCopyTool).
ServiceObject* NewTextCopyToolFactory();
} // namespace HostBLImpl
