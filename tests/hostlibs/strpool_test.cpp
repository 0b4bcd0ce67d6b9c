#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "service-common/ResultCodes.h"
#include "strpool.h"

namespace {

uint32_t Atom(const std::string& name) {
    uint32_t atom = 0;
    EXPECT_EQ(SLGetAtomFromString(name.c_str(), &atom), SODetails::kOk);
    return atom;
}

TEST(StrPool, AtomsAgreeBothWays) {
    EXPECT_EQ(Atom("alpha"), Atom("alpha"));
    EXPECT_NE(Atom("Alpha"), Atom("alpha"));
    const uint32_t atom = Atom("beta");
    EXPECT_GE(atom, 16u) << "numbers below 16 are reserved";
    const char* name = nullptr;
    ASSERT_EQ(SLGetStringFromAtom(atom, &name), SODetails::kOk);
    EXPECT_STREQ(name, "beta");
    EXPECT_EQ(SLGetStringFromAtom(2, &name), SODetails::kNotFound);
    EXPECT_EQ(SLGetStringFromAtom(1, nullptr), SODetails::kBadArgument);
}

std::atomic<int> constructions{0};

void SlowConstructor(void* block) {
    ++constructions;
    EXPECT_EQ(*static_cast<uint64_t*>(block), 0u) << "blocks start zeroed";
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // widens the race
    *static_cast<uint64_t*>(block) = 0xC0FFEE;
}

TEST(StrPool, SingletonResults) {
    void* block = nullptr;
    EXPECT_EQ(IsSingletonStaticDataStorageAvailable(), SODetails::kOk);
    EXPECT_EQ(GetSingletonStaticData(0x1001, 16, &block), SODetails::kNotFound);
    EXPECT_EQ(GetSingletonStaticData(0, 16, &block), SODetails::kSingletonRejected);
    EXPECT_EQ(CreateSingletonStaticData(0x1001, 0, nullptr, nullptr), SODetails::kBadArgument);
    ASSERT_EQ(CreateSingletonStaticData(0x1001, 16, nullptr, nullptr), SODetails::kOk);
    ASSERT_EQ(GetSingletonStaticData(0x1001, 16, &block), SODetails::kOk);
    EXPECT_EQ(GetSingletonStaticData(0x1001, 24, &block), SODetails::kSingletonRejected);
    EXPECT_EQ(CreateSingletonStaticData(0x1001, 24, nullptr, nullptr),
              SODetails::kSingletonRejected);
}

TEST(StrPool, RacingCreatorsConstructOnceAndBothSeeTheFinishedBlock) {
    uint64_t seen[2] = {};
    auto create = [](uint64_t* value) {
        void* block = nullptr;
        ASSERT_EQ(CreateSingletonStaticData(0x2002, 8, SlowConstructor, nullptr), SODetails::kOk);
        ASSERT_EQ(GetSingletonStaticData(0x2002, 8, &block), SODetails::kOk);
        *value = *static_cast<uint64_t*>(block);
    };
    std::thread other(create, &seen[0]);
    create(&seen[1]);
    other.join();
    EXPECT_EQ(constructions, 1);
    EXPECT_EQ(seen[0], 0xC0FFEEu);
    EXPECT_EQ(seen[1], 0xC0FFEEu);
}

} // namespace
