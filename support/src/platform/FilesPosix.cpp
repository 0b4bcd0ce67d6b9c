// POSIX implementation of the host's file operations.
#include "platform/Files.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace Platform {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

bool Failed(std::string* reason) {
    if (reason)
        *reason = std::strerror(errno);
    return false;
}

int Descriptor(FileHandle file) {
    return static_cast<int>(file);
}

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode))
        return FileKind::kRegular;
    if (S_ISDIR(mode))
        return FileKind::kFolder;
    if (S_ISLNK(mode))
        return FileKind::kSymbolicLink;
    return FileKind::kOther;
}

void Describe(const struct stat& st, FileState* state) {
    state->kind = KindOf(st.st_mode);
    state->device = static_cast<uint64_t>(st.st_dev);
    state->inode = static_cast<uint64_t>(st.st_ino);
    state->permissions = static_cast<uint32_t>(st.st_mode & 07777);
    state->size = static_cast<uint64_t>(st.st_size);
    state->modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

bool InspectPath(const std::string& path, bool followLinks, FileState* state, std::string* reason) {
    struct stat st;
    *state = FileState{};
    const int result = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (result != 0)
        return errno == ENOENT ? true : Failed(reason);
    Describe(st, state);
    if (state->kind == FileKind::kFolder)
        state->writable = ::access(path.c_str(), W_OK | X_OK) == 0;
    else if (state->kind == FileKind::kRegular)
        state->writable = (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
    return true;
}

bool InspectFile(FileHandle file, FileState* state, std::string* reason) {
    struct stat st;
    *state = FileState{};
    if (::fstat(Descriptor(file), &st) != 0)
        return Failed(reason);
    Describe(st, state);
    return true;
}

FileHandle CreateNewFile(const std::string& path, bool* exists, std::string* reason,
                         RemovalTicket* removeOnInterrupt) {
    // The ending signals wait while the file is made and registered.
    sigset_t ending, previous;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals)
        sigaddset(&ending, signal);
    if (removeOnInterrupt)
        ::pthread_sigmask(SIG_BLOCK, &ending, &previous);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    const int error = errno;
    if (fd >= 0 && removeOnInterrupt)
        *removeOnInterrupt = RemoveOnInterrupt(path);
    if (removeOnInterrupt)
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    *exists = fd < 0 && errno == EEXIST;
    if (fd < 0)
        Failed(reason);
    return fd < 0 ? kNoFile : fd;
}

bool WriteFile(FileHandle file, const void* data, std::size_t size, std::string* reason) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(Descriptor(file), next, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return Failed(reason);
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool SetPermissions(FileHandle file, uint32_t permissions, std::string* reason) {
    return ::fchmod(Descriptor(file), static_cast<mode_t>(permissions)) == 0 || Failed(reason);
}

bool SyncFile(FileHandle file, std::string* reason) {
    return ::fsync(Descriptor(file)) == 0 || Failed(reason);
}

bool CloseFile(FileHandle file, std::string* reason) {
    return ::close(Descriptor(file)) == 0 || Failed(reason);
}

bool RenameFile(const std::string& from, const std::string& to, std::string* reason) {
    return ::rename(from.c_str(), to.c_str()) == 0 || Failed(reason);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool SyncFolder(const std::string& folder, std::string* reason) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Failed(reason);
    // Some file systems cannot sync a folder; their renames are as durable
    // as they get.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    if (!synced)
        Failed(reason);
    ::close(fd);
    return synced;
}

namespace {

EditLockHandle NoEditLock(std::string* reason) {
    Failed(reason);
    return kNoEditLock;
}

// Whether the name still leads to the open file.
bool StillNamed(int fd, const std::string& path) {
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

EditLockHandle LockForEdit(const std::string& path, bool wait, bool* busy, std::string* reason) {
    *busy = false;
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return NoEditLock(reason);
        // flock, not fcntl: a process's fcntl locks go away when it closes
        // any other descriptor of the same file, as reading the document does.
        int locked;
        while ((locked = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB))) != 0 && errno == EINTR) {
        }
        if (locked == 0 && StillNamed(fd, path))
            return fd;
        const int error = errno;
        ::close(fd);
        if (locked != 0) {
            *busy = error == EWOULDBLOCK && !wait;
            errno = error;
            return NoEditLock(reason);
        }
        // A finished edit renamed a new file over the name meanwhile.
    }
}

void UnlockEdit(EditLockHandle lock) {
    if (lock != kNoEditLock)
        ::close(static_cast<int>(lock));
}

// ---------------------------------------------------------------------------
// Removal on interruption. The signal handler may only make async-signal-safe
// calls and cannot take locks, so the registered names sit in a list that
// only grows: its entries are reused, never freed, and the handler walks it
// through atomic loads.

namespace {

constexpr std::size_t kLongestPath = 4096;

struct PendingRemoval {
    std::atomic<PendingRemoval*> next{nullptr};
    std::atomic<bool> armed{false};
    bool taken = false; // guarded by gRegistration
    char path[kLongestPath];
};

std::atomic<PendingRemoval*> gPending{nullptr};
std::mutex gRegistration;

extern "C" void RemovePendingAndEnd(int signal) {
    for (PendingRemoval* entry = gPending.load(std::memory_order_acquire); entry;
         entry = entry->next.load(std::memory_order_acquire))
        if (entry->armed.load(std::memory_order_acquire))
            ::unlink(entry->path);
    struct sigaction fallback;
    std::memset(&fallback, 0, sizeof fallback);
    fallback.sa_handler = SIG_DFL;
    ::sigaction(signal, &fallback, nullptr);
    // Delivered as soon as this handler returns, with the default action.
    ::raise(signal);
}

void InstallHandlers() {
    for (const int signal : kEndingSignals) {
        struct sigaction previous;
        if (::sigaction(signal, nullptr, &previous) != 0)
            continue;
        // A signal the process ignores (nohup) or handles itself is left alone.
        if ((previous.sa_flags & SA_SIGINFO) || previous.sa_handler != SIG_DFL)
            continue;
        struct sigaction handler;
        std::memset(&handler, 0, sizeof handler);
        handler.sa_handler = &RemovePendingAndEnd;
        sigemptyset(&handler.sa_mask);
        for (const int other : kEndingSignals)
            sigaddset(&handler.sa_mask, other);
        ::sigaction(signal, &handler, nullptr);
    }
}

} // namespace

RemovalTicket RemoveOnInterrupt(const std::string& path) {
    if (path.size() >= kLongestPath)
        return nullptr;
    static std::once_flag installed;
    std::call_once(installed, &InstallHandlers);
    std::lock_guard<std::mutex> lock(gRegistration);
    PendingRemoval* entry = gPending.load(std::memory_order_acquire);
    while (entry && entry->taken)
        entry = entry->next.load(std::memory_order_acquire);
    if (!entry) {
        entry = new PendingRemoval;
        entry->next.store(gPending.load(std::memory_order_relaxed), std::memory_order_relaxed);
        gPending.store(entry, std::memory_order_release);
    }
    entry->taken = true;
    std::memcpy(entry->path, path.c_str(), path.size() + 1);
    entry->armed.store(true, std::memory_order_release);
    return entry;
}

void KeepOnInterrupt(RemovalTicket ticket) {
    if (!ticket)
        return;
    PendingRemoval* entry = static_cast<PendingRemoval*>(ticket);
    entry->armed.store(false, std::memory_order_release);
    std::lock_guard<std::mutex> lock(gRegistration);
    entry->taken = false;
}

} // namespace Platform
