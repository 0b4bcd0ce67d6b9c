// The holder of one reference to a service object.
#pragma once

#include <utility>

#include "service-common/ServiceObject.h"

namespace SODetails {

// Names no particular interface: any service object.
struct AnyInterface {};

// `Interface` documents what the holder expects; the pointer itself is the
// flat service object. Copying takes a reference, destroying gives it back.
template <class Interface = AnyInterface>
class BasicServiceObjectPtr {
public:
    BasicServiceObjectPtr() = default;
    BasicServiceObjectPtr(std::nullptr_t) {}
    // Takes over a reference the caller already owns (a factory result or an
    // out-parameter): no AddRef.
    static BasicServiceObjectPtr Adopt(ServiceObject* object) {
        BasicServiceObjectPtr p;
        p.object_ = object;
        return p;
    }
    // Takes a new reference of its own.
    static BasicServiceObjectPtr Share(ServiceObject* object) {
        AddRefOf(object);
        return Adopt(object);
    }

    BasicServiceObjectPtr(const BasicServiceObjectPtr& other) : object_(other.object_) {
        AddRefOf(object_);
    }
    BasicServiceObjectPtr(BasicServiceObjectPtr&& other) noexcept
        : object_(std::exchange(other.object_, nullptr)) {}
    template <class Other>
    explicit BasicServiceObjectPtr(const BasicServiceObjectPtr<Other>& other)
        : object_(other.get()) {
        AddRefOf(object_);
    }
    BasicServiceObjectPtr& operator=(BasicServiceObjectPtr other) noexcept {
        // Store the new pointer first, then let go of the one it replaces.
        ServiceObject* old = std::exchange(object_, std::exchange(other.object_, nullptr));
        ReleaseOf(old);
        return *this;
    }
    ~BasicServiceObjectPtr() { ReleaseOf(object_); }

    void Reset() { ReleaseOf(std::exchange(object_, nullptr)); }
    // For a call that hands out an object through an out-parameter: empties
    // the holder, and what is written through the address is adopted.
    ServiceObject** Receive() {
        Reset();
        return &object_;
    }
    // Gives up the reference without releasing it.
    ServiceObject* Detach() { return std::exchange(object_, nullptr); }

    ServiceObject* get() const { return object_; }
    ServiceObject* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    bool operator==(const BasicServiceObjectPtr& other) const { return object_ == other.object_; }
    bool operator!=(const BasicServiceObjectPtr& other) const { return object_ != other.object_; }

private:
    static void AddRefOf(ServiceObject* object) {
        if (object && object->common.AddRef)
            object->common.AddRef(object);
    }
    static void ReleaseOf(ServiceObject* object) {
        if (object && object->common.Release)
            object->common.Release(object);
    }

    ServiceObject* object_ = nullptr;
};

} // namespace SODetails
