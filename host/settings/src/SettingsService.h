// The "SLSettings" service of this process: the user's settings store.
#pragma once

#include "service-common/BasicServiceObjectPtr.h"

namespace HostSettings {

// The one service object of the process, which opens the store on first use.
SODetails::BasicServiceObjectPtr<> SettingsServiceInstance();

} // namespace HostSettings
