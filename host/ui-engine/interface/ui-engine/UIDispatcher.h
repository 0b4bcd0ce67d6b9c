// The UI dispatcher ("UIDispatcher"): the service object a window hands out
// so that work reaches the window's UI thread.
//
// All user-facing calls arrive on the UI thread; code called on another
// thread (an event source, a server thread) asks MustHandOver and, when the
// answer is non-zero, packs its work into a block and posts it:
//
//   uint64_t handle = 0; void* block = nullptr;
//   AllocateBlock(dispatcher, sizeof(Work), &DestroyWork, &handle, &block);
//   new (block) Work{...};
//   Post(dispatcher, &RunWork, handle);
//
// The dispatcher owns every block it allocates. A posted block is handed to
// the invoker on the UI thread, then to the destructor callback, then freed,
// in that order, also when the invoker throws. A block whose post is refused
// (the UI thread has shut down) gets its destructor callback at once and is
// freed; so does a block never posted, when the dispatcher is destroyed.
// Blocks start zero-filled and are aligned for any fundamental type.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

// The invoker and the destructor of a block; both receive the block.
typedef void (*UIDispatcherBlockCallback)(void* block);

namespace UIDispatcherOps {
using SODetails::OperationSlot;

// *mustHandOver = non-zero when the calling thread is not the UI thread.
using MustHandOver = OperationSlot<0, uint32_t(uint32_t* mustHandOver)>;

// A zero-filled block of `size` bytes (1 to kMaxBlockSize) that the
// dispatcher owns, and the handle that names it for Post. `destructor` may
// be null.
using AllocateBlock = OperationSlot<8, uint32_t(uint64_t size, UIDispatcherBlockCallback destructor,
                                                uint64_t* handle, void** block)>;

// Runs `invoker` on the handle's block later on the UI thread, in the order
// of posting. A handle is posted once; an unknown or already posted handle
// gives kBadArgument. After the UI thread has shut down: kNotAvailable, and
// the block is destroyed unrun.
using Post = OperationSlot<16, uint32_t(UIDispatcherBlockCallback invoker, uint64_t handle)>;

constexpr std::size_t kOperationCount = 3;
constexpr uint64_t kMaxBlockSize = 1u << 20;
} // namespace UIDispatcherOps
