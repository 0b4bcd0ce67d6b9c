// The file backend: PDF documents read and written through MuPDF.
//
// MuPDF reports failures with setjmp/longjmp. Every MuPDF call runs inside
// Guarded(), and the code it runs keeps no C++ object with a destructor
// alive across a MuPDF call; C++ work inside a guarded region goes through
// Cxx(), which turns a C++ exception into a MuPDF one.
#include "Core.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace folio {
namespace {

template <class F> bool Guarded(fz_context* ctx, F&& body, std::string* error) {
    bool failed = false;
    fz_try(ctx) {
        body();
    }
    fz_catch(ctx) {
        failed = true;
        if (error)
            *error = fz_caught_message(ctx);
    }
    return !failed;
}

template <class F> void Cxx(fz_context* ctx, F&& body) {
    bool failed = false;
    try {
        body();
    } catch (...) {
        failed = true;
    }
    if (failed)
        fz_throw(ctx, FZ_ERROR_MEMORY, "out of memory");
}

void Quiet(void*, const char*) {}

// Room for what a write adds to the document's bytes, reserved up front.
constexpr size_t kWriteReserve = 64 * 1024;

// The file MuPDF writes a document into: kept in memory (the document's
// own bytes are already there), since an incremental write reads back,
// seeks and truncates what it wrote. The finished file then goes to the
// caller's FolioWriter in one piece. Its functions run inside MuPDF's
// guarded regions and report failures the MuPDF way.
class MemoryFile {
public:
    // The object itself holds nothing that needs a destructor; Drop lets go
    // of the bytes.
    void Drop(fz_context* ctx) { fz_drop_buffer(ctx, bytes_); }
    const fz_buffer& Bytes() const { return *bytes_; }

    fz_output* NewOutput(fz_context* ctx, size_t capacity) {
        bytes_ = fz_new_buffer(ctx, capacity);
        fz_output* out = fz_new_output(ctx, 0, this, &Write, nullptr, nullptr);
        out->seek = &Seek;
        out->tell = &Tell;
        out->truncate = &Truncate;
        out->as_stream = &AsStream;
        return out;
    }

private:
    static MemoryFile& Of(void* state) { return *static_cast<MemoryFile*>(state); }

    static void Write(fz_context* ctx, void* state, const void* data, size_t size) {
        MemoryFile& file = Of(state);
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        const size_t over = std::min(size, file.bytes_->len - file.position_);
        std::memcpy(file.bytes_->data + file.position_, bytes, over);
        fz_append_data(ctx, file.bytes_, bytes + over, size - over);
        file.position_ += size;
    }
    static void Seek(fz_context* ctx, void* state, int64_t offset, int whence) {
        MemoryFile& file = Of(state);
        const int64_t base = whence == SEEK_CUR   ? int64_t(file.position_)
                             : whence == SEEK_END ? int64_t(file.bytes_->len)
                                                  : 0;
        if (base + offset < 0 || base + offset > int64_t(file.bytes_->len))
            fz_throw(ctx, FZ_ERROR_GENERIC, "cannot seek outside the written file");
        file.position_ = size_t(base + offset);
    }
    static int64_t Tell(fz_context*, void* state) { return int64_t(Of(state).position_); }
    static void Truncate(fz_context*, void* state) {
        MemoryFile& file = Of(state);
        file.bytes_->len = file.position_;
    }
    // A copy, so that later writes cannot move the bytes under the reader.
    static fz_stream* AsStream(fz_context* ctx, void* state) {
        const fz_buffer& bytes = *Of(state).bytes_;
        fz_buffer* copy = fz_new_buffer_from_copied_data(ctx, bytes.data, bytes.len);
        fz_stream* stream = nullptr;
        fz_try(ctx) {
            stream = fz_open_buffer(ctx, copy);
        }
        fz_always(ctx) {
            fz_drop_buffer(ctx, copy);
        }
        fz_catch(ctx) {
            fz_rethrow(ctx);
        }
        return stream;
    }

    fz_buffer* bytes_ = nullptr;
    size_t position_ = 0;
};

// A number for a content stream, independent of the C locale.
void AppendNumber(std::string& out, double v, int decimals = 3) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s == "-0" || s.empty())
        s = "0";
    out += s;
    out += ' ';
}

