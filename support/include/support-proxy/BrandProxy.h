// The plug-in's view of the host's "Brand" service.
#pragma once

#include <string>

namespace BrandProxy {
namespace Raw {

// The brand's legal text, fetched once per module and kept until unload.
// Throws ServiceObjectException (code 2) when the service gives none.
const wchar_t* GetLegalCopyright();

// Where the user's settings live in the settings store, relative to its
// root. Fetched once per module; a failed fetch (ServiceObjectException,
// code 2 when the service gives no text) is tried again on the next call.
std::wstring GetDefaultSettingsRelativePath();

} // namespace Raw
} // namespace BrandProxy
