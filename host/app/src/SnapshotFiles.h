// The PNG snapshots of one markup run: the first drag's at the path the user
// gave, the n-th's numbered after it ("live-2.png"). None may be the run's
// input or output. Each is written into a temporary file beside its target
// and waits there, complete, until the document is saved: a run that writes
// no document leaves no snapshot either.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "fileout/OutputFile.h"

class SnapshotFiles {
public:
    // No snapshots when `path` is empty.
    SnapshotFiles(std::string path, std::string input, std::string output);

    // Refuses, before any work, the paths of `count` drags' snapshots that
    // cannot or must not be written.
    void Check(std::size_t count) const;
    // The file for the next drag's snapshot, or null without snapshots.
    FileOut::OutputFile* Next();
    // Replaces the targets of the snapshots that were written.
    void Commit();

private:
    std::string PathOf(std::size_t n) const;

    std::string path_, input_, output_;
    std::vector<std::unique_ptr<FileOut::OutputFile>> files_;
};
