#include "SnapshotFiles.h"

#include <filesystem>
#include <stdexcept>

#include "fileout/OutputTarget.h"

SnapshotFiles::SnapshotFiles(std::string path, std::string input, std::string output)
    : path_(std::move(path)), input_(std::move(input)), output_(std::move(output)) {}

std::string SnapshotFiles::PathOf(std::size_t n) const {
    if (n == 0)
        return path_;
    const std::filesystem::path path(path_);
    const std::string stem = path.stem().string() + "-" + std::to_string(n + 1);
    return (path.parent_path() / (stem + path.extension().string())).string();
}

void SnapshotFiles::Check(std::size_t count) const {
    for (std::size_t n = 0; n < count && !path_.empty(); ++n) {
        const std::string path = PathOf(n);
        FileOut::CheckOutputTarget(path);
        for (const std::string* other : {&input_, &output_})
            if (FileOut::SameFile(path, *other))
                throw std::runtime_error("cannot write the snapshot '" + path + "': it is the " +
                                         (other == &input_ ? "input" : "output") + " file");
    }
}

FileOut::OutputFile* SnapshotFiles::Next() {
    if (path_.empty())
        return nullptr;
    // The previous one is complete: it waits without an open handle.
    if (!files_.empty())
        files_.back()->Seal();
    files_.push_back(std::make_unique<FileOut::OutputFile>(PathOf(files_.size())));
    return files_.back().get();
}

void SnapshotFiles::Commit() {
    for (const auto& file : files_)
        if (file->Size() > 0)
            file->Commit();
}
