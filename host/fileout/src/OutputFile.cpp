#include "fileout/OutputFile.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "fileout/OutputTarget.h"
#include "platform/Platform.h"

namespace FileOut {

namespace {

// Names tried for the temporary before giving up: each is random, and a
// taken one is never opened.
constexpr int kNameAttempts = 64;

std::string RandomSuffix() {
    static std::atomic<uint32_t> serial{0};
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    uint64_t value = (uint64_t(random()) << 32) ^ random() ^ ++serial;
    std::string suffix;
    for (int i = 0; i < 10; ++i, value /= 36)
        suffix += kDigits[value % 36];
    return suffix;
}

void HoldForTests(const std::string& temporary) {
    const char* hold = std::getenv("VELLUM_HOLD_BEFORE_COMMIT");
    if (!hold)
        return;
    const unsigned long milliseconds = std::strtoul(hold, nullptr, 10);
    std::fprintf(stderr, "holding %s for %lu ms before the rename\n", temporary.c_str(),
                 milliseconds);
    std::fflush(stderr);
    Platform::SleepMilliseconds(static_cast<uint32_t>(milliseconds));
}

bool SameContentState(const Platform::FileState& a, const Platform::FileState& b) {
    return a.kind == b.kind && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified == b.modified;
}

} // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    permissions_ = CheckOutputTarget(target_);
    const std::string stem =
        FolderOf(target_) + "/." + std::filesystem::path(target_).filename().string() + ".";
    for (int attempt = 0; attempt < kNameAttempts && file_ == Platform::kNoFile; ++attempt) {
        temporary_ = stem + RandomSuffix();
        bool taken = false;
        std::string reason;
        file_ = Platform::CreateNewFile(temporary_, &taken, &reason, &ticket_);
        if (file_ == Platform::kNoFile && !taken)
            Fail(reason);
    }
    if (file_ == Platform::kNoFile)
        Fail("no free name for a temporary file beside it");
}

OutputFile::~OutputFile() {
    if (file_ != Platform::kNoFile)
        Platform::CloseFile(file_, nullptr);
    if (!committed_)
        Platform::RemoveFile(temporary_);
    Platform::KeepOnInterrupt(ticket_);
}

void OutputFile::Fail(const std::string& why) const {
    throw std::runtime_error("cannot write '" + target_ + "': " + why);
}

void OutputFile::Write(const void* data, std::size_t size) {
    std::string reason;
    if (file_ == Platform::kNoFile)
        Fail("the file is already complete");
    if (!Platform::WriteFile(file_, data, size, &reason))
        Fail(reason);
    size_ += size;
}

void OutputFile::Seal() {
    if (file_ == Platform::kNoFile)
        return;
    std::string reason;
    const bool sealed =
        (!permissions_ || Platform::SetPermissions(file_, *permissions_, &reason)) &&
        Platform::SyncFile(file_, &reason);
    const bool closed = Platform::CloseFile(file_, sealed ? &reason : nullptr);
    file_ = Platform::kNoFile;
    if (!sealed || !closed)
        Fail(reason);
}

void OutputFile::Commit() {
    if (committed_)
        return;
    Seal();
    HoldForTests(temporary_);
    // What is there now may not be what was there when the work began.
    CheckOutputTarget(target_);
    std::string reason;
    if (asRead_) {
        Platform::FileState now;
        if (!Platform::InspectPath(target_, true, &now, &reason))
            Fail(reason);
        if (!SameContentState(now, *asRead_))
            Fail("it was changed by another program after it was read, and is left as it is");
    }
    if (!Platform::RenameFile(temporary_, target_, &reason))
        Fail(reason);
    committed_ = true;
    if (!Platform::SyncFolder(FolderOf(target_), &reason))
        throw std::runtime_error("'" + target_ +
                                 "' was written, but its folder could not be synced: " + reason);
}

} // namespace FileOut
