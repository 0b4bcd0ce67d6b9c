#include "documents.h"

#include <cstdio>
#include <deque>
#include <fstream>
#include <stdexcept>

#include "layout.h"
#include "pdf_writer.h"
#include "prose.h"
#include "utf8.h"

namespace samplegen {
namespace {

// How a promised phrase sits on its page.
enum class Placement {
    OneLine,     // inside a single line
    AcrossLines, // starts on one line and ends on the next line of the same column
    PageEnd,     // ends the last line of the page
    PageStart,   // starts the first line of the page
};

struct Promise {
    Phrase phrase;
    Placement placement;
};

// A document being composed: its fonts, its sheets, and the phrases it promises.
class Composer {
public:
    explicit Composer(const FontFiles& files)
        : regular_(writer_.addFont("F1", files.regular)), bold_(writer_.addFont("F2", files.bold)) {
    }

    Font& regular() { return regular_; }
    Font& bold() { return bold_; }

    Sheet& newSheet(const PageSetup& setup) {
        sheets_.emplace_back();
        Sheet& sheet = sheets_.back();
        sheet.number = static_cast<int>(sheets_.size());
        sheet.setup = setup;
        return sheet;
    }

    // Promises a phrase on the most recent sheet.
    void promise(const std::string& text, Placement placement) {
        promises_.push_back(Promise{Phrase{static_cast<int>(sheets_.size()), text}, placement});
    }

    // Writes the sheets `copies` times over; the promises are those of the
    // first copy.
    Written save(const std::string& path, int copies = 1) {
        verify();
        for (int copy = 0; copy < copies; ++copy)
            for (const Sheet& sheet : sheets_)
                writer_.addPage(sheet.setup, sheet.content);
        writer_.save(path);
        Written written;
        written.pages = writer_.pageCount();
        for (const Promise& p : promises_)
            written.phrases.push_back(p.phrase);
        return written;
    }

private:
    static size_t count(const std::string& haystack, const std::string& needle) {
        size_t n = 0;
        for (size_t at = haystack.find(needle); at != std::string::npos;
             at = haystack.find(needle, at + 1))
            ++n;
        return n;
    }

    static bool placed(const Sheet& sheet, const Promise& p) {
        const std::string& text = p.phrase.text;
        const auto& lines = sheet.lines;
        auto inOneLine = [&] {
            for (const auto& line : lines)
                if (line.text.find(text) != std::string::npos)
                    return true;
            return false;
        };
        switch (p.placement) {
        case Placement::OneLine:
            return inOneLine();
        case Placement::AcrossLines:
            if (inOneLine())
                return false;
            for (size_t i = 0; i + 1 < lines.size(); ++i)
                if (lines[i].frame >= 0 && lines[i].frame == lines[i + 1].frame &&
                    (lines[i].text + " " + lines[i + 1].text).find(text) != std::string::npos)
                    return true;
            return false;
        case Placement::PageEnd:
            return !lines.empty() && lines.back().text.size() >= text.size() &&
                   lines.back().text.compare(lines.back().text.size() - text.size(), text.size(),
                                             text) == 0;
        case Placement::PageStart:
            return !lines.empty() && lines.front().text.compare(0, text.size(), text) == 0;
        }
        return false;
    }

    // Each phrase must occur exactly once in the document, on its page, placed
    // as promised.
    void verify() const {
        for (const Promise& p : promises_) {
            size_t total = 0;
            for (const Sheet& sheet : sheets_)
                total += count(sheet.joinedText(), p.phrase.text);
            const Sheet& home = sheets_.at(static_cast<size_t>(p.phrase.page - 1));
            if (total != 1 || count(home.joinedText(), p.phrase.text) != 1 || !placed(home, p))
                throw std::runtime_error("page " + std::to_string(p.phrase.page) +
                                         " does not hold \"" + p.phrase.text + "\" as intended");
        }
    }

    PdfWriter writer_;
    Font& regular_;
    Font& bold_;
    std::deque<Sheet> sheets_;
    std::vector<Promise> promises_;
};

// Lays paragraphs into the frames of one sheet only; throws when they overflow.
class SingleSheetFlow {
public:
    SingleSheetFlow(Sheet& sheet, std::vector<Frame> frames, TextStyle style)
        : flow_(style,
                [this, &sheet, frames](Sheet*& s, std::vector<Frame>& f) {
                    if (used_)
                        return false;
                    used_ = true;
                    s = &sheet;
                    f = frames;
                    return true;
                }),
          number_(sheet.number) {}
    SingleSheetFlow(const SingleSheetFlow&) = delete; // the flow calls back into this object
    SingleSheetFlow& operator=(const SingleSheetFlow&) = delete;

