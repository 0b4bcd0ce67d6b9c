#include "uiengine/UIThread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/Platform.h"
#include "service-common/Log.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"

namespace UIEngine {

namespace {

std::wstring DescribeFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ServiceObjectException& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return SLText::ToWide(e.what());
    } catch (...) {
        return L"an exception of unknown type";
    }
}

void LogFailure(std::exception_ptr failure) {
    try {
        Log(L"A task on the UI thread failed: " + DescribeFailure(failure),
            SODetails::kLogSeverityFailure, "host\\ui-engine\\uithread", 0,
            "void UIEngine::UIThread::State::Run(void)");
    } catch (...) {
        // Nothing more can be done about it.
    }
}

} // namespace

// Shared with the thread's own function, so that the thread can finish after
// a UIThread destroyed on the UI thread itself.
struct UIThread::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<UITask> queue;
    bool stopping = false;
    bool running = false;
    std::atomic<uint32_t> threadId{0};
    std::atomic<uint64_t> failed{0};
    FailureSink onFailure;
    std::thread thread;
    std::mutex joining; // two threads must not join at once

    void Report(std::exception_ptr failure) noexcept {
        try {
            onFailure(failure);
        } catch (...) {
            // A sink that fails itself must not end the UI thread.
        }
    }

    void Run() {
        for (;;) {
            UITask task;
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return !queue.empty() || stopping; });
                if (queue.empty())
                    break;
                task = std::move(queue.front());
                queue.pop_front();
                running = true;
            }
            try {
                task();
            } catch (...) {
                ++failed;
                Report(std::current_exception());
            }
            task = UITask(); // destroyed before the thread counts as idle
            std::lock_guard<std::mutex> lock(mutex);
            running = false;
            if (queue.empty())
                idle.notify_all();
        }
        std::lock_guard<std::mutex> lock(mutex);
        idle.notify_all();
    }
};

UIThread::UIThread(FailureSink onFailure) : state_(std::make_shared<State>()) {
    state_->onFailure = onFailure ? std::move(onFailure) : FailureSink(&LogFailure);
    std::promise<void> started;
    std::future<void> ready = started.get_future();
    state_->thread = std::thread([state = state_, &started] {
        state->threadId = Platform::CurrentThreadId();
        started.set_value();
        state->Run();
        state->threadId = 0; // the system may give the id to a new thread
    });
    ready.wait();
}

UIThread::~UIThread() {
    Shutdown();
    std::lock_guard<std::mutex> lock(state_->joining);
    if (state_->thread.joinable())
        state_->thread.detach(); // destroyed on the UI thread itself
}

bool UIThread::Post(UITask task) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->stopping)
        return false;
    state_->queue.push_back(std::move(task));
    state_->wake.notify_one();
    return true;
}

bool UIThread::IsCurrent() const {
    return Platform::CurrentThreadId() == state_->threadId;
}

uint32_t UIThread::ThreadId() const {
    return state_->threadId;
}

void UIThread::WaitIdle() {
    if (IsCurrent())
        throw std::logic_error("the UI thread cannot wait for itself to become idle");
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->idle.wait(lock, [&] { return state_->queue.empty() && !state_->running; });
}

void UIThread::Shutdown() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stopping = true;
        state_->wake.notify_all();
    }
    std::lock_guard<std::mutex> lock(state_->joining);
    if (!IsCurrent() && state_->thread.joinable())
        state_->thread.join();
}

bool UIThread::IsShuttingDown() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->stopping;
}

uint64_t UIThread::FailedTasks() const {
    return state_->failed;
}

} // namespace UIEngine
