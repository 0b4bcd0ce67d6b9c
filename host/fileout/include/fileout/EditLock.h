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
    // Locks the file at `path`, waiting while another process holds it
    // (`waiting` is called once, first). Since a finished edit renames a new
    // file over the name, the lock is taken again until the name still
    // leads to the locked file. Throws std::runtime_error when the file
    // cannot be opened or locked.
    EditLock(const std::string& path, const std::function<void()>& waiting);
    ~EditLock();
    EditLock(const EditLock&) = delete;
    EditLock& operator=(const EditLock&) = delete;

private:
    Platform::FileHandle file_ = Platform::kNoFile;
};

} // namespace FileOut
