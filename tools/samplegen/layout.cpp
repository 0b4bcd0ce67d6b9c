#include "layout.h"

#include <stdexcept>

#include "utf8.h"

namespace samplegen {

void Sheet::showLine(const TextStyle& style, float x, float baseline, std::u32string_view text,
                     int frame) {
    content.showText(*style.font, style.size, x, baseline, text);
    lines.push_back(PlacedLine{frame, encodeUtf8(text)});
}

std::string Sheet::joinedText() const {
    std::string text;
    for (const auto& line : lines) {
        if (!text.empty())
            text += ' ';
        text += line.text;
    }
    return text;
}

std::vector<Frame> twoColumns(const Box& page, float left, float right, float top, float bottom,
                              float gutter) {
    const float width = (page.width() - left - right - gutter) / 2;
    const float x = page.x0 + left;
    const float yTop = page.y1 - top;
    const float yBottom = page.y0 + bottom;
    return {Frame{x, yTop, yBottom, width}, Frame{x + width + gutter, yTop, yBottom, width}};
}

ColumnFlow::ColumnFlow(TextStyle style, NextSheet next) : style_(style), next_(std::move(next)) {}

bool ColumnFlow::advanceFrame() {
    atTop_ = true;
    if (sheet_ && frame_ + 1 < frames_.size()) {
        ++frame_;
        return true;
    }
    frames_.clear();
    if (!next_(sheet_, frames_) || !sheet_ || frames_.empty()) {
        sheet_ = nullptr;
        return false;
    }
    frame_ = 0;
    return true;
}

void ColumnFlow::breakFrame() {
    if (!atTop_)
        advanceFrame();
}

// Finds room for one more line: its start, baseline and available width.
bool ColumnFlow::slot(float spaceBefore, float& x, float& baseline, float& width) {
    if (!sheet_ && !advanceFrame())
        return false;
    // The descent of the line must stay above the frame's bottom edge.
    const float descent = 0.25f * style_.size;
    for (;;) {
        const Frame& f = frames_[frame_];
        const float candidate =
            atTop_ ? f.top - style_.size : baseline_ - style_.leading - spaceBefore;
        if (candidate - descent >= f.bottom) {
            x = f.left;
            baseline = candidate;
            width = f.width;
            return true;
        }
        if (atTop_)
            throw std::runtime_error("a frame is too small for a single line");
        if (!advanceFrame())
            return false;
    }
}

bool ColumnFlow::add(const Paragraph& paragraph) {
    const std::u32string text = decodeUtf8(paragraph.text);
    const float space = style_.font->advance(U' ') * style_.size;

    // Words, with a marker for forced breaks.
    struct Word {
        std::u32string text;
        bool breakBefore;
    };
    std::vector<Word> words;
    bool pendingBreak = false;
    std::u32string current;
    auto flush = [&] {
        if (!current.empty()) {
            words.push_back(Word{current, pendingBreak});
            current.clear();
            pendingBreak = false;
        }
    };
    for (char32_t c : text) {
        if (c == U' ') {
            flush();
        } else if (c == U'\n') {
            flush();
            pendingBreak = true;
        } else {
            current.push_back(c);
        }
    }
    flush();

    size_t next = 0;
    bool first = true;
    while (next < words.size()) {
        float x = 0, baseline = 0, width = 0;
        if (!slot(first ? paragraph.spaceBefore : 0, x, baseline, width))
            return false;
        first = false;
        std::u32string line = words[next].text;
        float used = style_.font->width(line, style_.size);
        if (used > width)
            throw std::runtime_error("a word is wider than its column: " + encodeUtf8(line));
        ++next;
        while (next < words.size() && !words[next].breakBefore) {
            const float w = style_.font->width(words[next].text, style_.size);
            if (used + space + w > width)
                break;
            line += U' ';
            line += words[next].text;
            used += space + w;
            ++next;
        }
        sheet_->showLine(style_, x, baseline, line, static_cast<int>(frame_));
        baseline_ = baseline;
        atTop_ = false;
    }
    return true;
}

} // namespace samplegen