    void add(const std::string& text, float spaceBefore) {
        if (!flow_.add(Paragraph{text, spaceBefore}))
            throw std::runtime_error("the text of page " + std::to_string(number_) +
                                     " does not fit on it");
    }

private:
    bool used_ = false;
    ColumnFlow flow_;
    int number_;
};

// Page geometry of the two-column prose pages.
constexpr float kMargin = 50;
constexpr float kGutter = 22;
constexpr float kBodySize = 10;
constexpr float kBodyLeading = 12.5f;
constexpr float kParagraphGap = 5;

// The title line across both columns; returns the top edge left for the columns.
float showTitle(Sheet& sheet, Font& bold, const std::string& title) {
    const TextStyle style{&bold, 16, 20};
    const float baseline = sheet.setup.mediaBox.y1 - kMargin - 16;
    sheet.showLine(style, kMargin, baseline, decodeUtf8(title));
    return baseline - 18;
}

std::vector<Frame> proseColumns(const Box& page, float top) {
    auto frames = twoColumns(page, kMargin, kMargin, kMargin, kMargin, kGutter);
    for (auto& f : frames)
        f.top = top;
    return frames;
}

} // namespace

Written writeSample(const std::string& path, const FontFiles& fonts, int copies) {
    Composer doc(fonts);
    const TextStyle body{&doc.regular(), kBodySize, kBodyLeading};
    const auto& history = printingHistory();
    const auto& guide = markupGuide();

    // Page 1: title and two columns of prose. Holds a pangram on one line, a
    // phrase broken across two lines of a column, and a sentence that runs on
    // over the page break.
    {
        Sheet& sheet = doc.newSheet(PageSetup{kA4, {}, 0});
        const std::string title = "A Short History of Printing and Marking";
        const float top = showTitle(sheet, doc.bold(), title);
        doc.promise(title, Placement::OneLine);

        SingleSheetFlow flow(sheet, proseColumns(kA4, top), body);
        flow.add(history[0], 0);
        flow.add(history[1], kParagraphGap);
        const std::string pangram = "The quick brown fox jumps over the lazy dog";
        flow.add("Type founders and printers try out a new face by setting a pangram, a sentence "
                 "that uses every letter of the alphabet at least once. The best known one in "
                 "English is short enough to fit on a single line of this column:\n" +
                     pangram +
                     ".\nIt is hardly literature, but it shows at a glance how every letter "
                     "sits next to its neighbours.",
                 kParagraphGap);
        doc.promise(pangram, Placement::OneLine);
        for (int i = 2; i <= 5; ++i)
            flow.add(history[i], kParagraphGap);
        // Worded so that the column breaks the phrase across two lines.
        flow.add("Readers of a digital page mark it in much the same way as readers of paper "
                 "did. Unlike a note scribbled on a loose sheet, markup annotations are stored "
                 "with the document itself, travel with it when it is copied or sent, and "
                 "appear again the next time it is opened. Nobody has to keep track of which notes "
                 "belong to which copy of a file.",
                 kParagraphGap);
        doc.promise("markup annotations are stored with the document", Placement::AcrossLines);
        flow.add(history[6], kParagraphGap);
        flow.add(history[7], kParagraphGap);
        const std::string runsOn = "this account continues on";
        flow.add("What follows leaves the history of metal and ink behind and turns to the "
                 "screen. Most of the habits of a careful reader are older than print itself, and "
                 "the screen has only given them a new kind of ink: the old ways of underlining "
                 "and striking out take a new form there, and " +
                     runsOn,
                 kParagraphGap);
        doc.promise(runsOn, Placement::PageEnd);
    }

    // Page 2: the sentence from page 1 goes on; more prose, Greek and Cyrillic
    // lines, and letters outside the Basic Multilingual Plane.
    {
        Sheet& sheet = doc.newSheet(PageSetup{kA4, {}, 0});
        SingleSheetFlow flow(sheet, proseColumns(kA4, kA4.y1 - kMargin), body);
        const std::string continued = "the next page";
        flow.add(continued + " with a short guide to the marking tool of this application.", 0);
        doc.promise(continued, Placement::PageStart);
        for (int i = 0; i <= 2; ++i)
            flow.add(guide[i], kParagraphGap);
        const std::string greek = "Καλημέρα κόσμε";
        const std::string russian = "Привет, мир";
        flow.add("The same font carries more than the Latin alphabet. Here is the usual first "
                 "greeting of a program in Greek and in Russian:\n" +
                     greek + "\n" + russian,
                 kParagraphGap);
        doc.promise(greek, Placement::OneLine);
        doc.promise(russian, Placement::OneLine);
        // DejaVu Sans (package fonts-dejavu-core) has the double-struck letters
        // of the Mathematical Alphanumeric Symbols block: U+1D544 (M), and the
        // small letters U+1D552 to U+1D56B. Each takes a surrogate pair in UTF-16.
        const std::string outsideBmp = "𝕄𝕒𝕣𝕜𝕦𝕡 𝕥𝕖𝕩𝕥";
        flow.add("Some characters lie outside the Basic Multilingual Plane of Unicode and take "
                 "two UTF-16 code units each, like these double-struck letters:\n" +
                     outsideBmp,
                 kParagraphGap);
        doc.promise(outsideBmp, Placement::OneLine);
        for (int i = 3; i <= 5; ++i)
            flow.add(guide[i], kParagraphGap);
        for (int i = 8; i <= 9; ++i)
            flow.add(history[i], kParagraphGap);
    }

    // Page 3: a Letter page stored upright with a rotation of 90 degrees; its
    // lines are horizontal in the page's own coordinates.
    {
        Sheet& sheet = doc.newSheet(PageSetup{kLetter, {}, 90});
        const float margin = 72;
        const TextStyle heading{&doc.bold(), 14, 18};
        sheet.showLine(heading, margin, kLetter.y1 - margin - 14, U"A page turned on its side");
        const TextStyle text{&doc.regular(), 11, 14};
        const float top = kLetter.y1 - margin - 30;
        SingleSheetFlow flow(sheet, {Frame{margin, top, margin, kLetter.width() - 2 * margin}},
                             text);
        const std::string turned = "turned a quarter turn clockwise";
        flow.add("This page is stored upright, but it carries a rotation of ninety degrees, so "
                 "a viewer shows it " +
                     turned +
                     ". The text itself is ordinary: horizontal lines in the coordinates of "
                     "the page.",
                 0);
        doc.promise(turned, Placement::OneLine);
        flow.add(history[4], 6);
        flow.add(guide[1], 6);
    }

    // Page 4: an A4 page whose crop box does not start at the origin; all of
    // its text lies inside the crop box.
    {
        const Box crop{50, 80, 545, 760};
        Sheet& sheet = doc.newSheet(PageSetup{kA4, crop, 0});
        const float inset = 30;
        const float left = crop.x0 + inset;
        const TextStyle heading{&doc.bold(), 14, 18};
        sheet.showLine(heading, left, crop.y1 - inset - 14, U"A cropped page");
        SingleSheetFlow flow(
            sheet, {Frame{left, crop.y1 - inset - 30, crop.y0 + inset, crop.width() - 2 * inset}},
            body);
        const std::string inside = "inside the crop box";
        flow.add("Only the part of this page " + inside +
                     " is shown. The crop box begins 50 points from the left edge and 80 points "
                     "above the bottom edge of the sheet, so the coordinates of this page do not "
                     "start at the corner of what you see.",
                 0);
        doc.promise(inside, Placement::OneLine);
        flow.add(history[6], kParagraphGap);
        flow.add(guide[2], kParagraphGap);
        flow.add(guide[4], kParagraphGap);
    }

    // Page 5: the densest page, small type in two columns from margin to margin.
    {
        Sheet& sheet = doc.newSheet(PageSetup{kA4, {}, 0});
        const TextStyle small{&doc.regular(), 8, 9.6f};
        bool full = false;
        ColumnFlow flow(small, [&](Sheet*& s, std::vector<Frame>& f) {
            if (full)
                return false;
            full = true;
            s = &sheet;
            f = twoColumns(kA4, 36, 36, 36, 36, 16);
            return true;
        });
        const std::string dense = "As many characters as possible on one page";
        flow.add(Paragraph{"Small print", 0});
        flow.add(Paragraph{dense + " are set here in eight point type, which makes this the "
                                   "heaviest page of the sample to read and to search.",
                           3});
        doc.promise(dense, Placement::OneLine);
        // Fill with whole paragraphs while they fit, alternating the two
        // subjects; the last one may stop at the foot of the page.
        for (size_t i = 0; flow.add(Paragraph{
                 i % 2 ? guide[(i / 2) % guide.size()] : history[(i / 2) % history.size()], 3});
             ++i) {
        }
    }

    return doc.save(path, copies);
}

Written writeLarge(const std::string& path, const FontFiles& fonts, int pages) {
    Composer doc(fonts);
    const TextStyle body{&doc.regular(), kBodySize, kBodyLeading};
    const auto& history = printingHistory();
    const auto& guide = markupGuide();

    int started = 0;
    ColumnFlow flow(body, [&](Sheet*& s, std::vector<Frame>& f) {
        if (started == pages)
            return false;
        ++started;
        Sheet& sheet = doc.newSheet(PageSetup{kA4, {}, 0});
        float top = kA4.y1 - kMargin;
        if (started == 1)
            top = showTitle(sheet, doc.bold(), "Printing and Marking, at Length");
        s = &sheet;
        f = proseColumns(kA4, top);
        return true;
    });
    std::vector<std::string> pool = history;
    pool.insert(pool.end(), guide.begin(), guide.end());
    for (size_t i = 0; flow.add(Paragraph{pool[i % pool.size()], kParagraphGap}); ++i) {
    }
    return doc.save(path);
}

void writePhrases(const std::string& path, const std::vector<Phrase>& phrases) {
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        for (const Phrase& p : phrases)
            out << p.page << '\t' << p.text << '\n';
        if (!out.flush())
            throw std::runtime_error("cannot write " + partial);
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot rename " + partial + " to " + path);
}

} // namespace samplegen
