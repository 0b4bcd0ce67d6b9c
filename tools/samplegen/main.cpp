// samplegen: writes the sample documents the application's examples, tests and
// benchmarks open.
//
//   samplegen OUTPUT_DIR
//
// writes OUTPUT_DIR/sample.pdf (five pages), OUTPUT_DIR/large.pdf (120 pages)
// and OUTPUT_DIR/phrases.txt, one "page<TAB>phrase" line per phrase that
// sample.pdf is known to contain. The output depends only on the program and
// the font files, so repeated runs write identical files.

#include <exception>
#include <filesystem>
#include <iostream>

#include "documents.h"

namespace {

// Both from the package fonts-dejavu-core.
constexpr const char* kRegularFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

constexpr int kLargePages = 120;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "samplegen") << " OUTPUT_DIR\n";
        return 2;
    }
    try {
        namespace fs = std::filesystem;
        const fs::path dir = argv[1];
        fs::create_directories(dir);
        const samplegen::FontFiles fonts{kRegularFont, kBoldFont};

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
