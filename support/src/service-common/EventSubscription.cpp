#include "service-common/EventSubscription.h"

#include "service-common/ServiceObjectCall.h"

namespace SOEvent {

SubscriptionBase::~SubscriptionBase() = default;

namespace Detail {

SODetails::WeakRefPtr WeakRefOf(ServiceObject* source) {
    const auto held = SODetails::BasicServiceObjectPtr<>::Share(source);
    return SODetails::WeakRefPtr::Of(source);
}

void Unsubscribe(const SODetails::WeakRefPtr& source, std::size_t position,
                 uint64_t handle) noexcept {
    const SODetails::BasicServiceObjectPtr<> object = source.Lock();
    if (!object || handle == 0)
        return; // the source has gone, or there is nothing to end
    using Entry = uint32_t (*)(ServiceObject*, uint64_t);
    if (SODetails::Operation entry = SODetails::FindOperation(object.get(), position))
        reinterpret_cast<Entry>(entry)(object.get(), handle);
}

} // namespace Detail

} // namespace SOEvent
