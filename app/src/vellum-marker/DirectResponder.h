// One subscription to a host notification. The record is handed to the
// notifier; ending the subscription happens when the last holder lets it go.
#pragma once

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/NotificationService.h"

namespace ns {
namespace detail {
// Finds the notifier through the host's "NotificationService".
struct GetGlobalNSSignalerServiceStrategy {
    static SODetails::BasicServiceObjectPtr<> GetNotifier();
};
} // namespace detail

using NotificationHandler =
    boost::function<void(SODetails::BasicServiceObjectPtr<> source, void* data, bool* flag)>;

template <class NotifierStrategy>
class DirectResponder {
public:
    static constexpr uint32_t kMarker = SODetails::FourCC("RESP");

    // Subscribes at once; a failing notifier throws ServiceObjectException.
    static boost::shared_ptr<DirectResponder> Subscribe(SLAtom notification,
                                                        NotificationHandler handler);
    ~DirectResponder();

    // The plain function handed to the notifier.
    static void OnNotification(const NotificationEvent* event);

private:
    DirectResponder(SODetails::BasicServiceObjectPtr<> notifier, SLAtom notification,
                    NotificationHandler handler);

    uint32_t marker_ = kMarker;
    SODetails::BasicServiceObjectPtr<> notifier_;
    SLAtom atom_;
    NotificationHandler callback_;
    uint32_t status_ = SODetails::kNotSubscribed;
    uint8_t active_ = 1;
};

using GlobalResponder = DirectResponder<detail::GetGlobalNSSignalerServiceStrategy>;

} // namespace ns
