#include "service-common/Localize.h"

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/LocaleManagerInterface.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "service-common/SingletonStaticData.h"

namespace {

std::atomic<void*> gHolder{nullptr};


void ConstructHolder(void* block) {
    auto* holder = static_cast<LocaleManagerHolder*>(block);
    holder->state = LocaleManagerHolder::kNotAsked;
    holder->service = nullptr;
}

void DestroyHolder(void* block) {
    auto* holder = static_cast<LocaleManagerHolder*>(block);
    SODetails::BasicServiceObjectPtr<>::Adopt(holder->service).Reset();
    holder->service = nullptr;
    gHolder.exchange(nullptr);
}

void AskForService(LocaleManagerHolder& holder) {
    SODetails::BasicServiceObjectPtr<> service;
    try {
        static const SODetails::AtomStatic kLocaleManager("LocaleManager");
        service = SP::GetServiceObject(kLocaleManager, "LocaleManager");
    } catch (const ServiceObjectException&) {
        // No service: texts stay as they are.
    }
    SODetails::BasicServiceObjectPtr<>::Adopt(holder.service).Reset();
    holder.state = service ? LocaleManagerHolder::kHeld : LocaleManagerHolder::kNotAvailable;
    holder.service = service.Detach();
}

} // namespace

LocaleManagerHolder& LocaleManagerHolder::Instance() {
    static const SODetails::SingletonDescriptor descriptor = {
        kStaticDataId,
        static_cast<uint32_t>(sizeof(LocaleManagerHolder)),
        &ConstructHolder,
        &DestroyHolder,
        &gHolder,
        SODetails::kSingletonDestroyedText,
        SODetails::kSingletonBadIdText,
        SODetails::kSingletonMissingText,
    };
    return *static_cast<LocaleManagerHolder*>(SODetails::AcquireSingletonStaticData(descriptor));
}

std::wstring Localize(const wchar_t* text) {
    LocaleManagerHolder& holder = LocaleManagerHolder::Instance();
    if (holder.state == LocaleManagerHolder::kNotAsked ||
        holder.state == LocaleManagerHolder::kAskAgain)
        AskForService(holder);
    const wchar_t* translated = text;
    if (holder.state == LocaleManagerHolder::kHeld)
        SODetails::CallChecked<LocaleManagerOps::Translate>(holder.service, &translated, text);
    return translated ? std::wstring(translated) : std::wstring();
}
