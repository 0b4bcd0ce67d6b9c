// Finds a phrase in a document's text the way a reader means it: a space in
// the phrase stands for any run of white space or line breaks, so a phrase
// may run over several lines and pages. Letters match exactly; typographic
// quotes, dashes and the common ligatures match their plain forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DocumentText.h"

struct CharPosition {
    uint64_t page;
    uint64_t index;
};

// The characters of one occurrence, first and last included.
struct PhraseMatch {
    CharPosition first;
    CharPosition last;
};

class ProgressLine;

// Every occurrence (or only the first), in reading order, never
// overlapping. Pages are read as the search reaches them. Throws
// std::invalid_argument for a phrase with nothing but white space.
std::vector<PhraseMatch> FindPhrase(DocumentText& text, const std::wstring& phrase, bool all,
                                    ProgressLine* progress = nullptr);

// The phrase's words joined by single spaces, in the folded form that the
// search compares.
std::wstring NormalisedText(const std::wstring& text);
