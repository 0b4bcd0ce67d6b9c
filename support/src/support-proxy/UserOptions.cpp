#include "support-proxy/UserOptions.h"

#include <atomic>
#include <cstring>
#include <new>

#include "service-common/SingletonStaticData.h"
#include "support-proxy/OptionsStoreNode.h"

namespace {
// This module's cached address of the tree; the tree's destructor clears it.
std::atomic<void*> gOptionsRoot{nullptr};
} // namespace

void CreateOptionsRoot(void* storage) {
    // The store node first: when it cannot be had, nothing is half built.
    const usropts::UserSettingNodePtr storeSource = CreateOptionsStoreNode();
    std::memset(storage, 0, sizeof(UsrOpt_Options));
    UsrOpt_Options* root = new (storage) UsrOpt_Options();
    try {
        root->Build(storeSource, usropts::UserSettingNodePtr());
    } catch (...) {
        root->~UsrOpt_Options();
        throw;
    }
}

void DestroyOptionsRoot(void* storage) {
    gOptionsRoot.exchange(nullptr);
    // The block itself belongs to the singleton storage.
    static_cast<UsrOpt_Options*>(storage)->~UsrOpt_Options();
}

UsrOpt_Options& GetOptions() {
    static const SODetails::SingletonDescriptor kDescriptor = {
        usropts::kOptionsStaticDataId,
        static_cast<uint32_t>(sizeof(UsrOpt_Options)),
        &CreateOptionsRoot,
        &DestroyOptionsRoot,
        &gOptionsRoot,
        SODetails::kSingletonDestroyedText,
        SODetails::kSingletonBadIdText,
        SODetails::kSingletonMissingText,
    };
    return *static_cast<UsrOpt_Options*>(SODetails::AcquireSingletonStaticData(kDescriptor));
}
