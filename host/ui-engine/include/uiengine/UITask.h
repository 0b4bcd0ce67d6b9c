// A task for the UI thread: any callable with no arguments, moved in (it
// need not be copyable).
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace UIEngine {

class UITask {
public:
    UITask() = default;
    template <class F, class = std::enable_if_t<!std::is_same<std::decay_t<F>, UITask>::value>>
    UITask(F&& f) : callable_(std::make_unique<Model<std::decay_t<F>>>(std::forward<F>(f))) {}

    explicit operator bool() const { return static_cast<bool>(callable_); }
    void operator()() { callable_->Run(); }

private:
    struct Concept {
        virtual ~Concept() = default;
        virtual void Run() = 0;
    };
    template <class F> struct Model final : Concept {
        explicit Model(F&& f) : f(std::move(f)) {}
        explicit Model(const F& f) : f(f) {}
        void Run() override { f(); }
        F f;
    };
    std::unique_ptr<Concept> callable_;
};

} // namespace UIEngine
