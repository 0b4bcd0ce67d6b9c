// MuPDF doing the same work as the markup tool, on the same file and pages:
// the reference side of every benchmark. The document is opened by MuPDF
// itself, in a context of its own, apart from the copy inside folio.
//
// MuPDF reports failures with longjmp; every function here that calls it
// catches them and returns false (or null), so that the caller can stop the
// benchmark with MuPDF's message.
#pragma once

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The structured-text options folio reads page text with.
fz_stext_options TextOptions();

class MupdfDocument {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit MupdfDocument(const std::string& path);
    ~MupdfDocument();
    MupdfDocument(const MupdfDocument&) = delete;
    MupdfDocument& operator=(const MupdfDocument&) = delete;

    fz_context* Context() const { return ctx_; }
    pdf_document* Document() const { return doc_; }
    fz_document* Fitz() const { return &doc_->super; }
    int PageCount() const { return pages_; }
    // MuPDF's message of the last failure.
    const std::string& Error() const { return error_; }

    // The page's bounds in MuPDF's page space (y down, origin top-left of
    // the shown page), and the transform from PDF user space into it.
    bool PageGeometry(int page, fz_rect* bounds, fz_matrix* userToPage);
    // A new structured-text page, as fz_new_stext_page_from_page makes it
    // with TextOptions(); null on failure. Drop it with DropText.
    fz_stext_page* NewText(int page);
    void DropText(fz_stext_page* text);

    // Loads the page, extracts its text and lets both go again: the whole
    // cost of reading a page's text. `chars` receives the character count.
    bool LoadText(int page, int* chars);

    // The undo position (number of steps that can be undone).
    int UndoPosition();
    // Undoes steps until the position is back at `position`.
    bool UndoTo(int position);

    // Remembers MuPDF's message after a caught failure.
    void Caught();

private:
    fz_context* ctx_ = nullptr;
    pdf_document* doc_ = nullptr;
    int pages_ = 0;
    std::string error_;
};

// The first character, in reading order, whose quad contains p (MuPDF page
// space); null when none does. `scanned` counts the characters looked at.
const fz_stext_char* HitTest(fz_stext_page* text, fz_point p, int* scanned);

int CountChars(fz_stext_page* text);

// Where the measurements press and point on a page, chosen from its text
// layout. All points are in PDF user space.
struct PagePlaces {
    int chars = 0;          // characters of the page (MuPDF's count)
    fz_point columnStart{}; // centre of the first character of the first line
    fz_point middleChar{};  // centre of the character halfway through the text
    fz_point gap{};         // between two paragraphs of the first column, nearest
                            // the page's middle height; on no character
    bool haveGap = false;
};
bool FindPlaces(MupdfDocument& doc, int page, PagePlaces* places);

// The page with the most characters (the lowest index on a tie), or -1.
int DensestPage(MupdfDocument& doc, int first, int last);

// The fill path of the selection between a and b (MuPDF page space): the
// quads of fz_highlight_selection as closed figures.
bool SelectionPath(MupdfDocument& doc, fz_stext_page* text, fz_point a, fz_point b, int* quads);

// Live painting: the selection between a and b (MuPDF page space) filled
// over the page rendered at zoom 1, as a viewer repaints during a drag. With
// `selection` false only the page is rendered.
struct PaintColor {
    float rgb[3];
    float alpha;
};
bool RenderWithSelection(MupdfDocument& doc, int page, fz_stext_page* text, fz_point a, fz_point b,
                         const PaintColor& color, bool selection, int* quads);

// One page's share of a release: the selection between a and b (MuPDF page
// space) on the page's text, made into a Highlight with its colour,
// opacity, author and appearance.
struct PageSelection {
    int page;
    fz_point a;
    fz_point b;
    fz_stext_page* text; // null: read the page's text first (and drop it after)
};
// Every page's annotation inside one operation (one undo step). `annots`
// and `quads` receive the numbers made.
bool HighlightPages(MupdfDocument& doc, const std::vector<PageSelection>& pages,
                    const PaintColor& color, const char* author, int* annots, int* quads);

} // namespace bench
