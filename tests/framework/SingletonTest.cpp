// The process-wide singleton blocks: created once, found by every module
// under their fixed ids.
#include <gtest/gtest.h>

#include <atomic>

#include "service-common/ErrorsStorage.h"
#include "service-common/Localize.h"
#include "service-common/ResultCodes.h"
#include "service-common/SingletonStaticData.h"
#include "strpool.h"

namespace {

struct Counter {
    static inline int constructed = 0;
    static void Construct(void* block) {
        ++constructed;
        *static_cast<uint64_t*>(block) = 0x5EED;
    }
    static void Destroy(void*) {}
};

SODetails::SingletonDescriptor Descriptor(uint32_t id, uint32_t size, std::atomic<void*>* cache) {
    return {id,
            size,
            &Counter::Construct,
            &Counter::Destroy,
            cache,
            SODetails::kSingletonDestroyedText,
            SODetails::kSingletonBadIdText,
            SODetails::kSingletonMissingText};
}

TEST(Singleton, CreatedOnceAndFoundByEveryCache) {
    constexpr uint32_t kId = 0x54535746; // "FWST"
    std::atomic<void*> cache{nullptr}, otherModulesCache{nullptr};

    void* block = SODetails::AcquireSingletonStaticData(Descriptor(kId, 8, &cache));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(cache.load(), block);
    EXPECT_EQ(Counter::constructed, 1);
    EXPECT_EQ(*static_cast<uint64_t*>(block), 0x5EEDu);

    EXPECT_EQ(SODetails::AcquireSingletonStaticData(Descriptor(kId, 8, &cache)), block);
    EXPECT_EQ(SODetails::AcquireSingletonStaticData(Descriptor(kId, 8, &otherModulesCache)), block);
    EXPECT_EQ(Counter::constructed, 1);
}

// Other modules find these blocks by their ids, so the ids are fixed.
TEST(Singleton, ErrorStorageAndLocaleHolderLiveUnderTheirIds) {
    void* storage = &ErrorsStorage::Instance();
    EXPECT_EQ(&ErrorsStorage::Instance(), storage);
    void* block = nullptr;
    ASSERT_EQ(GetSingletonStaticData(0xFFFFFFFFu, sizeof(ErrorsStorage), &block), SODetails::kOk);
    EXPECT_EQ(block, storage);

    void* holder = &LocaleManagerHolder::Instance();
    ASSERT_EQ(GetSingletonStaticData(0x48534D4Cu, 16, &block), SODetails::kOk); // "LMSH"
    EXPECT_EQ(block, holder);
}

} // namespace
