// A weak reference to a service object that one thread may replace while
// others lock it.
#pragma once

#include <memory>

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/WeakRefPtr.h"

namespace SOImpl {

// The weak reference sits in an immutable shared block that is swapped
// atomically: a reader locks the block it loaded, which stays valid however
// the reference is replaced meanwhile.
class AtomicWeakRefPtr {
public:
    // Refers to `object` from now on (nothing for null).
    void Store(ServiceObject* object) {
        std::shared_ptr<const SODetails::WeakRefPtr> fresh;
        if (object)
            fresh =
                std::make_shared<const SODetails::WeakRefPtr>(SODetails::WeakRefPtr::Of(object));
        std::atomic_store(&weak_, std::move(fresh));
    }
    void Reset() { std::atomic_store(&weak_, std::shared_ptr<const SODetails::WeakRefPtr>()); }

    // A new reference while the object lives; empty once it died or when
    // nothing is referred to.
    SODetails::BasicServiceObjectPtr<> Lock() const {
        std::shared_ptr<const SODetails::WeakRefPtr> weak = std::atomic_load(&weak_);
        return weak ? weak->Lock() : SODetails::BasicServiceObjectPtr<>();
    }

private:
    std::shared_ptr<const SODetails::WeakRefPtr> weak_;
};

} // namespace SOImpl
