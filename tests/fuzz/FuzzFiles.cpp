#include "FuzzFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace fuzz {

namespace {

// The scratch files go when the process ends normally; a crash leaves them
// for a look.
struct ScratchFiles {
    std::set<std::string> paths;
    ~ScratchFiles() {
        for (const std::string& path : paths)
            std::remove(path.c_str());
    }
};

} // namespace

std::string ScratchFile(const uint8_t* data, size_t size, const char* suffix) {
    static ScratchFiles made;
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vellum-fuzz-" + std::to_string(getpid()) + suffix + ".pdf"))
                                 .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(data, 1, size, file) == size;
    if (!file || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
    made.paths.insert(path);
    return path;
}

void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

} // namespace fuzz
