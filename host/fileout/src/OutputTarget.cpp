#include "fileout/OutputTarget.h"

#include <filesystem>
#include <stdexcept>

#include "platform/Files.h"

namespace FileOut {

namespace {

using Platform::FileKind;

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw std::runtime_error("cannot write " + Quoted(path) + ": " + why);
}

Platform::FileState Inspect(const std::string& target, const std::string& path, bool followLinks) {
    Platform::FileState state;
    std::string reason;
    if (!Platform::InspectPath(path, followLinks, &state, &reason))
        Refuse(target, reason);
    return state;
}

bool SameIdentity(const Platform::FileState& a, const Platform::FileState& b) {
    return a.device == b.device && a.inode == b.inode;
}

std::string NameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

std::optional<uint32_t> CheckOutputTarget(const std::string& path) {
    if (path.empty())
        throw std::runtime_error("no output file name");
    if (NameOf(path).empty())
        Refuse(path, "the name ends with a folder separator");
    const std::string folder = FolderOf(path);
    const Platform::FileState place = Inspect(path, folder, true);
    if (place.kind == FileKind::kMissing)
        Refuse(path, "the folder " + Quoted(folder) + " does not exist");
    if (place.kind != FileKind::kFolder)
        Refuse(path, Quoted(folder) + " is not a folder");
    if (!place.writable)
        Refuse(path, "the folder " + Quoted(folder) + " is not writable");

    const Platform::FileState file = Inspect(path, path, false);
    switch (file.kind) {
    case FileKind::kMissing:
        return std::nullopt;
    case FileKind::kRegular:
        if (!file.writable)
            Refuse(path, "it is read-only");
        return file.permissions;
    case FileKind::kFolder:
        Refuse(path, "it is a folder");
    case FileKind::kSymbolicLink:
        Refuse(path, "it is a symbolic link (name the file it leads to)");
    case FileKind::kOther:
        break;
    }
    Refuse(path, "it is not a regular file (a device, a pipe or a socket)");
}

std::optional<Platform::FileState> RegularFileState(const std::string& path) {
    Platform::FileState state;
    if (!Platform::InspectPath(path, true, &state, nullptr) ||
        state.kind != Platform::FileKind::kRegular)
        return std::nullopt;
    return state;
}

bool SameFile(const std::string& a, const std::string& b) {
    Platform::FileState first, second;
    std::string ignored;
    if (!Platform::InspectPath(a, true, &first, &ignored) ||
        !Platform::InspectPath(b, true, &second, &ignored))
        return false;
    const bool firstThere = first.kind != FileKind::kMissing;
    const bool secondThere = second.kind != FileKind::kMissing;
    if (firstThere || secondThere)
        return firstThere && secondThere && SameIdentity(first, second);
    Platform::FileState firstFolder, secondFolder;
    return NameOf(a) == NameOf(b) &&
           Platform::InspectPath(FolderOf(a), true, &firstFolder, &ignored) &&
           Platform::InspectPath(FolderOf(b), true, &secondFolder, &ignored) &&
           firstFolder.kind == FileKind::kFolder && SameIdentity(firstFolder, secondFolder);
}

} // namespace FileOut