void AppendPoint(std::string& out, const PDPointF& p, const char* op) {
    AppendNumber(out, p.x);
    AppendNumber(out, p.y);
    out += op;
    out += '\n';
}

// The appearance stream's content: the marked areas filled in the colour.
std::string AppearanceContent(const Markup& m) {
    std::string s = "/GS0 gs\n";
    for (int shift : {16, 8, 0})
        AppendNumber(s, ((m.color >> shift) & 0xFF) / 255.0, 5);
    s += "rg\n";
    for (const PDQuadF& quad : m.quads) {
        const PDQuadF q = MarkedArea(m.subtype, quad);
        AppendPoint(s, q.p0, "m");
        AppendPoint(s, q.p1, "l");
        AppendPoint(s, q.p3, "l");
        AppendPoint(s, q.p2, "l");
        s += "h\n";
    }
    s += "f\n";
    return s;
}

PDPointF ToPageSpace(fz_point p, const fz_matrix& inverse) {
    fz_point q = fz_transform_point(p, inverse);
    return {q.x, q.y};
}

// Made in place: a page has thousands of characters.
void AddChar(std::vector<Char>* chars, wchar_t c, const PDQuadF& quad) {
    chars->emplace_back();
    chars->back().text.push_back(c);
    chars->back().quad = quad;
}

// The characters of a page's structured text and the line feeds put between
// its lines: at most one per line.
size_t CountChars(const fz_stext_page* text) {
    size_t count = 0;
    for (const fz_stext_block* block = text->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (const fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
            ++count;
            for (const fz_stext_char* ch = line->first_char; ch; ch = ch->next)
                ++count;
        }
    }
    return count;
}

int SnapRotation(int r) {
    if (r < 0)
        r = 360 - ((-r) % 360);
    r %= 360;
    r = 90 * ((r + 45) / 90);
    return r >= 360 ? 0 : r;
}

class MupdfDocument : public PDDocumentRec {
public:
    MupdfDocument(fz_context* ctx, const std::string& path) : ctx_(ctx), path_(path) {}

    ~MupdfDocument() override {
        pdf_drop_document(ctx_, doc_);
        fz_drop_buffer(ctx_, bytes_);
        fz_drop_context(ctx_);
    }

    PDResult Open(std::vector<unsigned char>& data) {
        const char* path = path_.c_str();
        std::string error;
        fz_stream* stream = nullptr;
        bool ok = Guarded(
            ctx_,
            [&] {
                bytes_ = fz_new_buffer_from_copied_data(ctx_, data.data(), data.size());
                stream = fz_open_buffer(ctx_, bytes_);
                doc_ = pdf_open_document_with_stream(ctx_, stream);
            },
            &error);
        fz_drop_stream(ctx_, stream);
        std::vector<unsigned char>().swap(data);
        if (!ok)
            return Fail(kPDErrDamaged, "'%s' is damaged: %s", path, error.c_str());
        int pages = 0;
        int locked = 0;
        ok = Guarded(
            ctx_,
            [&] {
                locked = pdf_needs_password(ctx_, doc_);
                if (!locked) {
                    pages = pdf_count_pages(ctx_, doc_);
                    pdf_enable_journal(ctx_, doc_);
                    permissions_ = ReadPermissions();
                }
            },
            &error);
        if (!ok)
            return Fail(kPDErrDamaged, "'%s' is damaged: %s", path, error.c_str());
        if (locked)
            return Fail(kPDErrEncrypted, "'%s' is encrypted and needs a password", path);
        pageCount_ = uint64_t(std::max(pages, 0));
        startxref_ = doc_->startxref;
        return kPDOk;
    }

    uint64_t PageCount() override { return pageCount_; }
    bool WasRepaired() override { return doc_->repair_attempted != 0; }

    uint32_t Permissions() override { return permissions_; }

    PDResult CropBox(uint64_t page, PDRectF* box) override {
        Geometry g;
        if (PDResult r = Load(page, &g))
            return r;
        *box = {g.box.x0, g.box.y0, g.box.x1, g.box.y1};
        return kPDOk;
    }

    PDResult Rotation(uint64_t page, int32_t* rotate) override {
        Geometry g;
        if (PDResult r = Load(page, &g))
            return r;
        *rotate = g.rotate;
        return kPDOk;
    }

