#include "service-common/SingletonStaticData.h"

#include <stdexcept>

#include "service-common/ResultCodes.h"
#include "strpool.h"

namespace SODetails {

const char* const kSingletonDestroyedText =
    "Fail to get atom singleton instance! Is is already destroyed!";
const char* const kSingletonBadIdText = "Fail to get atom singleton instance! Incorrect StaticDataID!";
const char* const kSingletonMissingText = "Fail to get atom singleton instance!";

void* AcquireSingletonStaticData(const SingletonDescriptor& d) {
    if (IsSingletonStaticDataStorageAvailable() != kOk)
        throw std::runtime_error(d.destroyedText);
    if (!d.cache->load()) {
        void* block = nullptr;
        uint32_t result = GetSingletonStaticData(d.id, d.size, &block);
        if (result == kStorageTornDown)
            throw std::runtime_error(d.destroyedText);
        if (result == kSingletonRejected)
            throw std::runtime_error(d.badIdText);
        if (result == kNotFound) {
            if (CreateSingletonStaticData(d.id, d.size, d.constructor, d.destructor) ==
                kStorageTornDown)
                throw std::runtime_error(d.destroyedText);
            block = nullptr;
            GetSingletonStaticData(d.id, d.size, &block);
        }
        d.cache->exchange(block);
    }
    void* block = d.cache->load();
    if (!block && d.missingText)
        throw std::runtime_error(d.missingText);
    return block;
}

} // namespace SODetails
