#include "DirectResponder.h"

#include "service-common/Log.h"
#include "service-common/ServiceObjectException.h"

namespace ns {

SODetails::BasicServiceObjectPtr<> detail::GetGlobalNSSignalerServiceStrategy::GetNotifier() {
    return SODetails::GetGlobalNotifier();
}

template <class NotifierStrategy>
DirectResponder<NotifierStrategy>::DirectResponder(SODetails::BasicServiceObjectPtr<> notifier,
                                                   SLAtom notification,
                                                   NotificationHandler handler)
    : notifier_(std::move(notifier)), atom_(notification), callback_(std::move(handler)) {}

template <class NotifierStrategy>
boost::shared_ptr<DirectResponder<NotifierStrategy>>
DirectResponder<NotifierStrategy>::Subscribe(SLAtom notification, NotificationHandler handler) {
    SODetails::BasicServiceObjectPtr<> notifier = NotifierStrategy::GetNotifier();
    boost::shared_ptr<DirectResponder> record(
        new DirectResponder(notifier, notification, std::move(handler)));
    if (notifier) {
        std::optional<uint32_t> result =
            SODetails::TryCall<NotifierOps::Subscribe>(notifier.get(), notification, record.get(),
                                                       &DirectResponder::OnNotification);
        if (result) {
            CheckResult(notifier.get(), *result);
            record->status_ = *result;
        } else {
            record->status_ = SODetails::kDeclined;
        }
    }
    return record;
}

template <class NotifierStrategy>
DirectResponder<NotifierStrategy>::~DirectResponder() {
    if (active_ && notifier_ && status_ == SODetails::kOk) {
        // A destructor must not throw: a failing notifier is written to the log.
        try {
            uint32_t result = SODetails::TryCall<NotifierOps::Unsubscribe>(notifier_.get(), atom_,
                                                                          this)
                                  .value_or(SODetails::kDeclined);
            status_ = result == SODetails::kOk ? SODetails::kNotSubscribed : SODetails::kOk;
            CheckResult(notifier_.get(), result);
        } catch (const ServiceObjectException& e) {
            LogCaught(e, SODetails::kLogSeverityFailure);
        } catch (...) {
        }
    }
    callback_.clear();
    notifier_.Reset();
}

template <class NotifierStrategy>
void DirectResponder<NotifierStrategy>::OnNotification(const NotificationEvent* event) {
    if (!event)
        return;
    auto* record = static_cast<DirectResponder*>(event->subscription);
    if (!record || record->marker_ != kMarker || !record->callback_)
        return;
    record->callback_(SODetails::BasicServiceObjectPtr<>::Share(event->source), event->data,
                      event->flag);
}

template class DirectResponder<detail::GetGlobalNSSignalerServiceStrategy>;

} // namespace ns