    PDResult PageMatrix(uint64_t page, float zoom, float m[6]) override {
        Geometry g;
        if (PDResult r = Load(page, &g))
            return r;
        const fz_matrix d = fz_concat(g.ctm, fz_scale(zoom, zoom));
        m[0] = d.a, m[1] = d.b, m[2] = d.c, m[3] = d.d, m[4] = d.e, m[5] = d.f;
        return kPDOk;
    }

    PDResult PageSize(uint64_t page, float zoom, int32_t* width, int32_t* height) override {
        Geometry g;
        if (PDResult r = Load(page, &g))
            return r;
        return Size(g, zoom, width, height, "FolioPageDisplaySize");
    }

    PDResult LoadText(uint64_t index, std::vector<Char>* chars) override {
        pdf_page* page = nullptr;
        fz_stext_page* text = nullptr;
        fz_device* device = nullptr;
        fz_matrix ctm = fz_identity;
        std::string error;
        bool ok = Guarded(
            ctx_,
            [&] {
                page = pdf_load_page(ctx_, doc_, int(index));
                fz_rect box;
                pdf_page_transform(ctx_, page, &box, &ctm);
                text = fz_new_stext_page(ctx_, fz_bound_page(ctx_, &page->super));
                fz_stext_options options{};
                options.flags = FZ_STEXT_PRESERVE_LIGATURES | FZ_STEXT_PRESERVE_WHITESPACE;
                device = fz_new_stext_device(ctx_, text, &options);
                fz_run_page_contents(ctx_, &page->super, device, fz_identity, nullptr);
                fz_close_device(ctx_, device);
            },
            &error);
        fz_drop_device(ctx_, device);
        struct Cleanup {
            fz_context* ctx;
            pdf_page* page;
            fz_stext_page* text;
            ~Cleanup() {
                fz_drop_stext_page(ctx, text);
                fz_drop_page(ctx, page ? &page->super : nullptr);
            }
        } cleanup{ctx_, page, text};
        if (!ok)
            return Fail(kPDErrDamaged, "cannot read the text of page %llu: %s",
                        (unsigned long long)index + 1, error.c_str());

        // MuPDF's quads are in its own page space; take them back to PDF user space.
        const fz_matrix inverse = fz_invert_matrix(ctm);
        chars->reserve(chars->size() + CountChars(text));
        bool haveLine = false;
        PDQuadF lastQuad{};
        for (fz_stext_block* block = text->first_block; block; block = block->next) {
            if (block->type != FZ_STEXT_BLOCK_TEXT)
                continue;
            for (fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
                if (!line->first_char)
                    continue;
                if (haveLine) // the generated line feed that ends the previous line
                    AddChar(chars, L'\n', {lastQuad.p1, lastQuad.p1, lastQuad.p3, lastQuad.p3});
                for (fz_stext_char* ch = line->first_char; ch; ch = ch->next) {
                    const PDQuadF q{
                        ToPageSpace(ch->quad.ul, inverse), ToPageSpace(ch->quad.ur, inverse),
                        ToPageSpace(ch->quad.ll, inverse), ToPageSpace(ch->quad.lr, inverse)};
                    AddChar(chars, wchar_t(ch->c), q);
                    lastQuad = q;
                }
                haveLine = true;
            }
        }
        return kPDOk;
    }

