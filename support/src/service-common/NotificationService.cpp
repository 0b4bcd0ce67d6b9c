#include "service-common/NotificationService.h"

#include "service-common/ServiceProvider.h"

namespace SODetails {

BasicServiceObjectPtr<> GetGlobalNotifier() {
    static const AtomStatic kNotificationService("NotificationService");
    BasicServiceObjectPtr<> service =
        SP::GetServiceObject(kNotificationService, "NotificationService");
    BasicServiceObjectPtr<> notifier;
    CallChecked<NotificationServiceOps::GetNotifier>(service.get(), notifier.Receive());
    return notifier;
}

} // namespace SODetails
