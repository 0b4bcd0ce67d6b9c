// The UI thread: one dedicated thread that runs tasks one at a time, in the
// order they were posted. Host objects, the plug-in's UI handlers and the
// element trees live on it; other threads hand work over with Post (no
// answer) or Invoke (waits for the answer).
//
// Shutdown: once Shutdown has begun, Post refuses every new task (from any
// thread, the UI thread included) and destroys it unrun; Invoke from another
// thread throws UIThreadStopped. Every task accepted before that still runs,
// in order; then the thread ends. Shutdown waits for that, except when the
// UI thread itself calls it (or destroys the UIThread), which cannot wait
// for itself: the thread then ends on its own after its last task.
//
// A posted task that throws does not stop the thread: the exception goes to
// the failure sink given at construction (by default, the host's log) and
// the next task runs.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <type_traits>

#include "uiengine/Export.h"
#include "uiengine/UITask.h"

namespace UIEngine {

class UIThreadStopped : public std::runtime_error {
public:
    UIThreadStopped() : std::runtime_error("the UI thread has shut down") {}
};

class UIENGINE_API UIThread {
public:
    using FailureSink = std::function<void(std::exception_ptr)>;

    // Starts the thread; returns once it runs (ThreadId is known).
    explicit UIThread(FailureSink onFailure = {});
    ~UIThread();
    UIThread(const UIThread&) = delete;
    UIThread& operator=(const UIThread&) = delete;

    // Queues a task; false (the task destroyed unrun) after Shutdown began.
    bool Post(UITask task);

    // Runs `f` on the UI thread and returns its result or rethrows its
    // exception. On the UI thread itself `f` runs at once; from another
    // thread the call waits, so `f` runs after every task posted before it.
    template <class F> std::invoke_result_t<F&> Invoke(F&& f);

    bool IsCurrent() const;
    // The thread's id as Platform::CurrentThreadId gives it; 0 once the
    // thread has ended.
    uint32_t ThreadId() const;

    // From another thread: waits until no task is queued or running (tasks
    // that post tasks are waited for too). std::logic_error on the UI thread.
    void WaitIdle();

    void Shutdown();
    bool IsShuttingDown() const;
    // Posted tasks that ended with an exception so far.
    uint64_t FailedTasks() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

template <class F> std::invoke_result_t<F&> UIThread::Invoke(F&& f) {
    using Result = std::invoke_result_t<F&>;
    if (IsCurrent())
        return f();
    std::promise<Result> promise;
    std::future<Result> future = promise.get_future();
    bool posted = Post([&promise, &f] {
        try {
            if constexpr (std::is_void<Result>::value) {
                f();
                promise.set_value();
            } else {
                promise.set_value(f());
            }
        } catch (...) {
            promise.set_exception(std::current_exception());
        }
    });
    if (!posted)
        throw UIThreadStopped();
    return future.get();
}

} // namespace UIEngine
