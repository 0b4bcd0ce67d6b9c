#include "fileout/EditLock.h"

#include <stdexcept>

namespace FileOut {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw std::runtime_error("cannot lock '" + path + "' for editing: " + reason);
}

} // namespace

EditLock::EditLock(const std::string& path, const std::function<void()>& waiting) {
    bool busy = false;
    std::string reason;
    lock_ = Platform::LockForEdit(path, false, &busy, &reason);
    if (lock_ == Platform::kNoEditLock && busy) { // another run holds it
        if (waiting)
            waiting();
        lock_ = Platform::LockForEdit(path, true, &busy, &reason);
    }
    if (lock_ == Platform::kNoEditLock)
        Fail(path, reason);
}

EditLock::~EditLock() {
    Platform::UnlockEdit(lock_);
}

} // namespace FileOut
