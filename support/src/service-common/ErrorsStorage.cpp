#include "service-common/ErrorsStorage.h"

#include <cstring>
#include <new>

#include "platform/Platform.h"
#include "service-common/ResultCodes.h"
#include "service-common/SingletonStaticData.h"
#include "strpool.h"

namespace {
// This module's cached address of the storage.
std::atomic<void*> gErrorsStorage{nullptr};
} // namespace

void ErrorsStorage::Construct(void* block) {
    new (block) ErrorsStorage();
}

void ErrorsStorage::Destroy(void* block) {
    static_cast<ErrorsStorage*>(block)->~ErrorsStorage();
    gErrorsStorage.exchange(nullptr);
}

bool ErrorsStorage::IsAvailable() {
    return IsSingletonStaticDataStorageAvailable() == SODetails::kOk;
}

ErrorsStorage& ErrorsStorage::Instance() {
    static const SODetails::SingletonDescriptor descriptor = {
        kStaticDataId,
        static_cast<uint32_t>(sizeof(ErrorsStorage)),
        &ErrorsStorage::Construct,
        &ErrorsStorage::Destroy,
        &gErrorsStorage,
        "Fail to get ErrorsStorage instance! Is is already destroyed!",
        "Fail to get ErrorsStorage instance! Incorrect StaticDataID!",
        nullptr,
    };
    return *static_cast<ErrorsStorage*>(SODetails::AcquireSingletonStaticData(descriptor));
}

ServiceObjectException& ErrorsStorage::RecordMap::Of(uint32_t thread) {
    const auto placed = map_->try_emplace(thread);
    if (placed.second)
        ++count_;
    return placed.first->second;
}

ServiceObjectException* ErrorsStorage::RecordMap::Find(uint32_t thread) {
    const auto it = map_->find(thread);
    return it == map_->end() ? nullptr : &it->second;
}

void ErrorsStorage::Record(const ServiceObjectException& record) {
    boost::recursive_mutex::scoped_lock lock(mutex_);
    records_.Of(Platform::CurrentThreadId()) = record;
}

uint32_t ErrorsStorage::Describe(ErrorInfo* info, void** record) {
    std::memset(info, 0, sizeof(*info));
    boost::recursive_mutex::scoped_lock lock(mutex_);
    ServiceObjectException* kept = records_.Find(Platform::CurrentThreadId());
    if (!kept)
        return SODetails::kNoErrorRecorded;
    const ServiceObjectException& resolved = kept->Resolved();
    info->code = resolved.Code();
    info->line = resolved.Line();
    info->message = resolved.Message().c_str();
    info->function = resolved.Function().c_str();
    info->file = resolved.File().c_str();
    if (record)
        *record = kept;
    return SODetails::kOk;
}