    PDResult Insert(uint64_t index, const Markup& m) override {
        const std::string author = ToUtf8(m.author);
        const std::string content = AppearanceContent(m);
        const fz_rect rect{m.rect.x0, m.rect.y0, m.rect.x1, m.rect.y1};
        const int64_t now = int64_t(std::time(nullptr));
        pdf_obj* annot = nullptr;
        pdf_obj* resources = nullptr;
        pdf_obj* state = nullptr;
        pdf_obj* appearance = nullptr;
        fz_buffer* buffer = nullptr;
        std::string error;
        bool ok = Guarded(
            ctx_,
            [&] {
                pdf_obj* pageObj = pdf_lookup_page_obj(ctx_, doc_, int(index));
                annot = pdf_add_new_dict(ctx_, doc_, 16);
                pdf_dict_put(ctx_, annot, PDF_NAME(Type), PDF_NAME(Annot));
                pdf_dict_put_name(ctx_, annot, PDF_NAME(Subtype), MarkupName(m.subtype));
                pdf_dict_put_int(ctx_, annot, PDF_NAME(F), 4); // print
                pdf_dict_put(ctx_, annot, PDF_NAME(P), pageObj);
                pdf_dict_put_rect(ctx_, annot, PDF_NAME(Rect), rect);
                // The arrays are filled before they join the annotation: a
                // number pushed into an object of the document is recorded for
                // undo one at a time, a number pushed into a loose array is not.
                pdf_obj* points = pdf_new_array(ctx_, doc_, int(m.quads.size() * 8));
                for (const PDQuadF& q : m.quads)
                    for (const PDPointF& p : {q.p0, q.p1, q.p2, q.p3}) {
                        pdf_array_push_real(ctx_, points, p.x);
                        pdf_array_push_real(ctx_, points, p.y);
                    }
                pdf_dict_put_drop(ctx_, annot, PDF_NAME(QuadPoints), points);
                pdf_obj* color = pdf_new_array(ctx_, doc_, 3);
                for (int shift : {16, 8, 0})
                    pdf_array_push_real(ctx_, color, ((m.color >> shift) & 0xFF) / 255.0);
                pdf_dict_put_drop(ctx_, annot, PDF_NAME(C), color);
                pdf_dict_put_real(ctx_, annot, PDF_NAME(CA), m.opacity);
                pdf_dict_put_text_string(ctx_, annot, PDF_NAME(T), author.c_str());
                pdf_dict_put_date(ctx_, annot, PDF_NAME(CreationDate), now);
                pdf_dict_put_date(ctx_, annot, PDF_NAME(M), now);

                resources = pdf_new_dict(ctx_, doc_, 1);
                state = pdf_new_dict(ctx_, doc_, 4);
                pdf_dict_put(ctx_, state, PDF_NAME(Type), PDF_NAME(ExtGState));
                pdf_dict_put_real(ctx_, state, PDF_NAME(CA), m.opacity);
                pdf_dict_put_real(ctx_, state, PDF_NAME(ca), m.opacity);
                if (m.subtype == kPDAtomHighlight)
                    pdf_dict_put(ctx_, state, PDF_NAME(BM), PDF_NAME(Multiply));
                pdf_obj* states = pdf_dict_put_dict(ctx_, resources, PDF_NAME(ExtGState), 1);
                pdf_dict_puts(ctx_, states, "GS0", state);
                buffer = fz_new_buffer_from_copied_data(
                    ctx_, reinterpret_cast<const unsigned char*>(content.data()), content.size());
                appearance = pdf_new_xobject(ctx_, doc_, rect, fz_identity, resources, buffer);
                pdf_obj* ap = pdf_dict_put_dict(ctx_, annot, PDF_NAME(AP), 1);
                pdf_dict_put(ctx_, ap, PDF_NAME(N), appearance);

                pdf_obj* annots = pdf_dict_get(ctx_, pageObj, PDF_NAME(Annots));
                if (!pdf_is_array(ctx_, annots))
                    annots = pdf_dict_put_array(ctx_, pageObj, PDF_NAME(Annots), 1);
                pdf_array_push(ctx_, annots, annot);
            },
            &error);
        pdf_drop_obj(ctx_, annot);
        pdf_drop_obj(ctx_, resources);
        pdf_drop_obj(ctx_, state);
        pdf_drop_obj(ctx_, appearance);
        fz_drop_buffer(ctx_, buffer);
        if (!ok)
            return Fail(kPDErrGeneric, "FolioPageInsertAnnot: cannot add the annotation: %s",
                        error.c_str());
        return kPDOk;
    }

    PDResult ListMarkups(uint64_t index, std::vector<Markup>* markups) override {
        std::string error;
        bool ok = Guarded(
            ctx_,
            [&] {
                pdf_obj* pageObj = pdf_lookup_page_obj(ctx_, doc_, int(index));
                pdf_obj* annots = pdf_dict_get(ctx_, pageObj, PDF_NAME(Annots));
                const int n = pdf_array_len(ctx_, annots);
                for (int i = 0; i < n; ++i) {
                    pdf_obj* a = pdf_array_get(ctx_, annots, i);
                    if (!pdf_is_dict(ctx_, a))
                        continue;
                    Cxx(ctx_, [&] { markups->emplace_back(); });
                    ReadMarkup(a, &markups->back());
                }
            },
            &error);
        if (!ok)
            return Fail(kPDErrDamaged, "cannot read the annotations of page %llu: %s",
                        (unsigned long long)index + 1, error.c_str());
        return kPDOk;
    }

