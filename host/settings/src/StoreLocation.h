// Where the user's settings store lives.
#pragma once

#include <string>

namespace HostSettings {

// $VELLUM_SETTINGS when set; else settings.sqlite3 in the "vellum" folder of
// $XDG_CONFIG_HOME, or of ~/.config without it. The folder of such a default
// location is made when it is missing. Throws StoreError when there is no
// location at all (no home folder) or its folder cannot be made.
std::string SettingsStoreFile();

} // namespace HostSettings
