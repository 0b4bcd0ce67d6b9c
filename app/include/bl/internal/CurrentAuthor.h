// The name of the current author, as the host's "BLAuthor" service gives it.
#pragma once

namespace BL {

// The name belongs to the service; null when there is no service or no
// name. Other failures of the service throw ServiceObjectException.
const wchar_t* GetCurrentAuthor();

} // namespace BL
