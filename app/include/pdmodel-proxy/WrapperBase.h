// The owning wrapper of a document-model library handle.
//
// A wrapper owns one handle and releases it exactly once, when it is
// destroyed or replaced. A null handle is allowed and never released. The
// traits name the release function (and, for copyable wrappers, the acquire
// function):
//   struct Traits { using Handle = ...; static void Release(Handle); };
#pragma once

#include <utility>

#include "folio.h"

namespace PDModel {
namespace Detail {

template <class Handle, class Traits> class WrapperBase {
public:
    WrapperBase() = default;
    // Takes over a handle that already carries a reference for the caller.
    explicit WrapperBase(Handle handle) : handle_(handle) {}
    WrapperBase(WrapperBase&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    WrapperBase& operator=(WrapperBase&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    WrapperBase(const WrapperBase&) = delete;
    WrapperBase& operator=(const WrapperBase&) = delete;
    ~WrapperBase() { ReleaseOf(handle_); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Releases the held handle and takes over `handle` (no acquire).
    void Reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old != handle)
            ReleaseOf(old);
    }
    // For a library call that hands out a handle through an out-pointer:
    // empties the wrapper; what is written through the address is owned.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    // Gives up the handle without releasing it.
    Handle Detach() { return std::exchange(handle_, nullptr); }

protected:
    static void ReleaseOf(Handle handle) {
        if (handle)
            Traits::Release(handle);
    }

    Handle handle_ = nullptr;
};

struct PDPageTextTraits {
    static void Acquire(PDPageText text) { PDPageTextAcquire(text); }
    static void Release(PDPageText text) { PDPageTextRelease(text); }
};

struct PDPageTraits {
    static void Release(PDPage page) { PDPageRelease(page); }
};

struct PDAnnotTraits {
    static void Release(PDAnnot annot) { PDAnnotRelease(annot); }
};

} // namespace Detail
} // namespace PDModel
