#include "StoreLocation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "SettingsStore.h"
#include "service-common/ErrorReporting.h"

namespace HostSettings {

namespace {

const char* const kStoreFileName = "settings.sqlite3";

// The variable's value when it is set and not empty.
const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

std::filesystem::path ConfigFolder() {
    // A relative XDG_CONFIG_HOME is to be ignored.
    if (const char* xdg = Variable("XDG_CONFIG_HOME");
        xdg && std::filesystem::path(xdg).is_absolute())
        return xdg;
    const char* home = Variable("HOME");
    if (!home)
        home = Variable("USERPROFILE");
    if (!home)
        throw StoreError(SODetails::kNotAvailable,
                         "there is no home folder to keep the settings store in; set "
                         "VELLUM_SETTINGS to the file to use");
    return std::filesystem::path(home) / ".config";
}

} // namespace

std::string SettingsStoreFile() {
    if (const char* file = Variable("VELLUM_SETTINGS"))
        return file;
    const std::filesystem::path folder = ConfigFolder() / "vellum";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw StoreError(SODetails::kNotAvailable,
                         "cannot make the folder " + folder.string() +
                             " for the settings store: " + error.message());
    return (folder / kStoreFileName).string();
}

} // namespace HostSettings
