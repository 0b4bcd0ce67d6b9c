// Turns a failed document-model call into an exception that says what was
// being done and what the library answered.
#pragma once

#include <stdexcept>
#include <string>

#include "folio.h"

inline void CheckFolio(PDResult result, const std::string& doing) {
    if (result != kPDOk)
        throw std::runtime_error(doing + ": " + FolioLastErrorMessage());
}
