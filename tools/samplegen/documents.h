#pragma once

#include <string>
#include <vector>

namespace samplegen {

// The font files the samples are set in.
struct FontFiles {
    std::string regular;
    std::string bold;
};

// A phrase the sample document is known to contain, with its 1-based page.
struct Phrase {
    int page = 0;
    std::string text;
};

struct Written {
    int pages = 0;
    std::vector<Phrase> phrases;
};

// The five-page sample: two-column prose, other scripts and a character outside
// the Basic Multilingual Plane, a rotated page, a cropped page and a dense page.
// Every promised phrase is checked against the composed lines before the file
// is written. With `copies` above 1 the five pages follow each other that
// many times (the phrases are then those of the first copy).
Written writeSample(const std::string& path, const FontFiles& fonts, int copies = 1);

// A long document of two-column prose.
Written writeLarge(const std::string& path, const FontFiles& fonts, int pages);

// "page<TAB>phrase" lines.
void writePhrases(const std::string& path, const std::vector<Phrase>& phrases);

} // namespace samplegen
