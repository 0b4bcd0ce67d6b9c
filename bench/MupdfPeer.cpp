#include "MupdfPeer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace bench {

namespace {

void Quiet(void*, const char*) {}

// Runs `body`, which calls MuPDF; false when MuPDF threw. The body keeps no
// object with a destructor alive across a MuPDF call.
template <class F> bool Guarded(fz_context* ctx, F&& body) {
    bool failed = false;
    fz_try(ctx) {
        body();
    }
    fz_catch(ctx) {
        failed = true;
    }
    return !failed;
}

fz_point Centre(const fz_quad& q) {
    return fz_make_point((q.ul.x + q.ur.x + q.ll.x + q.lr.x) / 4,
                         (q.ul.y + q.ur.y + q.ll.y + q.lr.y) / 4);
}

// Enough for the lines of any page of the samples.
constexpr int kMaxQuads = 2048;

} // namespace

fz_stext_options TextOptions() {
    fz_stext_options options{};
    options.flags = FZ_STEXT_PRESERVE_LIGATURES | FZ_STEXT_PRESERVE_WHITESPACE;
    return options;
}

MupdfDocument::MupdfDocument(const std::string& path) {
    ctx_ = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx_)
        throw std::runtime_error("MuPDF: no context");
    fz_set_warning_callback(ctx_, Quiet, nullptr);
    fz_set_error_callback(ctx_, Quiet, nullptr);
    const char* file = path.c_str();
    const bool ok = Guarded(ctx_, [&] {
        doc_ = pdf_open_document(ctx_, file);
        pages_ = pdf_count_pages(ctx_, doc_);
        pdf_enable_journal(ctx_, doc_);
    });
    if (!ok) {
        const std::string message = fz_caught_message(ctx_);
        pdf_drop_document(ctx_, doc_);
        fz_drop_context(ctx_);
        throw std::runtime_error("MuPDF cannot open '" + path + "': " + message);
    }
}

MupdfDocument::~MupdfDocument() {
    pdf_drop_document(ctx_, doc_);
    fz_drop_context(ctx_);
}

void MupdfDocument::Caught() {
    error_ = fz_caught_message(ctx_);
}

bool MupdfDocument::PageGeometry(int index, fz_rect* bounds, fz_matrix* userToPage) {
    pdf_page* page = nullptr;
    const bool ok = Guarded(ctx_, [&] {
        page = pdf_load_page(ctx_, doc_, index);
        *bounds = fz_bound_page(ctx_, &page->super);
        fz_rect mediabox;
        pdf_page_transform(ctx_, page, &mediabox, userToPage);
    });
    fz_drop_page(ctx_, page ? &page->super : nullptr);
    if (!ok)
        Caught();
    return ok;
}

fz_stext_page* MupdfDocument::NewText(int index) {
    fz_page* page = nullptr;
    fz_stext_page* text = nullptr;
    const fz_stext_options options = TextOptions();
    const bool ok = Guarded(ctx_, [&] {
        page = fz_load_page(ctx_, Fitz(), index);
        text = fz_new_stext_page_from_page(ctx_, page, &options);
    });
    fz_drop_page(ctx_, page);
    if (!ok)
        Caught();
    return text;
}

void MupdfDocument::DropText(fz_stext_page* text) {
    fz_drop_stext_page(ctx_, text);
}

bool MupdfDocument::LoadText(int index, int* chars) {
    fz_stext_page* text = NewText(index);
    if (text)
        *chars = CountChars(text);
    DropText(text);
    return text != nullptr;
}

int MupdfDocument::UndoPosition() {
    int position = -1;
    Guarded(ctx_, [&] {
        int steps = 0;
        position = pdf_undoredo_state(ctx_, doc_, &steps);
    });
    return position;
}

bool MupdfDocument::UndoTo(int position) {
    const bool ok = Guarded(ctx_, [&] {
        int steps = 0;
        while (pdf_undoredo_state(ctx_, doc_, &steps) > position)
            pdf_undo(ctx_, doc_);
    });
    if (!ok)
        Caught();
    return ok;
}

