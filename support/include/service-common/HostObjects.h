// What the host's own service objects share, whichever host module makes
// them: recognising an object of the module's own making, the sources of
// the events they raise, and the table entries that serve those events.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "service-common/ErrorReporting.h"
#include "service-common/EventSlot.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

// Inside a static operation function of a host object: reports `code` for
// the operation with this place as the failure's site, and hands it back.
#define HOST_OBJECT_REPORT(code, interfaceName, operationName)                                     \
    ::SODetails::Reported((code), interfaceName, operationName, __PRETTY_FUNCTION__, __FILE__,     \
                          static_cast<uint32_t>(__LINE__))

namespace SODetails {

// The object made by `Interface` in this module, or null when `object` is
// something else (another interface, or another module's object).
// The name is compared by its text: each translation unit may keep its own
// copy of the literal (AddressSanitizer builds do), so its address tells
// nothing. No other module makes objects under the host's interface names.
template <class Interface> typename Interface::Object* OwnObject(ServiceObject* object) {
    if (!object || object->interfaceId != InterfaceId<Interface>() || !object->interfaceName ||
        std::strcmp(object->interfaceName, Interface::kName) != 0)
        return nullptr;
    return reinterpret_cast<typename Interface::Object*>(object);
}

template <class Interface> typename Interface::Impl* ImplOrNull(ServiceObject* object) {
    if (!OwnObject<Interface>(object))
        return nullptr;
    return &Interface::Object::ImplOf(object);
}

// Subscription handles: unique among the module's event sources, never 0.
inline uint64_t NextEventHandle() {
    static std::atomic<uint64_t> next{0};
    return ++next;
}

// The subscribers of one event. A subscription owns its context: the
// subscriber's destroy function runs when the subscription ends, whether by
// unsubscribing or by the death of the source. Raising works on a copy of
// the list, so handlers may subscribe and unsubscribe meanwhile; a context
// that is unsubscribed while its handler runs is destroyed after the call.
template <class... Args> class EventSource {
public:
    using Invoke = void (*)(Args..., void* context);
    using Destroy = void (*)(void* context);

    struct Entry {
        Invoke invoke;
        Destroy destroy;
        void* context;
        Entry(Invoke i, Destroy d, void* c) : invoke(i), destroy(d), context(c) {}
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        ~Entry() {
            if (destroy)
                destroy(context);
        }
    };
    using Snapshot = std::vector<std::shared_ptr<Entry>>;

    EventSource() = default;
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    // 0 when refused (no handler); the context is then destroyed at once.
    uint64_t Subscribe(Invoke invoke, Destroy destroy, void* context) {
        if (!invoke) {
            if (destroy)
                destroy(context);
            return 0;
        }
        auto entry = std::make_shared<Entry>(invoke, destroy, context);
        const uint64_t handle = NextEventHandle();
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.emplace(handle, std::move(entry));
        return handle;
    }

    bool Unsubscribe(uint64_t handle) {
        std::shared_ptr<Entry> gone;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = entries_.find(handle);
            if (it == entries_.end())
                return false;
            gone = std::move(it->second);
            entries_.erase(it);
        }
        return true; // `gone` destroys the context outside the lock
    }

    // In the order of subscribing.
    Snapshot Subscribers() const {
        std::lock_guard<std::mutex> lock(mutex_);
        Snapshot copy;
        copy.reserve(entries_.size());
        for (const auto& item : entries_)
            copy.push_back(item.second);
        return copy;
    }

    void Raise(Args... args) const {
        for (const std::shared_ptr<Entry>& entry : Subscribers())
            entry->invoke(args..., entry->context);
    }

    std::size_t Count() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return entries_.size();
    }

private:
    mutable std::mutex mutex_;
    std::map<uint64_t, std::shared_ptr<Entry>> entries_;
};

template <class Slot> struct EventSourceOf;
template <std::size_t Position, class... Args>
struct EventSourceOf<SOEvent::EventSlot<Position, Args...>> {
    using type = EventSource<Args...>;
};
template <class Slot> using EventSourceFor = typename EventSourceOf<Slot>::type;

// The subscribe and unsubscribe entries of the event `Slot`, served by the
// event source `Member` of the implementation behind `Interface` (which
// names itself in kWideName for failure records).
template <class Interface, class Slot, EventSourceFor<Slot> Interface::Impl::*Member>
struct EventEntries {
    static uint64_t Subscribe(ServiceObject* self, typename Slot::Invoke invoke,
                              typename Slot::Destroy destroy, void* context) {
        return (Interface::Object::ImplOf(self).*Member).Subscribe(invoke, destroy, context);
    }
    static uint32_t Unsubscribe(ServiceObject* self, uint64_t handle) {
        const bool known = (Interface::Object::ImplOf(self).*Member).Unsubscribe(handle);
        return HOST_OBJECT_REPORT(known ? kOk : kBadArgument, Interface::kWideName,
                                  L"Unsubscribe");
    }
    static void Fill(Operation* ops) {
        SetOperation<typename Slot::Subscribe>(ops, &Subscribe);
        SetOperation<typename Slot::Unsubscribe>(ops, &Unsubscribe);
    }
};

} // namespace SODetails
