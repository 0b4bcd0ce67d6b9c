// A window's "UIDispatcher" as a UI handler uses it: the test whether the
// calling thread must hand its work over to the UI thread, and posting work
// there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "service-common/BasicServiceObjectPtr.h"

namespace SOImpl {

// The block a posted work item travels in, owned by the dispatcher: a tag,
// the block's size, the work (a callable built in place), and the
// dispatcher's handle of the block.
struct UIPostedWorkBlock {
    static constexpr uint32_t kTag = 0x4E494E49u;
    static constexpr uint32_t kSize = 80;

    uint32_t tag;
    uint32_t size;
    alignas(8) unsigned char work[64];
    uint64_t handle;
};
static_assert(sizeof(UIPostedWorkBlock) == UIPostedWorkBlock::kSize &&
                  offsetof(UIPostedWorkBlock, work) == 8 &&
                  offsetof(UIPostedWorkBlock, handle) == 72,
              "the posted work block is 80 bytes: tag, size, 64 bytes of work, handle");
static_assert(sizeof(std::function<void()>) <= sizeof(UIPostedWorkBlock::work),
              "the work fits its place in the block");

class UIThreadDispatcher {
public:
    explicit UIThreadDispatcher(SODetails::BasicServiceObjectPtr<> dispatcher)
        : dispatcher_(std::move(dispatcher)) {}

    // Whether work must be posted rather than run on the calling thread;
    // false when the dispatcher cannot tell.
    bool MustHandOver() const;

    // Runs `work` later on the UI thread. Without a dispatcher able to
    // allocate and post, the work is dropped. A refusal of the dispatcher
    // throws (CheckResult).
    void Post(std::function<void()> work) const;

    ServiceObject* get() const { return dispatcher_.get(); }

private:
    SODetails::BasicServiceObjectPtr<> dispatcher_;
};

} // namespace SOImpl
