// The host's "NotificationService" and its notifier, as the modules call them.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ServiceObjectCall.h"

// What the notifier passes to a subscriber's callback.
struct NotificationEvent {
    uint64_t reserved;
    ServiceObject* source;
    void* data;
    bool* flag;
    void* subscription; // the record handed over when subscribing
};
static_assert(sizeof(NotificationEvent) == 40, "notification event layout");

using NotificationCallback = void (*)(const NotificationEvent* event);

namespace NotificationServiceOps {
using GetNotifier = SODetails::OperationSlot<8, uint32_t(ServiceObject** notifier)>;
constexpr std::size_t kOperationCount = 2;
} // namespace NotificationServiceOps

namespace NotifierOps {
using Subscribe = SODetails::OperationSlot<0, uint32_t(SLAtom notification, void* subscription,
                                                       NotificationCallback callback)>;
using Unsubscribe = SODetails::OperationSlot<8, uint32_t(SLAtom notification, void* subscription)>;
// The host's side: delivers a notification to its subscribers.
using Post = SODetails::OperationSlot<16, uint32_t(SLAtom notification, ServiceObject* source,
                                                   void* data, bool* flag)>;
constexpr std::size_t kOperationCount = 3;
} // namespace NotifierOps

namespace SODetails {
// The notifier of the host's "NotificationService"; empty when the service
// has no notifier operation or gives none. A service that cannot be had, or
// a failing call, throws ServiceObjectException.
BasicServiceObjectPtr<> GetGlobalNotifier();
} // namespace SODetails
