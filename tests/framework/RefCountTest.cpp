// Reference counts and weak references of this framework's objects,
// including the races between the last release and locking a weak reference.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "TestObjects.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ResultCodes.h"

namespace {

using fwtest::ProbeObject;
using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

uint32_t Release(ServiceObject* o) {
    return o->common.Release(o);
}
uint32_t RefCount(ServiceObject* o) {
    return o->common.GetRefCount(o);
}
WeakRef* WeakOf(ServiceObject* o) {
    WeakRef* weak = nullptr;
    EXPECT_EQ(o->common.GetWeakRef(o, &weak), SODetails::kOk);
    return weak;
}

TEST(ReferenceCount, HolderAddsOnCopyAdoptsOutParametersAndReleasesReplacedObjects) {
    std::atomic<int> first{0}, second{0};
    ObjectPtr a = ObjectPtr::Adopt(ProbeObject::New(&first));
    EXPECT_EQ(RefCount(ObjectPtr(a).get()), 2u); // while the copy lives
    EXPECT_EQ(RefCount(a.get()), 1u);

    ObjectPtr b;
    *b.Receive() = ProbeObject::New(&second);
    EXPECT_EQ(RefCount(b.get()), 1u);

    a = b; // the first object's only reference goes
    EXPECT_EQ(first.load(), 1);
    EXPECT_EQ(RefCount(b.get()), 2u);
    a.Reset();
    b.Reset();
    EXPECT_EQ(second.load(), 1);
}

// Born with one reference, destroyed by the last release; the weak block is
// made once and outlives the object.
TEST(WeakReference, BlockIsMadeOnceAndOutlivesTheObject) {
    std::atomic<int> destructions{0};
    ServiceObject* o = ProbeObject::New(&destructions);
    EXPECT_EQ(RefCount(o), 1u);
    EXPECT_EQ(o->common.AddRef(o), 2u);
    EXPECT_EQ(Release(o), 1u);
    EXPECT_EQ(o->common.GetWeakRef(o, nullptr), SODetails::kBadArgument);

    WeakRef* w1 = WeakOf(o);
    ASSERT_NE(w1, nullptr);
    EXPECT_EQ(WeakOf(o), w1);
    EXPECT_EQ(w1->GetRefCount(w1), 3u); // the object's own hold and two holders
    EXPECT_EQ(w1->IsAlive(w1), 1u);

    ServiceObject* locked = w1->Lock(w1);
    EXPECT_EQ(locked, o);
    EXPECT_EQ(RefCount(o), 2u);
    EXPECT_EQ(Release(locked), 1u);
    EXPECT_EQ(destructions.load(), 0);
    EXPECT_EQ(Release(o), 0u);
    EXPECT_EQ(destructions.load(), 1);
    EXPECT_EQ(w1->IsAlive(w1), 0u);
    EXPECT_EQ(w1->Lock(w1), nullptr);
    EXPECT_EQ(w1->GetRefCount(w1), 2u);
    EXPECT_EQ(w1->Release(w1), 1u);
    EXPECT_EQ(w1->Release(w1), 0u); // freed now
}

constexpr int kRounds = 20000;

// One round of a race: a fresh object, the weak blocks the two sides got,
// and what the locking side saw.
struct Round {
    std::atomic<int> destructions{0};
    ServiceObject* object = ProbeObject::New(&destructions);
    WeakRef* weak = nullptr;
    WeakRef* otherWeak = nullptr;
    bool locked = false;
    int destructionsSeenWhileLocked = -1;
};

// Runs `first` and `second` on two threads, lined up before every round.
template <class First, class Second>
void Race(std::vector<Round>& rounds, First first, Second second) {
    fwtest::SpinBarrier barrier(2);
    auto run = [&](auto step) {
        for (Round& r : rounds) {
            barrier.Wait();
            step(r);
        }
    };
    std::thread a(run, first), b(run, second);
    a.join();
    b.join();
}

// Locks the round's weak block; what is got is seen alive, then released.
void LockAndRelease(Round& r) {
    if (ServiceObject* o = r.weak->Lock(r.weak)) {
        r.locked = true;
        std::this_thread::yield(); // give a wrong destruction time to happen
        r.destructionsSeenWhileLocked = r.destructions.load();
        EXPECT_GE(RefCount(o), 1u);
        Release(o);
    }
}

// The last Release on one thread against WeakRef::Lock on another: either
// Lock gets nothing and the object is destroyed once, or Lock gets the object
// alive with a reference of its own, and the object dies with that
// reference. Never both, never twice, never not at all.
TEST(WeakReference, LastReleaseRacesLock) {
    std::vector<Round> rounds(kRounds);
    for (Round& r : rounds)
        r.weak = WeakOf(r.object);
    Race(
        rounds, [](Round& r) { Release(r.object); }, LockAndRelease);

    int lockWins = 0;
    for (Round& r : rounds) {
        ASSERT_EQ(r.destructions.load(), 1);
        lockWins += r.locked;
        ASSERT_EQ(r.destructionsSeenWhileLocked, r.locked ? 0 : -1);
        ASSERT_EQ(r.weak->IsAlive(r.weak), 0u);
        ASSERT_EQ(r.weak->Lock(r.weak), nullptr);
        ASSERT_EQ(r.weak->Release(r.weak), 0u); // the last hold: the block goes
    }
    RecordProperty("LockWins", lockWins);
}

// Two holders: one makes the weak block and lets go while the other
// releases what it believes may be the last reference; a third party locks
// the fresh block meanwhile.
TEST(WeakReference, WeakBlockMadeDuringTheLastReleaseIsRespected) {
    std::vector<Round> rounds(kRounds / 2);
    for (Round& r : rounds)
        r.object->common.AddRef(r.object);
    Race(
        rounds, [](Round& r) { Release(r.object); },
        [](Round& r) {
            r.object->common.GetWeakRef(r.object, &r.weak);
            Release(r.object);
            LockAndRelease(r);
        });

    for (Round& r : rounds) {
        ASSERT_EQ(r.destructions.load(), 1);
        ASSERT_NE(r.destructionsSeenWhileLocked, 1);
        ASSERT_EQ(r.weak->Lock(r.weak), nullptr);
        ASSERT_EQ(r.weak->Release(r.weak), 0u);
    }
}

// Two threads asking a fresh object for its weak block get the same one;
// the block that lost the race is not leaked.
TEST(WeakReference, ConcurrentFirstGetWeakRefPublishesOneBlock) {
    std::vector<Round> rounds(2000);
    Race(
        rounds, [](Round& r) { r.object->common.GetWeakRef(r.object, &r.weak); },
        [](Round& r) { r.object->common.GetWeakRef(r.object, &r.otherWeak); });

    for (Round& r : rounds) {
        ASSERT_EQ(r.weak, r.otherWeak);
        ASSERT_EQ(r.weak->GetRefCount(r.weak), 3u);
        Release(r.object);
        r.weak->Release(r.weak);
        ASSERT_EQ(r.weak->Release(r.weak), 0u);
    }
}

} // namespace
