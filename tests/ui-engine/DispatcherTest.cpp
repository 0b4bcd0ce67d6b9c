// The "UIDispatcher": the hand-over test, and the life of a block from its
// allocation to its destruction, posted, refused or never posted.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "service-common/ServiceObjectCall.h"
#include "ui-engine/UIDispatcher.h"
#include "uiengine/Dispatcher.h"

namespace UIEngineTest {
namespace {

using namespace UIEngine;
using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// What a UI handler puts into a block: work.
struct Work {
    std::function<void()> run;
};

std::mutex gLogMutex;
std::vector<std::string> gLog;
void Note(const std::string& what) {
    std::lock_guard<std::mutex> lock(gLogMutex);
    gLog.push_back(what);
}

void RunWork(void* block) {
    Note("invoke");
    static_cast<Work*>(block)->run();
}
void DestroyWork(void* block) {
    Note("destroy");
    static_cast<Work*>(block)->~Work();
}

class Dispatcher : public testing::Test {
protected:
    void SetUp() override { gLog.clear(); }

    template <class Slot, class... Args> uint32_t Call(Args... args) {
        return SODetails::TryCall<Slot>(dispatcher.get(), args...).value_or(0xDEAD);
    }

    // A block holding `run`; its handle.
    uint64_t Allocate(std::function<void()> run) {
        uint64_t handle = 0;
        void* block = nullptr;
        EXPECT_EQ(Call<UIDispatcherOps::AllocateBlock>(uint64_t(sizeof(Work)), &DestroyWork,
                                                       &handle, &block),
                  SODetails::kOk);
        new (block) Work{std::move(run)};
        return handle;
    }
    uint32_t PostWork(std::function<void()> run) {
        return Call<UIDispatcherOps::Post>(&RunWork, Allocate(std::move(run)));
    }

    std::shared_ptr<UIThread> ui = std::make_shared<UIThread>();
    ObjectPtr dispatcher = CreateDispatcher(ui);
};

TEST_F(Dispatcher, HandsOverOnEveryThreadButTheUIThread) {
    uint32_t mustHandOver = 7;
    EXPECT_EQ(Call<UIDispatcherOps::MustHandOver>(&mustHandOver), 0u);
    EXPECT_EQ(mustHandOver, 1u);
    ui->Invoke([&] { Call<UIDispatcherOps::MustHandOver>(&mustHandOver); });
    EXPECT_EQ(mustHandOver, 0u);
    EXPECT_EQ(Call<UIDispatcherOps::MustHandOver>(nullptr), SODetails::kBadArgument);
}

TEST_F(Dispatcher, APostedBlockRunsOnTheUIThreadThenIsDestroyed) {
    // Handed over from another thread, as an event source would.
    std::thread source([&] {
        PostWork([&] { Note(ui->IsCurrent() ? "on the UI thread" : "elsewhere"); });
        PostWork([] { throw std::runtime_error("the work fails"); });
    });
    source.join();
    ui->WaitIdle();
    EXPECT_EQ(gLog, (std::vector<std::string>{"invoke", "on the UI thread", "destroy", "invoke",
                                              "destroy"}));
    EXPECT_EQ(ui->FailedTasks(), 1u);

    // A handle is posted once.
    const uint64_t handle = Allocate([] {});
    EXPECT_EQ(Call<UIDispatcherOps::Post>(&RunWork, handle), SODetails::kOk);
    EXPECT_EQ(Call<UIDispatcherOps::Post>(&RunWork, handle), SODetails::kBadArgument);
    EXPECT_EQ(Call<UIDispatcherOps::Post>(&RunWork, uint64_t(999)), SODetails::kBadArgument);
}

TEST_F(Dispatcher, BlocksAreZeroFilledAndSizesBounded) {
    uint64_t handle = 0;
    void* block = nullptr;
    EXPECT_EQ(Call<UIDispatcherOps::AllocateBlock>(uint64_t(80), nullptr, &handle, &block), 0u);
    unsigned char zeros[80] = {};
    EXPECT_EQ(std::memcmp(block, zeros, 80), 0);
    for (uint64_t size : {uint64_t(0), UIDispatcherOps::kMaxBlockSize + 1})
        EXPECT_EQ(Call<UIDispatcherOps::AllocateBlock>(size, nullptr, &handle, &block),
                  SODetails::kBadArgument);
}

TEST_F(Dispatcher, RefusedAndNeverPostedBlocksAreStillDestroyed) {
    Allocate([] { Note("never"); });
    ui->Shutdown();
    EXPECT_EQ(PostWork([] { Note("never"); }), SODetails::kNotAvailable);
    EXPECT_EQ(gLog, std::vector<std::string>{"destroy"});

    dispatcher.Reset(); // the block allocated first was never posted
    EXPECT_EQ(gLog, (std::vector<std::string>{"destroy", "destroy"}));
}

} // namespace
} // namespace UIEngineTest
