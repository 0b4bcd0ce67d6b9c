// Teardown is final for the process: these tests run in order, in a process
// of their own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "service-common/ResultCodes.h"
#include "strpool.h"

namespace {

std::string order;
uint32_t seen[3] = {99, 99, 99};

TEST(StrPoolTeardown, UnloadingTheLibraryRunsTheDestructors) {
    EXPECT_EXIT(
        {
            CreateSingletonStaticData(9, 8, nullptr,
                                      [](void*) { std::fputs("unloaded\n", stderr); });
            std::exit(0);
        },
        testing::ExitedWithCode(0), "unloaded");
}

TEST(StrPoolTeardown, DestroysNewestFirstThenAnswersTornDown) {
    CreateSingletonStaticData(1, 8, nullptr, [](void*) { order += "A"; });
    CreateSingletonStaticData(2, 8, nullptr, [](void*) {
        order += "B";
        void* block = nullptr;
        seen[1] = GetSingletonStaticData(3, 8, &block);
        seen[2] = CreateSingletonStaticData(4, 8, nullptr, nullptr);
    });
    CreateSingletonStaticData(3, 8, nullptr, [](void*) {
        order += "C";
        void* block = nullptr;
        seen[0] = GetSingletonStaticData(1, 8, &block);
    });
    SLTeardownSingletonStaticData();
    EXPECT_EQ(order, "CBA");
    EXPECT_EQ(seen[0], SODetails::kOk) << "older blocks live until their turn";
    EXPECT_EQ(seen[1], SODetails::kStorageTornDown) << "a destroyed block is gone for good";
    EXPECT_EQ(seen[2], SODetails::kStorageTornDown) << "nothing new is made during teardown";

    void* block = nullptr;
    EXPECT_EQ(IsSingletonStaticDataStorageAvailable(), SODetails::kStorageTornDown);
    EXPECT_EQ(GetSingletonStaticData(1, 8, &block), SODetails::kStorageTornDown);
    EXPECT_EQ(CreateSingletonStaticData(77, 8, nullptr, nullptr), SODetails::kStorageTornDown);
    SLTeardownSingletonStaticData();
    EXPECT_EQ(order, "CBA") << "a second teardown destroys nothing";
}

} // namespace
