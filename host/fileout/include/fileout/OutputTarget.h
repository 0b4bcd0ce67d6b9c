// Whether the host may write a file at a path, asked before any work is
// done: the folder must exist and take new files, and a file already there
// must be a regular, writable file of its own (not a symbolic link, a
// folder, a device, a pipe or a socket). Failures throw std::runtime_error
// with a message that names the path and says why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fileout/FileOutApi.h"
#include "platform/Files.h"

namespace FileOut {

// The permission bits of the file that is there (a replacement takes them
// over), or nothing for a new file.
FILEOUT_API std::optional<uint32_t> CheckOutputTarget(const std::string& path);

// Whether two paths name the same file: the same existing file by device
// and inode (whatever the names), or, while neither exists, the same name
// in the same folder.
FILEOUT_API bool SameFile(const std::string& a, const std::string& b);

// The state of the regular file at `path` (links followed), or nothing
// where there is none or it cannot be examined: what an edit in place
// takes before it reads a document, for OutputFile::RequireUnchangedTarget.
FILEOUT_API std::optional<Platform::FileState> RegularFileState(const std::string& path);

// The folder a path names its file in ("." for a bare name).
FILEOUT_API std::string FolderOf(const std::string& path);

} // namespace FileOut
