// Lays an implementation class into a service object of this module.
//
// One heap block holds, in order: the header and operation table of the
// interface, the tag "EOFT" and the hash of the concrete type's name, the
// implementation object, the reference count, the weak block pointer, and
// the end tag "EOSO".
//
// An interface description provides:
//   static constexpr const char* kName;            // "BLInputHandler"
//   static constexpr std::size_t kOperationCount;  // operations after the common ones
//   static void FillOperations(SODetails::Operation* operations);
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "platform/Platform.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ErrorReporting.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObject.h"
#include "service-common/WeakRefBlock.h"

namespace SODetails {

// The allocation and reporting policy of this module's objects.
struct ServiceObjectTraits {};

// An implementation that needs its own service object (to hand itself out,
// or to subscribe with itself as the source) derives from this.
class ServiceObjectSelf {
public:
    ServiceObject* Self() const { return self_; }

private:
    template <class, class>
    friend class ServiceObjectCppTheConcrete;
    ServiceObject* self_ = nullptr;
};

template <class Interface, class T>
class ServiceObjectCppTheConcrete {
public:
    static constexpr uint32_t kTypeTag = FourCC("EOFT");
    static constexpr uint32_t kEndTag = FourCC("EOSO");

    // A new object with one reference, which goes to the caller.
    template <class... Args>
    static ServiceObject* New(Args&&... args) {
        auto* concrete = new ServiceObjectCppTheConcrete(std::forward<Args>(args)...);
        return &concrete->table_.header;
    }
    template <class... Args>
    static BasicServiceObjectPtr<Interface> Make(Args&&... args) {
        return BasicServiceObjectPtr<Interface>::Adopt(New(std::forward<Args>(args)...));
    }

    static T& ImplOf(ServiceObject* self) { return FromObject(self)->impl_; }

    // Whether `object` was made by this class in this module: its entries are
    // this module's own functions. (The address of the interface's name is no
    // such mark: copies of a string literal need not be merged, and are not
    // under AddressSanitizer.)
    static bool MadeHere(const ServiceObject* object) {
        return object->common.Release == &Release;
    }

    static uint32_t TypeHash() {
        static const uint32_t hash =
            SequenceHash(ReadableTypeName(typeid(ServiceObjectCppTheConcrete)).c_str());
        return hash;
    }

private:
    template <class... Args>
    explicit ServiceObjectCppTheConcrete(Args&&... args) : impl_(std::forward<Args>(args)...) {
        ServiceObject& header = table_.header;
        header.interfaceId = InterfaceId<Interface>();
        header.interfaceTableSize = static_cast<uint32_t>(8 * Interface::kOperationCount);
        header.interfaceName = Interface::kName;
        header.common.AddRef = &AddRef;
        header.common.Release = &Release;
        header.common.GetRefCount = &GetRefCount;
        header.common.GetWeakRef = &GetWeakRef;
        header.common.GetErrorInfo = &SODetails::GetErrorInfo;
        for (Operation& op : table_.operations)
            op = nullptr;
        Interface::FillOperations(table_.operations);
        typeHash_ = TypeHash();
        if constexpr (std::is_base_of<ServiceObjectSelf, T>::value)
            static_cast<ServiceObjectSelf&>(impl_).self_ = &header;
    }

    static ServiceObjectCppTheConcrete* FromObject(ServiceObject* self) {
        return reinterpret_cast<ServiceObjectCppTheConcrete*>(self);
    }

    static uint32_t AddRef(ServiceObject* self) { return FromObject(self)->refCount_.fetch_add(1) + 1; }

    static uint32_t GetRefCount(ServiceObject* self) { return FromObject(self)->refCount_.load(); }

    static uint32_t Release(ServiceObject* self) {
        ServiceObjectCppTheConcrete* object = FromObject(self);
        // While other references remain, the count drops freely: it cannot
        // reach zero here, so no weak holder can see a change of life.
        uint32_t remaining = object->refCount_.load();
        while (static_cast<int32_t>(remaining) > 1)
            if (object->refCount_.compare_exchange_weak(remaining, remaining - 1))
                return remaining - 1;
        // Possibly the last reference. The weak block is read only now: a
        // holder that made one did so before letting its reference go, so it
        // is seen here, and with no other reference left no one can make one.
        WeakRef* weak = object->weak_.load();
        if (!weak) {
            uint32_t count = object->refCount_.fetch_sub(1) - 1;
            if (static_cast<int32_t>(count) > 0)
                return count;
            return object->Destroy();
        }
        // With a weak block, the count drops to zero only under the block's
        // spin lock, so that WeakRef::Lock and this release cannot both win.
        AcquireSpinLock(weak->lockWord);
        uint32_t count = object->refCount_.fetch_sub(1) - 1;
        if (static_cast<int32_t>(count) > 0) {
            ReleaseSpinLock(weak->lockWord);
            return count;
        }
        weak->object.exchange(nullptr);
        ReleaseSpinLock(weak->lockWord);
        return object->Destroy();
    }

    // The count has reached zero.
    uint32_t Destroy() {
        if (WeakRef* weak = weak_.exchange(nullptr)) {
            weak->object.exchange(nullptr);
            weak->Release(weak);  // the object's own hold on its block
        }
        delete this;
        return 0;
    }

    static uint32_t GetWeakRef(ServiceObject* self, WeakRef** out) {
        if (!out)
            return kBadArgument;
        ServiceObjectCppTheConcrete* object = FromObject(self);
        WeakRef* weak = object->weak_.load();
        if (!weak) {
            WeakRef* fresh = NewWeakRef(self);
            if (object->weak_.compare_exchange_strong(weak, fresh))
                weak = fresh;
            else
                fresh->Release(fresh);  // another thread published one first
        }
        weak->AddRef(weak);
        *out = weak;
        return kOk;
    }

    ServiceObjectTable<Interface::kOperationCount> table_;
    uint32_t typeTag_ = kTypeTag;
    uint32_t typeHash_ = 0;
    T impl_;
    std::atomic<uint32_t> refCount_{1};
    std::atomic<WeakRef*> weak_{nullptr};
    uint32_t endTag_ = kEndTag;
};

// The common part of an interface description whose operations are static
// functions of the description itself (the host's objects):
//   struct DocumentInterface : InterfaceOf<DocumentInterface, DocumentImpl, 65> {
//       static constexpr const char* kName = "BLDocument";
//       static void FillOperations(Operation* operations);
//   };
template <class Interface, class T, std::size_t OperationCount> struct InterfaceOf {
    using Impl = T;
    using Object = ServiceObjectCppTheConcrete<Interface, T>;
    static constexpr std::size_t kOperationCount = OperationCount;
};

} // namespace SODetails
