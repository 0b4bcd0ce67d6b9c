// What every business-logic object of the stand-in host shares: result
// reporting, the host objects' common parts (service-common/HostObjects.h)
// and the document-model handles.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "folio.h"
#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ErrorReporting.h"
#include "service-common/EventSlot.h"
#include "service-common/HostObjects.h"
#include "service-common/PDResultToServiceCode.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace HostBLImpl {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
using SODetails::kBadArgument;
using SODetails::kDeclined;
using SODetails::kNotAvailable;
using SODetails::kOk;

constexpr uint64_t kNoPage = ~0ull;

// Inside a static operation function: report `code` for this operation.
#define HOSTBL_REPORT HOST_OBJECT_REPORT

// The strpool atom of a name.
inline SLAtom AtomOf(const char* name) {
    return SODetails::AtomFromString(name);
}

using SODetails::EventEntries;
using SODetails::EventSource;
using SODetails::EventSourceFor;
using SODetails::ImplOrNull;
using SODetails::OwnObject;

// The host's owning wrapper of a document-model handle: filled by a library
// call through Receive(), released once when it goes. The traits name the
// release function.
template <class Handle, class Traits> class FolioHandle {
public:
    FolioHandle() = default;
    FolioHandle(FolioHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    FolioHandle(const FolioHandle&) = delete;
    FolioHandle& operator=(const FolioHandle&) = delete;
    ~FolioHandle() { Reset(); }

    Handle get() const { return handle_; }
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    void Reset() {
        if (handle_)
            Traits::Release(handle_);
        handle_ = nullptr;
    }

    Handle handle_ = nullptr;
};

struct PageTraits {
    static void Release(PDPage page) { PDPageRelease(page); }
};
struct PageTextTraits {
    static void Release(PDPageText text) { PDPageTextRelease(text); }
};
using PageHandle = FolioHandle<PDPage, PageTraits>;
using PageTextHandle = FolioHandle<PDPageText, PageTextTraits>;

// The document-model library's last failure text, for exception messages.
std::string FolioMessage();

// A page of the document; throws std::runtime_error when it cannot be loaded.
PageHandle LoadPage(PDDocument document, uint64_t page);

} // namespace HostBLImpl
