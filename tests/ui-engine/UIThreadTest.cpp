// The UI thread: order, Invoke's answers and exceptions, failing tasks, and
// what shutting down runs and refuses.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/Platform.h"
#include "service-common/ServiceObjectException.h"
#include "uiengine/UIThread.h"

namespace UIEngineTest {
namespace {

using UIEngine::UIThread;

TEST(UIThread, RunsPostedTasksInOrderOnItsOwnThread) {
    UIThread ui;
    EXPECT_FALSE(ui.IsCurrent());
    EXPECT_NE(ui.ThreadId(), Platform::CurrentThreadId());
    std::vector<int> order;
    std::vector<uint32_t> threads;
    std::promise<void> release;
    ui.Post([gate = release.get_future().share()] { gate.wait(); }); // all queued first
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(ui.Post([&, i] {
            order.push_back(i);
            threads.push_back(Platform::CurrentThreadId());
            if (i == 10) // a task that posts: its task runs after those queued
                ui.Post([&] { order.push_back(100); });
        }));
    release.set_value();
    ui.WaitIdle();
    ASSERT_EQ(order.size(), 51u);
    EXPECT_EQ(order.back(), 100);
    EXPECT_EQ(order[49], 49);
    for (uint32_t id : threads)
        EXPECT_EQ(id, ui.ThreadId());
}

TEST(UIThread, InvokeAnswersRethrowsAndRunsDirectlyOnTheUIThread) {
    UIThread ui;
    EXPECT_EQ(ui.Invoke([] { return 42; }), 42);
    EXPECT_THROW(ui.Invoke([]() -> int { throw std::out_of_range("x"); }), std::out_of_range);
    // Work that answers nothing hands its exception over the same way.
    EXPECT_THROW(ui.Invoke([] { throw ServiceObjectException(7, L"x", "f", "file", 12); }),
                 ServiceObjectException);
    // Nested: already on the UI thread, so no waiting on itself.
    EXPECT_EQ(ui.Invoke([&] { return ui.Invoke([] { return Platform::CurrentThreadId(); }); }),
              ui.ThreadId());
    EXPECT_THROW(ui.Invoke([&] { ui.WaitIdle(); }), std::logic_error);
}

TEST(UIThread, AFailingTaskGoesToTheSinkAndTheNextOneRuns) {
    std::vector<std::string> failures; // read once Invoke has waited for the UI thread
    UIThread ui([&](std::exception_ptr failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            failures.push_back(e.what());
        }
    });
    ui.Post([] { throw std::runtime_error("first"); });
    EXPECT_EQ(ui.Invoke([] { return 1; }), 1);
    EXPECT_EQ(failures, std::vector<std::string>{"first"});
    EXPECT_EQ(ui.FailedTasks(), 1u);
}

TEST(UIThread, ShutdownRunsWhatWasQueuedAndRefusesTheRest) {
    auto ui = std::make_unique<UIThread>();
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    std::atomic<int> ran{0};
    ui->Post([gate] { gate.wait(); });
    for (int i = 0; i < 5; ++i)
        ui->Post([&] {
            ++ran;
            EXPECT_FALSE(ui->Post([&] { ran += 100; })); // refused while stopping
        });
    std::thread stopper([&] { ui->Shutdown(); });
    while (!ui->IsShuttingDown())
        std::this_thread::yield();
    auto dropped = std::make_shared<int>(0);
    EXPECT_FALSE(ui->Post([dropped] {}));
    EXPECT_EQ(dropped.use_count(), 1); // destroyed unrun
    release.set_value();
    stopper.join();
    EXPECT_EQ(ran, 5);
    EXPECT_THROW(ui->Invoke([] { return 0; }), UIEngine::UIThreadStopped);
    EXPECT_EQ(ui->ThreadId(), 0u);
    ui->Shutdown(); // again: nothing to do
}

TEST(UIThread, CanBeDestroyedFromItsOwnThread) {
    auto ui = std::make_shared<UIThread>();
    std::promise<void> done;
    UIThread* raw = ui.get();
    raw->Post([ui = std::move(ui), &done]() mutable {
        ui.reset(); // the last owner: destroyed on its own thread
        done.set_value();
    });
    done.get_future().wait();
}

} // namespace
} // namespace UIEngineTest
