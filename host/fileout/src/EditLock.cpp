#include "fileout/EditLock.h"

#include <stdexcept>

namespace FileOut {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw std::runtime_error("cannot lock '" + path + "' for editing: " + reason);
}

// Whether the name still leads to the open file.
bool StillNamed(Platform::FileHandle file, const std::string& path) {
    Platform::FileState held, named;
    return Platform::InspectFile(file, &held, nullptr) &&
           Platform::InspectPath(path, true, &named, nullptr) &&
           named.kind != Platform::FileKind::kMissing && held.device == named.device &&
           held.inode == named.inode;
}

} // namespace

EditLock::EditLock(const std::string& path, const std::function<void()>& waiting) {
    bool told = false;
    for (;;) {
        std::string reason;
        file_ = Platform::OpenForReading(path, &reason);
        if (file_ == Platform::kNoFile)
            Fail(path, reason);
        bool locked = Platform::LockFile(file_, false, &reason);
        if (!locked && reason.empty()) { // another run holds it
            if (!told && waiting) {
                told = true;
                waiting();
            }
            locked = Platform::LockFile(file_, true, &reason);
        }
        if (locked && StillNamed(file_, path))
            return;
        Platform::CloseFile(file_, nullptr);
        file_ = Platform::kNoFile;
        if (!locked)
            Fail(path, reason);
    }
}

EditLock::~EditLock() {
    if (file_ != Platform::kNoFile)
        Platform::CloseFile(file_, nullptr);
}

} // namespace FileOut