const fz_stext_char* HitTest(fz_stext_page* text, fz_point p, int* scanned) {
    int n = 0;
    for (fz_stext_block* block = text->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
            for (fz_stext_char* ch = line->first_char; ch; ch = ch->next) {
                ++n;
                if (fz_is_point_inside_quad(p, ch->quad)) {
                    *scanned = n;
                    return ch;
                }
            }
        }
    }
    *scanned = n;
    return nullptr;
}

int CountChars(fz_stext_page* text) {
    int n = 0;
    for (fz_stext_block* block = text->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line* line = block->u.t.first_line; line; line = line->next)
            for (fz_stext_char* ch = line->first_char; ch; ch = ch->next)
                ++n;
    }
    return n;
}

bool FindPlaces(MupdfDocument& doc, int page, PagePlaces* places) {
    fz_rect bounds;
    fz_matrix userToPage;
    if (!doc.PageGeometry(page, &bounds, &userToPage))
        return false;
    fz_stext_page* text = doc.NewText(page);
    if (!text)
        return false;
    const fz_matrix pageToUser = fz_invert_matrix(userToPage);
    const float middleX = (bounds.x0 + bounds.x1) / 2;
    const float middleY = (bounds.y0 + bounds.y1) / 2;

    *places = PagePlaces{};
    places->chars = CountChars(text);
    bool haveStart = false;
    bool haveMiddle = false;
    const fz_stext_line* previous = nullptr;
    float bestGap = INFINITY;
    int index = 0;
    for (fz_stext_block* block = text->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
            if (!line->first_char)
                continue;
            if (!haveStart) {
                places->columnStart = Centre(line->first_char->quad);
                haveStart = true;
            }
            for (fz_stext_char* ch = line->first_char; ch; ch = ch->next, ++index) {
                if (!haveMiddle && index >= places->chars / 2 && ch->c != ' ') {
                    places->middleChar = Centre(ch->quad);
                    haveMiddle = true;
                }
            }
            // Paragraphs of the first column are set apart by more than the
            // line spacing; the gap between them holds no character.
            if (previous && previous->bbox.x0 < middleX && line->bbox.x0 < middleX &&
                line->bbox.y0 - previous->bbox.y1 >= 2.0f) {
                const float y = (previous->bbox.y1 + line->bbox.y0) / 2;
                const float x0 = std::max(previous->bbox.x0, line->bbox.x0);
                const float x1 = std::min(previous->bbox.x1, line->bbox.x1);
                if (x1 > x0 && std::fabs(y - middleY) < bestGap) {
                    bestGap = std::fabs(y - middleY);
                    places->gap = fz_make_point((x0 + x1) / 2, y);
                    places->haveGap = true;
                }
            }
            previous = line;
        }
    }
    int scanned = 0;
    if (places->haveGap && HitTest(text, places->gap, &scanned))
        places->haveGap = false;
    doc.DropText(text);

    places->columnStart = fz_transform_point(places->columnStart, pageToUser);
    places->middleChar = fz_transform_point(places->middleChar, pageToUser);
    places->gap = fz_transform_point(places->gap, pageToUser);
    return haveStart && haveMiddle;
}

int DensestPage(MupdfDocument& doc, int first, int last) {
    int densest = -1;
    int most = -1;
    for (int page = first; page <= last && page < doc.PageCount(); ++page) {
        int chars = 0;
        if (!doc.LoadText(page, &chars))
            return -1;
        if (chars > most) {
            most = chars;
            densest = page;
        }
    }
    return densest;
}

namespace {

// Adds each quad as a closed figure; runs inside a guarded region.
void AddQuads(fz_context* ctx, fz_path* path, const fz_quad* quads, int n) {
    for (int i = 0; i < n; ++i) {
        fz_moveto(ctx, path, quads[i].ul.x, quads[i].ul.y);
        fz_lineto(ctx, path, quads[i].ur.x, quads[i].ur.y);
        fz_lineto(ctx, path, quads[i].lr.x, quads[i].lr.y);
        fz_lineto(ctx, path, quads[i].ll.x, quads[i].ll.y);
        fz_closepath(ctx, path);
    }
}

} // namespace