    PDResult RenderInto(uint64_t index, float zoom, uint8_t* rgba, int32_t width, int32_t height,
                        int32_t left, int32_t top) override {
        int32_t w = 0, h = 0;
        if (PDResult r = PageSize(index, zoom, &w, &h))
            return r;
        const PagePart part = PartInImage(w, h, width, height, left, top);
        return part.Empty() ? kPDOk : Draw(index, zoom, part, rgba, width, left, top);
    }

    // Draws `part` of the shown page (white, then the page) into an RGBA
    // image `width` pixels wide, in which the page's top-left corner lies
    // at (left, top). MuPDF draws straight into the image's rows.
    PDResult Draw(uint64_t index, float zoom, const PagePart& part, uint8_t* rgba, int32_t width,
                  int32_t left, int32_t top) {
        pdf_page* page = nullptr;
        fz_pixmap* pixmap = nullptr;
        fz_device* device = nullptr;
        std::string error;
        uint8_t* first =
            rgba + (size_t(int64_t(top) + part.y0) * width + size_t(int64_t(left) + part.x0)) * 4;
        bool ok = Guarded(
            ctx_,
            [&] {
                page = pdf_load_page(ctx_, doc_, int(index));
                pixmap = fz_new_pixmap_with_data(ctx_, fz_device_rgb(ctx_), part.x1 - part.x0,
                                                 part.y1 - part.y0, nullptr, 1, width * 4, first);
                pixmap->x = part.x0; // the page's own pixels
                pixmap->y = part.y0;
                fz_clear_pixmap_with_value(ctx_, pixmap, 255);
                device = fz_new_draw_device(ctx_, fz_identity, pixmap);
                fz_run_page(ctx_, &page->super, device, fz_scale(zoom, zoom), nullptr);
                fz_close_device(ctx_, device);
            },
            &error);
        fz_drop_device(ctx_, device);
        fz_drop_pixmap(ctx_, pixmap); // the samples stay: they are the caller's
        fz_drop_page(ctx_, page ? &page->super : nullptr);
        if (!ok)
            return Fail(kPDErrDamaged, "cannot render page %llu: %s", (unsigned long long)index + 1,
                        error.c_str());
        return kPDOk;
    }

    PDResult Render(uint64_t index, float zoom, uint8_t** rgba, int32_t* width,
                    int32_t* height) override {
        Geometry g;
        int32_t w = 0, h = 0;
        if (PDResult r = Load(index, &g))
            return r;
        if (PDResult r = Size(g, zoom, &w, &h, "FolioPageRender"))
            return r;
        uint8_t* pixels = static_cast<uint8_t*>(std::malloc(size_t(w) * h * 4));
        if (!pixels)
            return Fail(kPDErrNoMemory, "FolioPageRender: out of memory");
        if (PDResult r = Draw(index, zoom, PartInImage(w, h, w, h, 0, 0), pixels, w, 0, 0)) {
            std::free(pixels);
            return r;
        }
        *rgba = pixels;
        *width = w;
        *height = h;
        return kPDOk;
    }

