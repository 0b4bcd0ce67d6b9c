// The services this module makes.
#pragma once

#include "service-common/ServiceObject.h"

namespace HostServices {
ServiceObject* NewBrand();
ServiceObject* NewLocaleManager();
ServiceObject* NewNotificationService();
} // namespace HostServices
