// Win32 implementation of the host's file operations.
//
// Windows has no permission bits: a file's "permissions" are 0444 when it is
// read-only and 0666 otherwise, and a folder counts as writable unless it is
// marked read-only (its access list decides at the time of writing). The
// identity of a file is its volume serial number and file index.
#include "platform/Files.h"

#include <windows.h>

#include <climits>
#include <cwchar>
#include <list>
#include <mutex>

#include "Win32Text.h"

namespace Platform {

namespace {

constexpr uint32_t kReadOnlyPermissions = 0444;
constexpr uint32_t kWritablePermissions = 0666;
constexpr uint32_t kWriteBits = 0222;

bool Failed(std::string* reason, DWORD code = ::GetLastError()) {
    if (reason)
        *reason = ErrorReason(code);
    return false;
}

HANDLE Native(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileHandle Wrapped(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(handle);
}

void Describe(const BY_HANDLE_FILE_INFORMATION& info, bool linkItself, FileState* state) {
    const DWORD attributes = info.dwFileAttributes;
    if (linkItself && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        state->kind = FileKind::kSymbolicLink;
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        state->kind = FileKind::kFolder;
    else if (attributes & FILE_ATTRIBUTE_DEVICE)
        state->kind = FileKind::kOther;
    else
        state->kind = FileKind::kRegular;
    state->device = info.dwVolumeSerialNumber;
    state->inode = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    state->size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    state->modified =
        static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                             info.ftLastWriteTime.dwLowDateTime);
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    state->permissions = readOnly ? kReadOnlyPermissions : kWritablePermissions;
    // The read-only mark on a folder does not stop files being made in it.
    state->writable = state->kind == FileKind::kFolder || !readOnly;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

bool InspectPath(const std::string& path, bool followLinks, FileState* state, std::string* reason) {
    *state = FileState{};
    // Opening with no access reads the attributes even of files that others
    // hold open exclusively; folders need backup semantics to be opened.
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;
    if (!followLinks)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    const HANDLE file = ::CreateFileW(WideFromUtf8(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return IsMissing(error) || Failed(reason, error);
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = ::GetFileInformationByHandle(file, &info) != 0;
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (!known)
        return Failed(reason, error);
    Describe(info, !followLinks, state);
    return true;
}

bool InspectFile(FileHandle file, FileState* state, std::string* reason) {
    *state = FileState{};
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(Native(file), &info))
        return Failed(reason);
    Describe(info, false, state);
    return true;
}

FileHandle CreateNewFile(const std::string& path, bool* exists, std::string* reason,
                         RemovalTicket* removeOnInterrupt) {
    // Shared for deletion so that the file can be renamed into place while
    // this handle still holds it; not inherited by child processes.
    const HANDLE file = ::CreateFileW(
        WideFromUtf8(path).c_str(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
    *exists = file == INVALID_HANDLE_VALUE &&
              (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    if (file == INVALID_HANDLE_VALUE) {
        Failed(reason, error);
        return kNoFile;
    }
    if (removeOnInterrupt)
        *removeOnInterrupt = RemoveOnInterrupt(path);
    return Wrapped(file);
}

bool WriteFile(FileHandle file, const void* data, std::size_t size, std::string* reason) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > INT_MAX ? INT_MAX : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(Native(file), next, chunk, &written, nullptr))
            return Failed(reason);
        if (written == 0)
            return Failed(reason, ERROR_WRITE_FAULT);
        next += written;
        size -= written;
    }
    return true;
}

bool SetPermissions(FileHandle file, uint32_t permissions, std::string* reason) {
    FILE_BASIC_INFO info = {};
    if (!::GetFileInformationByHandleEx(Native(file), FileBasicInfo, &info, sizeof info))
        return Failed(reason);
    if (permissions & kWriteBits)
        info.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    else
        info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    return ::SetFileInformationByHandle(Native(file), FileBasicInfo, &info, sizeof info) != 0 ||
           Failed(reason);
}

bool SyncFile(FileHandle file, std::string* reason) {
    return ::FlushFileBuffers(Native(file)) != 0 || Failed(reason);
}

bool CloseFile(FileHandle file, std::string* reason) {
    return ::CloseHandle(Native(file)) != 0 || Failed(reason);
}

bool RenameFile(const std::string& from, const std::string& to, std::string* reason) {
    // Write-through: the rename is on the disk when the call returns.
    return ::MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           Failed(reason);
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(WideFromUtf8(path).c_str()) != 0;
}

bool SyncFolder(const std::string&, std::string*) {
    // Folders cannot be flushed; RenameFile already wrote the rename through.
    return true;
}

namespace {

EditLockHandle NoEditLock(std::string* reason, DWORD code) {
    Failed(reason, code);
    return kNoEditLock;
}

// The name of the edit lock of a file: its full path, in lower case since
// the file system ignores case, hashed (FNV-1a) into a name of fixed length.
bool EditLockName(const std::string& path, std::wstring* name, std::string* reason) {
    const std::wstring given = WideFromUtf8(path);
    const DWORD length = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return Failed(reason);
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(given.c_str(), length, &full[0], nullptr);
    if (written == 0 || written >= length)
        return Failed(reason);
    full.resize(written);
    ::CharLowerBuffW(&full[0], written);
    uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : full) {
        hash ^= static_cast<uint16_t>(unit);
        hash *= 1099511628211ull;
    }
    wchar_t text[48];
    std::swprintf(text, 48, L"Local\\vellum-edit-%016llx", static_cast<unsigned long long>(hash));
    *name = text;
    return true;
}

} // namespace

EditLockHandle LockForEdit(const std::string& path, bool wait, bool* busy, std::string* reason) {
    *busy = false;
    FileState state;
    if (!InspectPath(path, true, &state, reason))
        return kNoEditLock;
    if (state.kind == FileKind::kMissing)
        return NoEditLock(reason, ERROR_FILE_NOT_FOUND);
    std::wstring name;
    if (!EditLockName(path, &name, reason))
        return kNoEditLock;
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return NoEditLock(reason, ::GetLastError());
    // An abandoned lock (its holder ended without letting go) is taken over.
    const DWORD waited = ::WaitForSingleObject(mutex, wait ? INFINITE : 0);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return reinterpret_cast<EditLockHandle>(mutex);
    const DWORD error = ::GetLastError();
    ::CloseHandle(mutex);
    *busy = waited == WAIT_TIMEOUT;
    return NoEditLock(reason, *busy ? ERROR_LOCK_VIOLATION : error);
}

void UnlockEdit(EditLockHandle lock) {
    if (lock == kNoEditLock)
        return;
    ::ReleaseMutex(reinterpret_cast<HANDLE>(lock));
    ::CloseHandle(reinterpret_cast<HANDLE>(lock));
}

// ---------------------------------------------------------------------------
// Removal on interruption. Ctrl+C, Ctrl+Break and the closing of the console
// reach the process as calls of a handler on a thread of their own, which may
// take locks; after it has removed the files the default handler ends the
// process.

namespace {

struct PendingRemoval {
    std::wstring path;
};

std::mutex gRegistration;
std::list<PendingRemoval>& Pending() {
    static std::list<PendingRemoval> pending;
    return pending;
}

BOOL WINAPI RemovePendingAndEnd(DWORD) {
    std::lock_guard<std::mutex> lock(gRegistration);
    for (const PendingRemoval& entry : Pending())
        ::DeleteFileW(entry.path.c_str());
    return FALSE; // the next handler (the default one) ends the process
}

} // namespace

RemovalTicket RemoveOnInterrupt(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, [] { ::SetConsoleCtrlHandler(&RemovePendingAndEnd, TRUE); });
    std::lock_guard<std::mutex> lock(gRegistration);
    Pending().push_front(PendingRemoval{WideFromUtf8(path)});
    return &Pending().front();
}

void KeepOnInterrupt(RemovalTicket ticket) {
    if (!ticket)
        return;
    std::lock_guard<std::mutex> lock(gRegistration);
    Pending().remove_if([ticket](const PendingRemoval& entry) { return &entry == ticket; });
}

} // namespace Platform
