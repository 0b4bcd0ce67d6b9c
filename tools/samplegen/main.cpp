// samplegen: writes the sample documents the application's examples, tests and
// benchmarks open.
//
//   samplegen OUTPUT_DIR
//   samplegen --repeat COPIES FILE.pdf
//
// The first writes OUTPUT_DIR/sample.pdf (five pages), OUTPUT_DIR/large.pdf
// (120 pages) and OUTPUT_DIR/phrases.txt, one "page<TAB>phrase" line per
// phrase that sample.pdf is known to contain. The second writes the sample's
// five pages COPIES times over into one file, for measuring long runs. The
// output depends only on the program and the font files, so repeated runs
// write identical files.

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "documents.h"

namespace {

// Both from the package fonts-dejavu-core.
constexpr const char* kRegularFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

constexpr int kLargePages = 120;
constexpr int kMostCopies = 100000;

// A count of copies from 1 to kMostCopies, or 0 when the text is not one.
int ParseCopies(const std::string& text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int copies = std::atoi(text.c_str());
    return copies <= kMostCopies ? copies : 0;
}

} // namespace

int main(int argc, char** argv) {
    const char* self = argc > 0 ? argv[0] : "samplegen";
    const bool repeat = argc == 4 && std::string(argv[1]) == "--repeat";
    if (argc != 2 && !repeat) {
        std::cerr << "usage: " << self << " OUTPUT_DIR\n"
                  << "       " << self << " --repeat COPIES FILE.pdf\n";
        return 2;
    }
    const samplegen::FontFiles fonts{kRegularFont, kBoldFont};
    try {
        if (repeat) {
            const int copies = ParseCopies(argv[2]);
            if (copies == 0) {
                std::cerr << "samplegen: COPIES must be a number from 1 to " << kMostCopies
                          << ", not '" << argv[2] << "'\n";
                return 2;
            }
            const auto written = samplegen::writeSample(argv[3], fonts, copies);
            std::cout << "wrote " << argv[3] << " (" << written.pages << " pages)\n";
            return 0;
        }
        namespace fs = std::filesystem;
        const fs::path dir = argv[1];
        fs::create_directories(dir);

        const std::string sample = (dir / "sample.pdf").string();
        const auto written = samplegen::writeSample(sample, fonts);
        std::cout << "wrote " << sample << " (" << written.pages << " pages)\n";

        const std::string large = (dir / "large.pdf").string();
        const auto writtenLarge = samplegen::writeLarge(large, fonts, kLargePages);
        std::cout << "wrote " << large << " (" << writtenLarge.pages << " pages)\n";

        const std::string phrases = (dir / "phrases.txt").string();
        samplegen::writePhrases(phrases, written.phrases);
        std::cout << "wrote " << phrases << " (" << written.phrases.size() << " phrases)\n";
    } catch (const std::exception& e) {
        std::cerr << "samplegen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
