#include "ui/UIThreadDispatcher.h"

#include <new>

#include "ui-engine/UIDispatcher.h"

namespace SOImpl {

namespace {

using Work = std::function<void()>;

UIPostedWorkBlock* BlockOf(void* block) {
    auto* posted = static_cast<UIPostedWorkBlock*>(block);
    return posted && posted->tag == UIPostedWorkBlock::kTag ? posted : nullptr;
}

Work& WorkOf(UIPostedWorkBlock& block) {
    return *std::launder(reinterpret_cast<Work*>(block.work));
}

// The invoker: an empty work item throws std::bad_function_call.
void RunWork(void* block) {
    if (UIPostedWorkBlock* posted = BlockOf(block))
        WorkOf (*posted)();
}

void DestroyWork(void* block) {
    if (UIPostedWorkBlock* posted = BlockOf(block)) {
        WorkOf(*posted).~Work();
        posted->tag = 0;
    }
}

} // namespace

bool UIThreadDispatcher::MustHandOver() const {
    uint32_t mustHandOver = 0;
    SODetails::CallChecked<UIDispatcherOps::MustHandOver>(dispatcher_.get(), &mustHandOver);
    return mustHandOver != 0;
}

void UIThreadDispatcher::Post(Work work) const {
    ServiceObject* dispatcher = dispatcher_.get();
    if (!SODetails::HasOperation<UIDispatcherOps::AllocateBlock>(dispatcher) ||
        !SODetails::HasOperation<UIDispatcherOps::Post>(dispatcher))
        return;
    uint64_t handle = 0;
    void* block = nullptr;
    SODetails::CallChecked<UIDispatcherOps::AllocateBlock>(
        dispatcher, uint64_t{UIPostedWorkBlock::kSize}, &DestroyWork, &handle, &block);
    if (!block)
        return;
    auto* posted = static_cast<UIPostedWorkBlock*>(block);
    new (posted->work) Work(std::move(work));
    posted->size = UIPostedWorkBlock::kSize;
    posted->handle = handle;
    // Tagged last: until then the destructor callback finds nothing to destroy.
    posted->tag = UIPostedWorkBlock::kTag;
    SODetails::CallChecked<UIDispatcherOps::Post>(dispatcher, &RunWork, handle);
}

} // namespace SOImpl
