#pragma once

// Pages as they are composed, and a flow that sets paragraphs into columns.

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf_writer.h"

namespace samplegen {

struct TextStyle {
    Font* font = nullptr;
    float size = 10;
    float leading = 12; // baseline to baseline
};

// A line of text as it was placed, kept so the composed pages can be checked
// against the phrases they promise.
struct PlacedLine {
    int frame = 0; // column on the page, -1 for text outside the columns
    std::string text;
};

// One page being composed: its setup, its drawing operations and the lines on it.
struct Sheet {
    int number = 0; // 1-based
    PageSetup setup;
    PageContent content;
    std::vector<PlacedLine> lines;

    void showLine(const TextStyle& style, float x, float baseline, std::u32string_view text,
                  int frame = -1);
    // Text of the whole page, lines joined by single spaces.
    std::string joinedText() const;
};

// A column: left edge, top and bottom edges and width.
struct Frame {
    float left = 0;
    float top = 0;
    float bottom = 0;
    float width = 0;
};

// Two equal columns between the given margins.
std::vector<Frame> twoColumns(const Box& page, float left, float right, float top, float bottom,
                              float gutter);

struct Paragraph {
    std::string text; // UTF-8; a line feed forces a line break
    float spaceBefore = 0;
};

// Sets paragraphs line by line into the frames of successive sheets, breaking
// lines at spaces only (no hyphenation) and aligning them flush left.
class ColumnFlow {
public:
    // Asked for the next sheet and its frames when the current ones are full;
    // returns false when no further sheet may be started.
    using NextSheet = std::function<bool(Sheet*& sheet, std::vector<Frame>& frames)>;

    ColumnFlow(TextStyle style, NextSheet next);

    // Places one paragraph. Returns false when the sheets ran out before its
    // last line; the lines placed so far stay.
    bool add(const Paragraph& paragraph);

    // Starts the next paragraph in the next frame.
    void breakFrame();

    Sheet* sheet() const { return sheet_; }

private:
    bool slot(float spaceBefore, float& x, float& baseline, float& width);
    bool advanceFrame();

    TextStyle style_;
    NextSheet next_;
    Sheet* sheet_ = nullptr;
    std::vector<Frame> frames_;
    size_t frame_ = 0;
    bool atTop_ = true;
    float baseline_ = 0;
};

} // namespace samplegen
