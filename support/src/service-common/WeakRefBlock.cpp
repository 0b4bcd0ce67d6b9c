#include "service-common/WeakRefBlock.h"

#include "platform/Platform.h"

namespace SODetails {

void AcquireSpinLock(std::atomic<uint32_t>& word) {
    for (uint32_t attempts = 0;; ++attempts) {
        if ((word.fetch_or(1u, std::memory_order_acquire) & 1u) == 0)
            return;
        if (attempts < 4)
            continue;
        if (attempts < 16)
            Platform::ProcessorPause();
        else if (attempts < 32)
            Platform::SleepMilliseconds(0);
        else
            Platform::SleepMilliseconds(1);
    }
}

void ReleaseSpinLock(std::atomic<uint32_t>& word) {
    word.fetch_and(~1u, std::memory_order_release);
}

namespace {

uint32_t WeakAddRef(WeakRef* self) {
    return self->count.fetch_add(1) + 1;
}

uint32_t WeakRelease(WeakRef* self) {
    uint32_t count = self->count.fetch_sub(1) - 1;
    if (static_cast<int32_t>(count) <= 0) {
        delete self;
        return 0;
    }
    return count;
}

uint32_t WeakGetRefCount(WeakRef* self) {
    return self->count.load();
}

uint32_t WeakIsAlive(WeakRef* self) {
    return self->object.load() != nullptr ? 1u : 0u;
}

// Objects with a weak block lower their count to zero only while holding the
// block's spin lock, so a count above zero seen here cannot drop to zero
// before the AddRef below: either the object is handed out alive, or it is
// not handed out at all.
ServiceObject* WeakLock(WeakRef* self) {
    if (!self->object.load())
        return nullptr;
    AcquireSpinLock(self->lockWord);
    ServiceObject* object = self->object.load();
    if (object && object->common.GetRefCount && object->common.AddRef &&
        object->common.GetRefCount(object) > 0)
        object->common.AddRef(object);
    else
        object = nullptr;
    ReleaseSpinLock(self->lockWord);
    return object;
}

} // namespace

WeakRef* NewWeakRef(ServiceObject* object) {
    WeakRef* block = new WeakRef;
    block->AddRef = &WeakAddRef;
    block->Release = &WeakRelease;
    block->GetRefCount = &WeakGetRefCount;
    block->IsAlive = &WeakIsAlive;
    block->Lock = &WeakLock;
    block->count.store(1);
    block->object.store(object);
    block->lockWord.store(0);
    return block;
}

} // namespace SODetails