    PDResult Write(const FolioWriter& writer, uint32_t flags) override {
        // An incremental write is the bytes the document was read from, then
        // MuPDF appends every change since. MuPDF moves its idea of the last
        // cross-reference section to each file it writes; the new section must
        // chain to the original's. A repaired file can only be written whole.
        const bool incremental = flags == kFolioSaveIncremental && !doc_->repair_attempted;
        if (incremental)
            doc_->startxref = startxref_;
        MemoryFile file;
        fz_output* out = nullptr;
        std::string error;
        const bool ok = Guarded(
            ctx_,
            [&] {
                out = file.NewOutput(ctx_, bytes_->len + kWriteReserve);
                if (incremental)
                    fz_write_data(ctx_, out, bytes_->data, bytes_->len);
                pdf_write_options options = pdf_default_write_options;
                options.do_incremental = incremental;
                pdf_write_document(ctx_, doc_, out, &options);
                fz_close_output(ctx_, out);
            },
            &error);
        fz_drop_output(ctx_, out);
        const PDResult taken =
            ok ? writer.write(writer.context, file.Bytes().data, file.Bytes().len) : kPDOk;
        file.Drop(ctx_);
        if (!ok)
            return Fail(kPDErrCannotWrite, "cannot write the document: %s", error.c_str());
        if (taken != kPDOk)
            return Fail(kPDErrCannotWrite, "cannot write the document: the output did not take it");
        return kPDOk;
    }

protected:
    PDResult OpenStep(const std::string& label) override {
        std::string error;
        if (!Guarded(
                ctx_, [&] { pdf_begin_operation(ctx_, doc_, label.c_str()); }, &error))
            return Fail(kPDErrGeneric, "cannot start an edit: %s", error.c_str());
        return kPDOk;
    }

    void CloseStep() override {
        Guarded(
            ctx_, [&] { pdf_end_operation(ctx_, doc_); }, nullptr);
    }

    PDResult StepBack() override {
        uint32_t undo = 0, redo = 0;
        StepCounts(&undo, &redo);
        if (undo == 0)
            return Fail(kPDErrNothingToUndo, "FolioDocumentUndo: nothing to undo");
        std::string error;
        if (!Guarded(
                ctx_, [&] { pdf_undo(ctx_, doc_); }, &error))
            return Fail(kPDErrGeneric, "FolioDocumentUndo: %s", error.c_str());
        return kPDOk;
    }

    PDResult StepForward() override {
        uint32_t undo = 0, redo = 0;
        StepCounts(&undo, &redo);
        if (redo == 0)
            return Fail(kPDErrNothingToRedo, "FolioDocumentRedo: nothing to redo");
        std::string error;
        if (!Guarded(
                ctx_, [&] { pdf_redo(ctx_, doc_); }, &error))
            return Fail(kPDErrGeneric, "FolioDocumentRedo: %s", error.c_str());
        return kPDOk;
    }

    void StepCounts(uint32_t* undo, uint32_t* redo) override {
        int steps = 0, position = 0;
        Guarded(
            ctx_, [&] { position = pdf_undoredo_state(ctx_, doc_, &steps); }, nullptr);
        *undo = uint32_t(std::max(position, 0));
        *redo = uint32_t(std::max(steps - position, 0));
    }

private:
    struct Geometry {
        fz_rect box;   // the crop box in PDF user space
        fz_matrix ctm; // PDF user space onto MuPDF's page space
        int32_t rotate;
    };

    PDResult Load(uint64_t index, Geometry* g) {
        std::string error;
        int rotate = 0;
        bool ok = Guarded(
            ctx_,
            [&] {
                pdf_obj* pageObj = pdf_lookup_page_obj(ctx_, doc_, int(index));
                pdf_page_obj_transform(ctx_, pageObj, &g->box, &g->ctm);
                rotate =
                    pdf_to_int(ctx_, pdf_dict_get_inheritable(ctx_, pageObj, PDF_NAME(Rotate)));
            },
            &error);
        if (!ok)
            return Fail(kPDErrDamaged, "cannot read page %llu: %s", (unsigned long long)index + 1,
                        error.c_str());
        g->rotate = SnapRotation(rotate);
        return kPDOk;
    }

    static PDResult Size(const Geometry& g, float zoom, int32_t* width, int32_t* height,
                         const char* fn) {
        const fz_rect shown = fz_transform_rect(g.box, fz_concat(g.ctm, fz_scale(zoom, zoom)));
        const PDRectF r{shown.x0, shown.y0, shown.x1, shown.y1};
        if (!DisplaySize(r, 0, 1, width, height))
            return Fail(kPDErrBadArgument, "%s: zoom %g makes the page too large", fn, zoom);
        return kPDOk;
    }

