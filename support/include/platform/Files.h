// The operating system's side of the files the host writes: a file's state,
// files created exclusively and written through their handle, syncing,
// renaming into place, advisory locks, and the removal of unfinished files
// when the process is interrupted.
//
// Only the host uses this part of the platform layer (the plug-in writes no
// files), so it is a library of its own. Failures return false (or kNoFile)
// and the system's reason through `reason`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Platform {

using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

enum class FileKind { kMissing, kRegular, kFolder, kSymbolicLink, kOther };

struct FileState {
    FileKind kind = FileKind::kMissing;
    // Together, what makes a file itself whatever its names.
    uint64_t device = 0;
    uint64_t inode = 0;
    uint32_t permissions = 0; // the mode's permission bits
    // Together with the identity, what tells that a file was written since
    // it was last looked at: its length, and its last write in the
    // system's own ticks (only ever compared with another such value).
    uint64_t size = 0;
    int64_t modified = 0;
    // Whether this process may write the file (for a folder: create files
    // in it). A file without any write permission bit is never writable.
    bool writable = false;
};

// The state of `path` itself: a symbolic link is reported as one, not
// followed, unless followLinks. A path that does not exist is kMissing;
// false only when the path cannot be examined at all.
bool InspectPath(const std::string& path, bool followLinks, FileState* state, std::string* reason);
bool InspectFile(FileHandle file, FileState* state, std::string* reason);

// Creates a file that must not exist yet, as the path itself (never through
// a link), open for writing; the handle is not inherited by child
// processes. *exists tells a taken name from other failures. With
// `removeOnInterrupt`, the new file is registered for removal (see
// RemoveOnInterrupt) before an ending signal can come between.
using RemovalTicket = void*;
FileHandle CreateNewFile(const std::string& path, bool* exists, std::string* reason,
                         RemovalTicket* removeOnInterrupt = nullptr);
bool WriteFile(FileHandle file, const void* data, std::size_t size, std::string* reason);
bool SetPermissions(FileHandle file, uint32_t permissions, std::string* reason);
// Puts the file's bytes on the disk.
bool SyncFile(FileHandle file, std::string* reason);
bool CloseFile(FileHandle file, std::string* reason);

// Replaces `to` (the name itself, whatever it is) by `from` in one step.
bool RenameFile(const std::string& from, const std::string& to, std::string* reason);
bool RemoveFile(const std::string& path);
// Puts the folder's entries (a rename into it) on the disk.
bool SyncFolder(const std::string& folder, std::string* reason);

// An exclusive advisory lock on editing the existing file at `path` in
// place, among the processes that take it, held until UnlockEdit. A finished
// edit renames a new file over the name; the lock stays with the name:
// - POSIX: flock on the file, taken again until the name still leads to the
//   locked file;
// - Windows, where no file can be renamed over one that is open: a named
//   mutex of the session, keyed by the file's full path, and no handle on
//   the file. It is released by the thread that took it.
// Without `wait`, kNoEditLock with *busy set when another holds it; other
// failures give kNoEditLock and the reason.
using EditLockHandle = intptr_t;
constexpr EditLockHandle kNoEditLock = -1;
EditLockHandle LockForEdit(const std::string& path, bool wait, bool* busy, std::string* reason);
void UnlockEdit(EditLockHandle lock);

// Files to remove should the process be ended by SIGINT, SIGTERM or SIGHUP.
// The handler removes every registered file and then lets the signal take
// its default course. Registration is cheap; it installs the handler the
// first time (not for a signal the process ignores).
// Null when the path is too long to be kept for the handler.
RemovalTicket RemoveOnInterrupt(const std::string& path);
void KeepOnInterrupt(RemovalTicket ticket);

} // namespace Platform
