// Event subscriptions held together and ended together.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <mutex>
#include <vector>

#include "service-common/EventSubscription.h"

namespace SOImpl {

// Events may arrive, and subscriptions be made, on any thread. The
// subscriptions are ended (their sources called to unsubscribe) outside the
// list's lock, so that a source raising an event meanwhile cannot deadlock
// with it.
class SubscriptionList {
public:
    using Subscription = boost::shared_ptr<SOEvent::SubscriptionBase>;

    // An empty subscription (the source refused it) is not kept.
    void Add(Subscription subscription) {
        if (!subscription)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        subscriptions_.push_back(std::move(subscription));
    }

    void DisconnectAll() {
        std::vector<Subscription> ending;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ending.swap(subscriptions_);
        }
    }

    std::size_t Size() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return subscriptions_.size();
    }

private:
    mutable std::mutex mutex_;
    std::vector<Subscription> subscriptions_;
};

} // namespace SOImpl
