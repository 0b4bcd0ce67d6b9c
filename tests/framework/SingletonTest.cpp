// The process-wide singleton blocks: created once, found through every
// module's cache.
#include <gtest/gtest.h>

#include <atomic>

#include "service-common/ResultCodes.h"
#include "service-common/SingletonStaticData.h"

namespace {

int constructed = 0;

void Construct(void* block) {
    ++constructed;
    *static_cast<uint64_t*>(block) = 0x5EED;
}

// An 8-byte block under the id "FWST", found through `cache`.
SODetails::SingletonDescriptor Descriptor(std::atomic<void*>* cache) {
    return {0x54535746,
            8,
            &Construct,
            nullptr,
            cache,
            SODetails::kSingletonDestroyedText,
            SODetails::kSingletonBadIdText,
            SODetails::kSingletonMissingText};
}

TEST(Singleton, CreatedOnceAndFoundByEveryCache) {
    std::atomic<void*> cache{nullptr}, otherModulesCache{nullptr};
    void* block = SODetails::AcquireSingletonStaticData(Descriptor(&cache));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(cache.load(), block);
    EXPECT_EQ(*static_cast<uint64_t*>(block), 0x5EEDu);
    EXPECT_EQ(SODetails::AcquireSingletonStaticData(Descriptor(&cache)), block);
    EXPECT_EQ(SODetails::AcquireSingletonStaticData(Descriptor(&otherModulesCache)), block);
    EXPECT_EQ(constructed, 1);
}

} // namespace
