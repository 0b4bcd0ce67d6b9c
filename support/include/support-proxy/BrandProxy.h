// The plug-in's view of the host's "Brand" service.
#pragma once

namespace BrandProxy {
namespace Raw {

// The brand's legal text, fetched once per module and kept until unload.
// Throws ServiceObjectException (code 2) when the service gives none.
const wchar_t* GetLegalCopyright();

} // namespace Raw
} // namespace BrandProxy
