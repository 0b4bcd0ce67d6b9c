// "NotificationService": one notifier through which host components announce
// events (the ribbon bar's readiness, panel changes) to subscribers.
#include <mutex>
#include <vector>

#include "HostServices.h"
#include "service-common/NotificationService.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace {

struct Subscriber {
    SLAtom notification;
    void* record;
    NotificationCallback callback;
};

struct Notifier {
    std::mutex mutex;
    std::vector<Subscriber> subscribers;
};

struct NotifierInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<NotifierInterface, Notifier>;
    static constexpr const char* kName = "Notifier";
    static constexpr std::size_t kOperationCount = NotifierOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<NotifierOps::Subscribe>(ops, &Subscribe);
        SODetails::SetOperation<NotifierOps::Unsubscribe>(ops, &Unsubscribe);
        SODetails::SetOperation<NotifierOps::Post>(ops, &Post);
    }
    static uint32_t Subscribe(ServiceObject* self, SLAtom notification, void* record,
                              NotificationCallback callback) {
        if (!record || !callback || notification == 0)
            return SODetails::kBadArgument;
        Notifier& n = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(n.mutex);
        n.subscribers.push_back({notification, record, callback});
        return SODetails::kOk;
    }
    static uint32_t Unsubscribe(ServiceObject* self, SLAtom notification, void* record) {
        Notifier& n = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(n.mutex);
        for (auto it = n.subscribers.begin(); it != n.subscribers.end(); ++it) {
            if (it->notification == notification && it->record == record) {
                n.subscribers.erase(it);
                return SODetails::kOk;
            }
        }
        return SODetails::kDeclined;
    }
    static uint32_t Post(ServiceObject* self, SLAtom notification, ServiceObject* source,
                         void* data, bool* flag) {
        Notifier& n = Object::ImplOf(self);
        std::vector<Subscriber> targets;
        {
            std::lock_guard<std::mutex> lock(n.mutex);
            for (const Subscriber& s : n.subscribers)
                if (s.notification == notification)
                    targets.push_back(s);
        }
        // Callbacks run without the lock: they may subscribe or unsubscribe.
        for (const Subscriber& s : targets) {
            NotificationEvent event{0, source, data, flag, s.record};
            s.callback(&event);
        }
        return SODetails::kOk;
    }
};

struct NotificationService {
    SODetails::BasicServiceObjectPtr<> notifier =
        SODetails::BasicServiceObjectPtr<>::Adopt(NotifierInterface::Object::New());
};

struct NotificationServiceInterface {
    using Object =
        SODetails::ServiceObjectCppTheConcrete<NotificationServiceInterface, NotificationService>;
    static constexpr const char* kName = "NotificationService";
    static constexpr std::size_t kOperationCount = NotificationServiceOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<NotificationServiceOps::GetNotifier>(ops, &GetNotifier);
    }
    static uint32_t GetNotifier(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return SODetails::kBadArgument;
        *out = SODetails::BasicServiceObjectPtr<>(Object::ImplOf(self).notifier).Detach();
        return SODetails::kOk;
    }
};

} // namespace

namespace HostServices {
ServiceObject* NewNotificationService() {
    return NotificationServiceInterface::Object::New();
}
} // namespace HostServices