bool SelectionPath(MupdfDocument& doc, fz_stext_page* text, fz_point a, fz_point b,
                   int* quadCount) {
    fz_context* ctx = doc.Context();
    fz_path* path = nullptr;
    fz_quad quads[kMaxQuads];
    const bool ok = Guarded(ctx, [&] {
        const int n = fz_highlight_selection(ctx, text, a, b, quads, kMaxQuads);
        path = fz_new_path(ctx);
        AddQuads(ctx, path, quads, n);
        *quadCount = n;
    });
    fz_drop_path(ctx, path);
    if (!ok)
        doc.Caught();
    return ok;
}

bool RenderWithSelection(MupdfDocument& doc, int index, fz_stext_page* text, fz_point a, fz_point b,
                         const PaintColor& color, bool selection, int* quadCount) {
    fz_context* ctx = doc.Context();
    fz_page* page = nullptr;
    fz_pixmap* pixmap = nullptr;
    fz_device* device = nullptr;
    fz_path* path = nullptr;
    fz_quad quads[kMaxQuads];
    *quadCount = 0;
    const bool ok = Guarded(ctx, [&] {
        page = fz_load_page(ctx, doc.Fitz(), index);
        const fz_irect box = fz_round_rect(fz_bound_page(ctx, page));
        pixmap = fz_new_pixmap_with_bbox(ctx, fz_device_rgb(ctx), box, nullptr, 1);
        fz_clear_pixmap_with_value(ctx, pixmap, 255);
        device = fz_new_draw_device(ctx, fz_identity, pixmap);
        fz_run_page(ctx, page, device, fz_identity, nullptr);
        if (selection) {
            const int n = fz_highlight_selection(ctx, text, a, b, quads, kMaxQuads);
            path = fz_new_path(ctx);
            AddQuads(ctx, path, quads, n);
            fz_fill_path(ctx, device, path, 0, fz_identity, fz_device_rgb(ctx), color.rgb,
                         color.alpha, fz_default_color_params);
            *quadCount = n;
        }
        fz_close_device(ctx, device);
    });
    fz_drop_path(ctx, path);
    fz_drop_device(ctx, device);
    fz_drop_pixmap(ctx, pixmap);
    fz_drop_page(ctx, page);
    if (!ok)
        doc.Caught();
    return ok;
}

bool HighlightPages(MupdfDocument& doc, const std::vector<PageSelection>& pages,
                    const PaintColor& color, const char* author, int* annots, int* quadCount) {
    fz_context* ctx = doc.Context();
    pdf_document* pdf = doc.Document();
    const fz_stext_options options = TextOptions();
    pdf_page* page = nullptr;
    fz_stext_page* ownText = nullptr;
    pdf_annot* annot = nullptr;
    fz_quad quads[kMaxQuads];
    bool begun = false;
    *annots = 0;
    *quadCount = 0;
    const bool ok = Guarded(ctx, [&] {
        pdf_begin_operation(ctx, pdf, "Highlight");
        begun = true;
        for (const PageSelection& selection : pages) {
            page = pdf_load_page(ctx, pdf, selection.page);
            fz_stext_page* text = selection.text;
            if (!text)
                text = ownText = fz_new_stext_page_from_page(ctx, &page->super, &options);
            const int n =
                fz_highlight_selection(ctx, text, selection.a, selection.b, quads, kMaxQuads);
            fz_drop_stext_page(ctx, ownText);
            ownText = nullptr;
            if (n > 0) {
                annot = pdf_create_annot(ctx, page, PDF_ANNOT_HIGHLIGHT);
                pdf_set_annot_quad_points(ctx, annot, n, quads);
                pdf_set_annot_color(ctx, annot, 3, color.rgb);
                pdf_set_annot_opacity(ctx, annot, color.alpha);
                pdf_set_annot_author(ctx, annot, author);
                pdf_update_annot(ctx, annot);
                pdf_drop_annot(ctx, annot);
                annot = nullptr;
                ++*annots;
                *quadCount += n;
            }
            fz_drop_page(ctx, &page->super);
            page = nullptr;
        }
        begun = false;
        pdf_end_operation(ctx, pdf);
    });
    pdf_drop_annot(ctx, annot);
    fz_drop_stext_page(ctx, ownText);
    fz_drop_page(ctx, page ? &page->super : nullptr);
    if (!ok) {
        doc.Caught();
        if (begun)
            Guarded(ctx, [&] { pdf_end_operation(ctx, pdf); });
    }
    return ok;
}

} // namespace bench
