// Calls of other modules' objects: an operation beyond the object's table or
// in an empty slot is absent and is skipped, never called.
#include <gtest/gtest.h>

#include "TestObjects.h"

namespace {

struct Calls {
    static inline int count = 0;
    static inline uint32_t result = 0;
    static uint32_t Op(ServiceObject*, uint32_t value) {
        ++count;
        return result + value;
    }
};

template <std::size_t Position> using Slot = SODetails::OperationSlot<Position, uint32_t(uint32_t)>;

// Operation k lives at byte position 8k: a table of 8k bytes or less ends
// before it, even when the slot behind the table holds a function.
TEST(VersionSafeCall, OperationBeyondTheTableOrInAnEmptySlotIsSkipped) {
    fwtest::FlatObject<4> object;
    for (SODetails::Operation& op : object.object.operations)
        op = reinterpret_cast<SODetails::Operation>(&Calls::Op);
    for (uint32_t k : {0u, 1u, 3u})
        for (uint32_t size : {0u, 8 * k, 8 * k + 8}) {
            object.object.header.interfaceTableSize = size;
            const bool found = SODetails::FindOperation(object.get(), 8 * k) != nullptr;
            EXPECT_EQ(found, size > 8 * k) << k << "/" << size;
        }

    fwtest::FlatObject<2> older(8), empty;
    older.Set<Slot<0>>(&Calls::Op);
    older.Set<Slot<8>>(&Calls::Op);
    empty.Set<Slot<8>>(&Calls::Op);
    EXPECT_EQ(SODetails::TryCall<Slot<0>>(older.get(), 5u), std::optional<uint32_t>(5u));
    EXPECT_EQ(SODetails::TryCall<Slot<8>>(older.get(), 5u), std::nullopt);
    EXPECT_EQ(SODetails::TryCall<Slot<0>>(empty.get(), 1u), std::nullopt);
    EXPECT_FALSE(SODetails::HasOperation<Slot<0>>(empty.get()));
    EXPECT_TRUE(SODetails::HasOperation<Slot<8>>(empty.get()));
    EXPECT_EQ(SODetails::TryCall<Slot<8>>(nullptr, 1u), std::nullopt);
    Calls::result = 2; // would throw if it were called and checked
    EXPECT_FALSE(SODetails::CallChecked<Slot<8>>(older.get(), 0u));
    EXPECT_EQ(Calls::count, 1);
    Calls::result = 0;
    EXPECT_TRUE(SODetails::CallChecked<Slot<8>>(empty.get(), 1u));
    EXPECT_EQ(Calls::count, 2);
}

} // namespace
