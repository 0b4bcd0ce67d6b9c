// Serialises the edits that write over the file they read: a run holds an
// exclusive advisory lock on the document from before it reads it until
// its result has replaced it, so that a concurrent run waits and then reads
// the result instead of losing it.
#pragma once

#include <functional>
#include <string>

#include "fileout/FileOutApi.h"
#include "platform/Files.h"

namespace FileOut {

class FILEOUT_API EditLock {
public:
    // Locks the file at `path` (Platform::LockForEdit), waiting while
    // another process holds it (`waiting` is called once, first). Throws
    // std::runtime_error when the file cannot be locked.
    EditLock(const std::string& path, const std::function<void()>& waiting);
    ~EditLock();
    EditLock(const EditLock&) = delete;
    EditLock& operator=(const EditLock&) = delete;

private:
    Platform::EditLockHandle lock_ = Platform::kNoEditLock;
};

} // namespace FileOut
