#include "service-common/EventSubscription.h"

#include "service-common/ServiceObjectCall.h"

namespace SOEvent {

SubscriptionBase::~SubscriptionBase() = default;

namespace Detail {

WeakRef* WeakRefOf(ServiceObject* source) {
    if (!source)
        return nullptr;
    if (source->common.AddRef)
        source->common.AddRef(source);
    WeakRef* weak = nullptr;
    if (source->common.GetWeakRef && source->common.GetWeakRef(source, &weak) != SODetails::kOk)
        weak = nullptr;
    if (source->common.Release)
        source->common.Release(source);
    return weak;
}

void Unsubscribe(WeakRef* source, std::size_t position, uint64_t handle) noexcept {
    if (!source || !source->Lock)
        return;
    ServiceObject* object = source->Lock(source);
    if (!object)
        return; // the source has gone: nothing to end
    using Entry = uint32_t (*)(ServiceObject*, uint64_t);
    if (handle != 0) {
        if (SODetails::Operation entry = SODetails::FindOperation(object, position))
            reinterpret_cast<Entry>(entry)(object, handle);
    }
    if (object->common.Release)
        object->common.Release(object);
}

void ReleaseWeakRef(WeakRef* source) noexcept {
    if (source && source->Release)
        source->Release(source);
}

} // namespace Detail

} // namespace SOEvent
