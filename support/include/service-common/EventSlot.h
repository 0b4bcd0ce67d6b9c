// A host event: a subscribe entry and the unsubscribe entry after it.
//
// The subscriber hands the host a context (a heap copy of its handler) with
// two plain functions: invoke, called with the event's arguments and the
// context, and destroy, called when the host lets the context go. The
// subscribe entry returns a non-zero handle, or 0 when it refuses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace SOEvent {

template <std::size_t SubscribePosition, class... EventArgs>
struct EventSlot {
    using Invoke = void (*)(EventArgs..., void* context);
    using Destroy = void (*)(void* context);
    using Subscribe = SODetails::OperationSlot<SubscribePosition,
                                               uint64_t(Invoke invoke, Destroy destroy,
                                                        void* context)>;
    using Unsubscribe = SODetails::OperationSlot<SubscribePosition + 8, uint32_t(uint64_t handle)>;
};

} // namespace SOEvent
