// The one way the host writes a file. The bytes go into a new temporary file
// beside the target, created exclusively and kept open from creation (never
// opened again by name); Commit syncs it, renames it over the target and
// syncs the folder, so that the target is replaced whole or not at all.
// Until then the temporary is removed when the object goes, and when the
// process is ended by SIGINT, SIGTERM or SIGHUP.
//
// Tests interrupt a run at a known point through VELLUM_HOLD_BEFORE_COMMIT=MS:
// a sealed temporary then waits that many milliseconds before its rename,
// after saying so on standard error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fileout/FileOutApi.h"
#include "platform/Files.h"

namespace FileOut {

class FILEOUT_API OutputFile {
public:
    // Checks the target (CheckOutputTarget) and creates the temporary.
    // Failures throw std::runtime_error naming the target.
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const void* data, std::size_t size);
    // Syncs and closes the temporary, which then waits for Commit without
    // holding a handle (a run may keep many).
    void Seal();
    // Seals, checks the target again, and renames the temporary over it.
    void Commit();
    // Makes Commit refuse, keeping the target as it is, unless the target is
    // still the file `asRead` describes, unwritten since: an edit in place
    // must not replace what another program wrote after the document was
    // read.
    void RequireUnchangedTarget(const Platform::FileState& asRead) { asRead_ = asRead; }

    const std::string& Target() const { return target_; }
    // How many bytes were written so far.
    std::size_t Size() const { return size_; }
    const std::string& Temporary() const { return temporary_; }

private:
    [[noreturn]] void Fail(const std::string& why) const;

    std::string target_;
    std::string temporary_;
    std::optional<uint32_t> permissions_;
    std::optional<Platform::FileState> asRead_;
    Platform::FileHandle file_ = Platform::kNoFile;
    Platform::RemovalTicket ticket_ = nullptr;
    std::size_t size_ = 0;
    bool committed_ = false;
};

} // namespace FileOut
