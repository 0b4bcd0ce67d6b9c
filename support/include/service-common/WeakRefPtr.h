// The holder of one count on a service object's weak reference block.
#pragma once

#include <utility>

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObject.h"

namespace SODetails {

// Keeps a weak reference to an object: the object may die meanwhile, and
// Lock() then gives nothing. Destroying or resetting the holder gives its
// count on the block back.
class WeakRefPtr {
public:
    WeakRefPtr() = default;
    // The object's weak block with a count for the holder (GetWeakRef);
    // empty when there is no object or it gives no block.
    static WeakRefPtr Of(ServiceObject* object) {
        WeakRefPtr holder;
        if (object && object->common.GetWeakRef &&
            object->common.GetWeakRef(object, &holder.weak_) != kOk)
            holder.weak_ = nullptr;
        return holder;
    }

    WeakRefPtr(WeakRefPtr&& other) noexcept : weak_(std::exchange(other.weak_, nullptr)) {}
    WeakRefPtr& operator=(WeakRefPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            weak_ = std::exchange(other.weak_, nullptr);
        }
        return *this;
    }
    WeakRefPtr(const WeakRefPtr&) = delete;
    WeakRefPtr& operator=(const WeakRefPtr&) = delete;
    ~WeakRefPtr() { Reset(); }

    void Reset() noexcept {
        if (weak_ && weak_->Release)
            weak_->Release(weak_);
        weak_ = nullptr;
    }

    // A new reference to the object while it lives; empty once it has died.
    BasicServiceObjectPtr<> Lock() const {
        if (!weak_ || !weak_->Lock)
            return {};
        return BasicServiceObjectPtr<>::Adopt(weak_->Lock(weak_));
    }

    explicit operator bool() const { return weak_ != nullptr; }

private:
    WeakRef* weak_ = nullptr;
};

} // namespace SODetails
