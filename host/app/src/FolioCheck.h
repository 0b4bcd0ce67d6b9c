// Turns a failed document-model call into an exception. The library's
// message says what failed and why (naming the file or the page, counted
// from 1), so it is passed on as it is; `doing` stands in for it when the
// library said nothing.
#pragma once

#include <stdexcept>
#include <string>

#include "folio.h"

inline void CheckFolio(PDResult result, const std::string& doing) {
    if (result == kPDOk)
        return;
    const char* message = FolioLastErrorMessage();
    throw std::runtime_error(message && *message ? message : doing);
}
