// What every business-logic object of the stand-in host shares: result
// reporting, event sources and the table entries that expose them, and the
// recognition of this module's own objects.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "folio.h"
#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ErrorReporting.h"
#include "service-common/EventSlot.h"
#include "service-common/PDResultToServiceCode.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace HostBLImpl {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
using SODetails::kBadArgument;
using SODetails::kDeclined;
using SODetails::kNotAvailable;
using SODetails::kOk;

constexpr uint64_t kNoPage = ~0ull;

// Records a failure of an operation for the calling thread (codes that are
// not failures are ignored) and hands the code back.
inline uint32_t Report(uint32_t code, const wchar_t* interfaceName, const wchar_t* operationName,
                       const char* function, const char* file, int line) {
    return SODetails::Reported(code, interfaceName, operationName, function, file,
                               static_cast<uint32_t>(line));
}

// Inside a static operation function: report `code` for this operation.
#define HOSTBL_REPORT(code, interfaceName, operationName)                                          \
    ::HostBLImpl::Report((code), interfaceName, operationName, __PRETTY_FUNCTION__, __FILE__,      \
                         __LINE__)

// The strpool atom of a name.
inline SLAtom AtomOf(const char* name) {
    return SODetails::AtomFromString(name);
}

// The object made by `Interface` in this module, or null when `object` is
// something else (another interface, or another module's object).
template <class Interface> typename Interface::Object* OwnObject(ServiceObject* object) {
    if (!object || object->interfaceName != Interface::kName ||
        object->interfaceId != SODetails::InterfaceId<Interface>())
        return nullptr;
    return reinterpret_cast<typename Interface::Object*>(object);
}

template <class Interface> typename Interface::Impl* ImplOrNull(ServiceObject* object) {
    if (!OwnObject<Interface>(object))
        return nullptr;
    return &Interface::Object::ImplOf(object);
}

// Handles are unique across every event source of the process's host.
uint64_t NextEventHandle();

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
// event source `Member` of the implementation behind `Interface`.
template <class Interface, class Slot, EventSourceFor<Slot> Interface::Impl::*Member>
struct EventEntries {
    static uint64_t Subscribe(ServiceObject* self, typename Slot::Invoke invoke,
                              typename Slot::Destroy destroy, void* context) {
        return (Interface::Object::ImplOf(self).*Member).Subscribe(invoke, destroy, context);
    }
    static uint32_t Unsubscribe(ServiceObject* self, uint64_t handle) {
        const bool known = (Interface::Object::ImplOf(self).*Member).Unsubscribe(handle);
        return HOSTBL_REPORT(known ? kOk : kBadArgument, Interface::kWideName, L"Unsubscribe");
    }
    static void Fill(SODetails::Operation* ops) {
        SODetails::SetOperation<typename Slot::Subscribe>(ops, &Subscribe);
        SODetails::SetOperation<typename Slot::Unsubscribe>(ops, &Unsubscribe);
    }
};

// The host's owning wrapper of a document-model handle: filled by a library
// call through Receive(), released once when it goes. The traits name the
// release function.
template <class Handle, class Traits> class FolioHandle {
public:
    FolioHandle() = default;
    FolioHandle(FolioHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    FolioHandle(const FolioHandle&) = delete;
    FolioHandle& operator=(const FolioHandle&) = delete;
    ~FolioHandle() { Reset(); }

    Handle get() const { return handle_; }
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    void Reset() {
        if (handle_)
            Traits::Release(handle_);
        handle_ = nullptr;
    }

    Handle handle_ = nullptr;
};

struct PageTraits {
    static void Release(PDPage page) { PDPageRelease(page); }
};
struct PageTextTraits {
    static void Release(PDPageText text) { PDPageTextRelease(text); }
};
using PageHandle = FolioHandle<PDPage, PageTraits>;
using PageTextHandle = FolioHandle<PDPageText, PageTextTraits>;

// The document-model library's last failure text, for exception messages.
std::string FolioMessage();

// A page of the document; throws std::runtime_error when it cannot be loaded.
PageHandle LoadPage(PDDocument document, uint64_t page);

} // namespace HostBLImpl
