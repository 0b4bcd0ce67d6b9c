// Access to a page of the host's document: the page object pairs
// BeginPageAccess with EndPageAccess, and the pair must close however the
// work in between ends.
#pragma once

#include <cstdint>

#include "bl/BLDocument.h"

namespace BL {

// Begins access to `page` (the document's page object) and ends it when it
// goes, when the host gave a non-zero token. End() ends it early and lets a
// failing EndPageAccess throw; the destructor, which may run while an
// exception unwinds, ignores the result.
class PageAccess {
public:
    explicit PageAccess(ServiceObject* page) : page_(page) {
        SODetails::CallChecked<BLPageOps::BeginPageAccess>(page_, 0u, &token_);
    }
    ~PageAccess() {
        if (token_ != 0)
            SODetails::TryCall<BLPageOps::EndPageAccess>(page_);
    }
    PageAccess(const PageAccess&) = delete;
    PageAccess& operator=(const PageAccess&) = delete;

    void End() {
        if (token_ == 0)
            return;
        token_ = 0;
        SODetails::CallChecked<BLPageOps::EndPageAccess>(page_);
    }

private:
    ServiceObject* page_;
    uint64_t token_ = 0;
};

} // namespace BL
