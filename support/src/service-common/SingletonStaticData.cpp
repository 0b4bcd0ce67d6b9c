#include "service-common/SingletonStaticData.h"

#include <stdexcept>

#include "strpool.h"

namespace SODetails {

const char* const kSingletonDestroyedText =
    "Fail to get atom singleton instance! Is is already destroyed!";
const char* const kSingletonBadIdText = "Fail to get atom singleton instance! Incorrect StaticDataID!";
const char* const kSingletonMissingText = "Fail to get atom singleton instance!";

namespace {
constexpr uint32_t kBadId = 6;
constexpr uint32_t kNotCreated = 8;
constexpr uint32_t kTornDown = 15;
} // namespace

void* AcquireSingletonStaticData(const SingletonDescriptor& d) {
    if (IsSingletonStaticDataStorageAvailable() != 0)
        throw std::runtime_error(d.destroyedText);
    if (!d.cache->load()) {
        void* block = nullptr;
        uint32_t result = GetSingletonStaticData(d.id, d.size, &block);
        if (result == kTornDown)
            throw std::runtime_error(d.destroyedText);
        if (result == kBadId)
            throw std::runtime_error(d.badIdText);
        if (result == kNotCreated) {
            if (CreateSingletonStaticData(d.id, d.size, d.constructor, d.destructor) == kTornDown)
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
