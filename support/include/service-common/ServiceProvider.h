// Obtaining the host's services through the service provider.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"

namespace SP {

// The service with this atom, possibly empty (the provider answered 0
// without an object). Any provider failure throws ServiceObjectException
// with "Fail to query <name> service object: <reason>". `name` only serves
// that text; when null, the atom's own name is used.
SODetails::BasicServiceObjectPtr<> GetServiceObject(SLAtom atom, const char* name);

// Returns for code 0; throws ServiceObjectException with the provider's
// failure text otherwise.
void _CheckServiceProviderApiResult(uint32_t code, uint32_t systemError);

} // namespace SP
