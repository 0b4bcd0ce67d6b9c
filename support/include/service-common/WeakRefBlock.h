// The weak reference block of a service object and the spin lock that makes
// "lock a weak reference" and "destroy on the last release" exclusive.
#pragma once

#include "service-common/ServiceObject.h"

namespace SODetails {

// A new block for `object`, with a count of 1 for the object's own hold.
WeakRef* NewWeakRef(ServiceObject* object);

// Spins on bit 0 of the lock word, backing off as the failed attempts grow:
// nothing, then processor pauses, then Sleep(0), then Sleep(1).
void AcquireSpinLock(std::atomic<uint32_t>& word);
void ReleaseSpinLock(std::atomic<uint32_t>& word);

} // namespace SODetails