    // The user's permissions of an encrypted file; runs inside a guarded
    // region.
    uint32_t ReadPermissions() {
        const std::pair<fz_permission, uint32_t> flags[] = {
            {FZ_PERMISSION_PRINT, kFolioPermitPrint},
            {FZ_PERMISSION_COPY, kFolioPermitCopy},
            {FZ_PERMISSION_EDIT, kFolioPermitEdit},
            {FZ_PERMISSION_ANNOTATE, kFolioPermitAnnotate},
        };
        uint32_t permitted = 0;
        for (const auto& [permission, flag] : flags)
            if (pdf_has_permission(ctx_, doc_, permission))
                permitted |= flag;
        return permitted;
    }

    // Reads one annotation dictionary; runs inside a guarded region.
    void ReadMarkup(pdf_obj* a, Markup* m) {
        const char* subtype = pdf_to_name(ctx_, pdf_dict_get(ctx_, a, PDF_NAME(Subtype)));
        Cxx(ctx_, [&] { m->subtype = AtomOf(subtype); });
        const fz_rect r = pdf_dict_get_rect(ctx_, a, PDF_NAME(Rect));
        m->rect = {r.x0, r.y0, r.x1, r.y1};
        pdf_obj* c = pdf_dict_get(ctx_, a, PDF_NAME(C));
        float rgb[3] = {0, 0, 0};
        const int n = pdf_array_len(ctx_, c);
        if (n == 1 || n == 3) {
            for (int i = 0; i < 3; ++i)
                rgb[i] = pdf_array_get_real(ctx_, c, n == 1 ? 0 : i);
        } else if (n == 4) {
            const float k = pdf_array_get_real(ctx_, c, 3);
            for (int i = 0; i < 3; ++i)
                rgb[i] = (1 - pdf_array_get_real(ctx_, c, i)) * (1 - k);
        }
        m->color = 0xFF000000u;
        for (int i = 0; i < 3; ++i) {
            const float v = std::min(1.0f, std::max(0.0f, rgb[i]));
            m->color |= uint32_t(std::lround(v * 255)) << (16 - 8 * i);
        }
        pdf_obj* ca = pdf_dict_get(ctx_, a, PDF_NAME(CA));
        m->opacity = pdf_is_number(ctx_, ca) ? pdf_to_real(ctx_, ca) : 1.0f;
        pdf_obj* points = pdf_dict_get(ctx_, a, PDF_NAME(QuadPoints));
        const int count = pdf_array_len(ctx_, points) / 8;
        Cxx(ctx_, [&] { m->quads.resize(size_t(count)); });
        for (int i = 0; i < count; ++i) {
            float v[8];
            for (int j = 0; j < 8; ++j)
                v[j] = pdf_array_get_real(ctx_, points, i * 8 + j);
            m->quads[i] = {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}};
        }
    }

    fz_context* ctx_;
    std::string path_;
    pdf_document* doc_ = nullptr;
    fz_buffer* bytes_ = nullptr; // the file as it was read: the base of incremental saves
    int64_t startxref_ = 0;      // where its last cross-reference section starts
    uint64_t pageCount_ = 0;
    uint32_t permissions_ = kFolioPermitAll;
};

bool LooksLikePdf(const std::vector<unsigned char>& data) {
    const size_t n = std::min<size_t>(data.size(), 1024);
    const char* begin = reinterpret_cast<const char*>(data.data());
    for (size_t i = 0; i + 5 <= n; ++i)
        if (std::memcmp(begin + i, "%PDF-", 5) == 0)
            return true;
    return false;
}

} // namespace

PDResult OpenPdf(const char* path, PDDocumentRec** out) {
    std::vector<unsigned char> data;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return Fail(kPDErrCannotOpen, "cannot open '%s': %s", path, std::strerror(errno));
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        data.insert(data.end(), chunk, chunk + n);
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError)
        return Fail(kPDErrCannotOpen, "cannot open '%s': %s", path, std::strerror(readError));
    if (!LooksLikePdf(data))
        return Fail(kPDErrDamaged, "'%s' is not a PDF file", path);

    fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx)
        return Fail(kPDErrNoMemory, "cannot open '%s': out of memory", path);
    fz_set_warning_callback(ctx, Quiet, nullptr);
    fz_set_error_callback(ctx, Quiet, nullptr);
    std::unique_ptr<MupdfDocument> document(new MupdfDocument(ctx, path));
    if (PDResult r = document->Open(data))
        return r;
    *out = document.release();
    return kPDOk;
}

} // namespace folio
