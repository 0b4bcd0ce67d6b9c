// Subscriptions to host events.
//
// A subscriber hands the host a heap copy of its handler (the context) with
// two plain functions: invoke, which calls the handler with the event's
// arguments, and destroy, which frees the context. From the moment of
// subscribing the context belongs to the host.
//
// The subscription object keeps a weak reference to the source and the
// handle the source returned; destroying the object ends the subscription
// while the source still lives. Subscriptions are held by shared pointers:
//
//   boost::shared_ptr<SOEvent::SubscriptionBase> s =
//       SOEvent::Subscribe<BLDocumentEvents::OnPageContentChanged>(document, handler);
//
// An empty pointer means the source did not take the subscription.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "service-common/EventSlot.h"
#include "service-common/ServiceObject.h"
#include "service-common/WeakRefPtr.h"

namespace SOEvent {

class SubscriptionBase {
public:
    SubscriptionBase() = default;
    SubscriptionBase(const SubscriptionBase&) = delete;
    SubscriptionBase& operator=(const SubscriptionBase&) = delete;
    virtual ~SubscriptionBase();
};

namespace Detail {

// A weak reference to `source`, taken while a reference on the source is
// held; empty when the source gives none.
SODetails::WeakRefPtr WeakRefOf(ServiceObject* source);

// Calls the unsubscribe entry at `position` of the source behind `source`
// with `handle`, if the source still lives and has the entry. Never throws.
void Unsubscribe(const SODetails::WeakRefPtr& source, std::size_t position,
                 uint64_t handle) noexcept;

// The heap context handed to the host: a copy of the handler.
template <class... Args> struct HandlerContext {
    std::function<void(Args...)> handler;

    // An empty handler throws std::bad_function_call.
    static void Invoke(Args... args, void* context) {
        static_cast<HandlerContext*>(context)->handler(args...);
    }
    static void Destroy(void* context) { delete static_cast<HandlerContext*>(context); }
};

} // namespace Detail

template <class Slot> class EventSubscription;

template <std::size_t SubscribePosition, class... Args>
class EventSubscription<EventSlot<SubscribePosition, Args...>> : public SubscriptionBase {
public:
    using Slot = EventSlot<SubscribePosition, Args...>;
    using Handler = std::function<void(Args...)>;
    using Context = Detail::HandlerContext<Args...>;

    // Subscribes `handler` to the event of `source`. Empty when the source
    // has no subscribe entry (the handler is dropped) or refuses (handle 0;
    // the context then stays with the host, which destroys it).
    static boost::shared_ptr<EventSubscription> Subscribe(ServiceObject* source, Handler handler) {
        SODetails::Operation entry = SODetails::FindOperation(source, Slot::Subscribe::kPosition);
        if (!entry)
            return {};
        auto subscribe = reinterpret_cast<typename Slot::Subscribe::Function>(entry);
        auto* context = new Context{std::move(handler)};
        uint64_t handle = subscribe(source, &Context::Invoke, &Context::Destroy, context);
        if (handle == 0)
            return {};
        return boost::shared_ptr<EventSubscription>(
            new EventSubscription(Detail::WeakRefOf(source), handle));
    }

    ~EventSubscription() override {
        if (active_)
            Detail::Unsubscribe(source_, Slot::Unsubscribe::kPosition, handle_);
    }

private:
    EventSubscription(SODetails::WeakRefPtr source, uint64_t handle)
        : source_(std::move(source)), handle_(handle) {}

    uint8_t active_ = 1;
    SODetails::WeakRefPtr source_;
    uint64_t handle_;
};

// Subscribes `handler` to the event `Slot` of `source`; see EventSubscription.
template <class Slot, class Handler>
boost::shared_ptr<EventSubscription<Slot>> Subscribe(ServiceObject* source, Handler&& handler) {
    return EventSubscription<Slot>::Subscribe(source, std::forward<Handler>(handler));
}

} // namespace SOEvent
