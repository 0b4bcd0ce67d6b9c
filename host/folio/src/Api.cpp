// The exported entry points: argument checks, reference counting, atoms,
// per-thread error texts and the edit-group bookkeeping that both backends
// share.
#include "Core.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <new>

using folio::Fail;

namespace folio {

namespace {
thread_local std::string g_lastError;

struct AtomTable {
    std::mutex mutex;
    std::map<std::string, uint32_t> byName;
    std::map<uint32_t, const std::string*> byAtom;
    std::deque<std::string> names; // stable storage for the returned pointers
    uint32_t next = 1001;

    AtomTable() {
        Add("Highlight", kPDAtomHighlight);
        Add("StrikeOut", kPDAtomStrikeOut);
        Add("Underline", kPDAtomUnderline);
    }
    uint32_t Add(const std::string& name, uint32_t atom) {
        names.push_back(name);
        byName.emplace(name, atom);
        byAtom.emplace(atom, &names.back());
        return atom;
    }
};

AtomTable& Atoms() {
    static AtomTable* table = new AtomTable; // lives as long as the process
    return *table;
}
} // namespace

PDResult Fail(PDResult code, const std::string& message) {
    g_lastError = message;
    return code;
}

PDResult Fail(PDResult code, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    g_lastError = buffer;
    return code;
}

uint32_t AtomOf(const std::string& name) {
    AtomTable& table = Atoms();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.byName.find(name);
    if (it != table.byName.end())
        return it->second;
    return table.Add(name, table.next++);
}

const char* MarkupName(uint32_t subtype) {
    switch (subtype) {
    case kPDAtomHighlight:
        return "Highlight";
    case kPDAtomStrikeOut:
        return "StrikeOut";
    case kPDAtomUnderline:
        return "Underline";
    default:
        return nullptr;
    }
}

bool QuadHasArea(const PDQuadF& q) {
    // Shoelace over the outline p0 -> p1 -> p3 -> p2.
    const PDPointF pts[4] = {q.p0, q.p1, q.p3, q.p2};
    double twice = 0;
    for (int i = 0; i < 4; ++i) {
        const PDPointF& a = pts[i];
        const PDPointF& b = pts[(i + 1) % 4];
        twice += double(a.x) * b.y - double(b.x) * a.y;
    }
    return std::fabs(twice) / 2 > 1e-6;
}

PDQuadF MarkedArea(uint32_t subtype, const PDQuadF& q) {
    // Fractions of the quad's height, measured from its bottom edge.
    double lower = 0, upper = 1;
    const double thickness = 1.0 / 14;
    if (subtype == kPDAtomUnderline) {
        upper = thickness;
    } else if (subtype == kPDAtomStrikeOut) {
        lower = 0.4 - thickness / 2;
        upper = 0.4 + thickness / 2;
    }
    auto along = [](PDPointF bottom, PDPointF top, double t) {
        return PDPointF{float(bottom.x + (top.x - bottom.x) * t),
                        float(bottom.y + (top.y - bottom.y) * t)};
    };
    if (lower == 0 && upper == 1)
        return q;
    return PDQuadF{along(q.p2, q.p0, upper), along(q.p3, q.p1, upper), along(q.p2, q.p0, lower),
                   along(q.p3, q.p1, lower)};
}

void DisplayMatrix(const PDRectF& c, int32_t rotate, float zoom, float m[6]) {
    float a, b, cc, d, e, f;
    switch (rotate) {
    case 90: // x' = y - y0, y' = x - x0
        a = 0, b = 1, cc = 1, d = 0, e = -c.y0, f = -c.x0;
        break;
    case 180: // x' = x1 - x, y' = y - y0
        a = -1, b = 0, cc = 0, d = 1, e = c.x1, f = -c.y0;
        break;
    case 270: // x' = y1 - y, y' = x1 - x
        a = 0, b = -1, cc = -1, d = 0, e = c.y1, f = c.x1;
        break;
    default: // x' = x - x0, y' = y1 - y
        a = 1, b = 0, cc = 0, d = -1, e = -c.x0, f = c.y1;
        break;
    }
    m[0] = a * zoom, m[1] = b * zoom, m[2] = cc * zoom, m[3] = d * zoom;
    m[4] = e * zoom, m[5] = f * zoom;
}

bool DisplaySize(const PDRectF& crop, int32_t rotate, float zoom, int32_t* width, int32_t* height) {
    double w = double(crop.x1 - crop.x0) * zoom, h = double(crop.y1 - crop.y0) * zoom;
    if (rotate == 90 || rotate == 270)
        std::swap(w, h);
    w = std::max(1.0, std::round(w));
    h = std::max(1.0, std::round(h));
    if (!(w * h <= double(1 << 27))) // 512 MiB of RGBA at most
        return false;
    *width = int32_t(w);
    *height = int32_t(h);
    return true;
}

PagePart PartInImage(int32_t w, int32_t h, int32_t width, int32_t height, int32_t left,
                     int32_t top) {
    PagePart part;
    part.x0 = int32_t(std::min<int64_t>(w, std::max<int64_t>(0, -int64_t(left))));
    part.y0 = int32_t(std::min<int64_t>(h, std::max<int64_t>(0, -int64_t(top))));
    part.x1 = int32_t(std::max<int64_t>(0, std::min<int64_t>(w, int64_t(width) - left)));
    part.y1 = int32_t(std::max<int64_t>(0, std::min<int64_t>(h, int64_t(height) - top)));
    return part;
}

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    for (wchar_t wc : text) {
        uint32_t c = uint32_t(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace folio

// --- Edit groups ------------------------------------------------------------

PDResult PDDocumentRec::RenderInto(uint64_t page, float zoom, uint8_t* rgba, int32_t width,
                                   int32_t height, int32_t left, int32_t top) {
    uint8_t* pixels = nullptr;
    int32_t w = 0, h = 0;
    if (PDResult r = Render(page, zoom, &pixels, &w, &h))
        return r;
    const folio::PagePart part = folio::PartInImage(w, h, width, height, left, top);
    for (int32_t y = part.y0; y < part.y1; ++y) {
        const size_t row = size_t(int64_t(top) + y), column = size_t(int64_t(left) + part.x0);
        std::memcpy(rgba + (row * width + column) * 4, pixels + (size_t(y) * w + part.x0) * 4,
                    size_t(part.x1 - part.x0) * 4);
    }
    std::free(pixels);
    return kPDOk;
}

PDResult PDDocumentRec::BeginEdit(const char* label) {
    if (depth_ == 0)
        label_ = label && *label ? label : "Edit";
    ++depth_;
    return kPDOk;
}

PDResult PDDocumentRec::EndEdit() {
    if (depth_ == 0)
        return Fail(kPDErrBadArgument, "FolioDocumentEndEdit: no edit group is open");
    if (--depth_ == 0 && stepOpen_) {
        stepOpen_ = false;
        CloseStep();
    }
    return kPDOk;
}

PDResult PDDocumentRec::InsertMarkup(uint64_t page, const folio::Markup& markup) {
    if (depth_ > 0) {
        if (!stepOpen_) {
            PDResult r = OpenStep(label_);
            if (r != kPDOk)
                return r;
            stepOpen_ = true;
        }
        return Insert(page, markup);
    }
    PDResult r = OpenStep("Add annotation");
    if (r != kPDOk)
        return r;
    r = Insert(page, markup);
    CloseStep();
    return r;
}

PDResult PDDocumentRec::Undo() {
    if (depth_ > 0)
        return Fail(kPDErrEditOpen, "FolioDocumentUndo: an edit group is still open");
    return StepBack();
}

PDResult PDDocumentRec::Redo() {
    if (depth_ > 0)
        return Fail(kPDErrEditOpen, "FolioDocumentRedo: an edit group is still open");
    return StepForward();
}

PDResult PDDocumentRec::UndoSteps(uint32_t* steps) {
    uint32_t redo = 0;
    StepCounts(steps, &redo);
    return kPDOk;
}

PDResult PDDocumentRec::RedoSteps(uint32_t* steps) {
    uint32_t undo = 0;
    StepCounts(&undo, steps);
    return kPDOk;
}

// --- Entry points -----------------------------------------------------------

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

#define REQUIRE(cond, fn, what)                                                                    \
    do {                                                                                           \
        if (!(cond))                                                                               \
            return Fail(kPDErrBadArgument, "%s: %s", fn, what);                                    \
    } while (0)

// The reference counting entries of every handle type.
template <class Handle>
PDResult AcquireHandle(Handle handle, const char* function, const char* nullText) {
    REQUIRE(handle, function, nullText);
    handle->Acquire();
    return kPDOk;
}

template <class Handle>
PDResult ReleaseHandle(Handle handle, const char* function, const char* nullText) {
    REQUIRE(handle, function, nullText);
    handle->Release();
    return kPDOk;
}

bool Finite(float v) {
    return std::isfinite(v);
}
bool Finite(const PDPointF& p) {
    return Finite(p.x) && Finite(p.y);
}
bool Finite(const PDQuadF& q) {
    return Finite(q.p0) && Finite(q.p1) && Finite(q.p2) && Finite(q.p3);
}

PDResult CheckZoom(const char* fn, float zoom) {
    REQUIRE(std::isfinite(zoom) && zoom > 0, fn, "the zoom must be a positive number");
    return kPDOk;
}

} // namespace

extern "C" {

FOLIO_API const char* FolioLastErrorMessage(void) {
    return folio::g_lastError.c_str();
}

FOLIO_API PDResult PDAtomPutString(const char* name, uint32_t* atom) {
    REQUIRE(name && *name, "PDAtomPutString", "the name is null or empty");
    REQUIRE(atom, "PDAtomPutString", "the out-pointer is null");
    try {
        *atom = folio::AtomOf(name);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "PDAtomPutString: out of memory");
    }
    return kPDOk;
}

FOLIO_API PDResult PDAtomGetString(uint32_t atom, const char** name) {
    REQUIRE(name, "PDAtomGetString", "the out-pointer is null");
    folio::AtomTable& table = folio::Atoms();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.byAtom.find(atom);
    if (it == table.byAtom.end())
        return Fail(kPDErrBadArgument, "PDAtomGetString: no name has the atom %u", atom);
    *name = it->second->c_str();
    return kPDOk;
}

// Documents.

FOLIO_API PDResult FolioDocumentOpen(const char* path, PDDocument* out) {
    REQUIRE(path && out, "FolioDocumentOpen", "null argument");
    *out = nullptr;
    try {
        return folio::OpenPdf(path, out);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "cannot open '%s': out of memory", path);
    }
}

FOLIO_API PDResult FolioDocumentNewInMemory(PDDocument* out) {
    REQUIRE(out, "FolioDocumentNewInMemory", "the out-pointer is null");
    *out = folio::NewMemoryDocument();
    return kPDOk;
}

FOLIO_API PDResult FolioDocumentAcquire(PDDocument document) {
    return AcquireHandle(document, "FolioDocumentAcquire", "the document is null");
}

FOLIO_API PDResult FolioDocumentRelease(PDDocument document) {
    return ReleaseHandle(document, "FolioDocumentRelease", "the document is null");
}

FOLIO_API PDResult FolioDocumentGetPageCount(PDDocument document, uint64_t* count) {
    REQUIRE(document && count, "FolioDocumentGetPageCount", "null argument");
    Lock lock(document->mutex);
    *count = document->PageCount();
    return kPDOk;
}

FOLIO_API PDResult FolioDocumentWasRepaired(PDDocument document, uint32_t* repaired) {
    REQUIRE(document && repaired, "FolioDocumentWasRepaired", "null argument");
    Lock lock(document->mutex);
    *repaired = document->WasRepaired() ? 1 : 0;
    return kPDOk;
}

FOLIO_API PDResult FolioDocumentGetPermissions(PDDocument document, uint32_t* permissions) {
    REQUIRE(document && permissions, "FolioDocumentGetPermissions", "null argument");
    Lock lock(document->mutex);
    *permissions = document->Permissions();
    return kPDOk;
}

FOLIO_API PDResult FolioDocumentLoadPage(PDDocument document, uint64_t index, PDPage* out) {
    REQUIRE(document && out, "FolioDocumentLoadPage", "null argument");
    *out = nullptr;
    Lock lock(document->mutex);
    uint64_t count = document->PageCount();
    if (index >= count)
        return Fail(kPDErrOutOfRange, "there is no page %llu: the document has %llu",
                    (unsigned long long)index + 1, (unsigned long long)count);
    try {
        *out = new PDPageRec(document, index);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "FolioDocumentLoadPage: out of memory");
    }
    return kPDOk;
}

FOLIO_API PDResult FolioPageGetIndex(PDPage page, uint64_t* index) {
    REQUIRE(page && index, "FolioPageGetIndex", "null argument");
    *index = page->index;
    return kPDOk;
}

FOLIO_API PDResult FolioDocumentWrite(PDDocument document, const FolioWriter* writer,
                                      uint32_t flags) {
    REQUIRE(document && writer && writer->write, "FolioDocumentWrite", "null argument");
    REQUIRE(flags == kFolioSaveFull || flags == kFolioSaveIncremental, "FolioDocumentWrite",
            "unknown flags");
    Lock lock(document->mutex);
    if (document->EditOpen())
        return Fail(kPDErrEditOpen, "cannot write the document: an edit group is still open");
    try {
        return document->Write(*writer, flags);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "cannot write the document: out of memory");
    }
}

FOLIO_API PDResult FolioDocumentBeginEdit(PDDocument document, const char* label) {
    REQUIRE(document, "FolioDocumentBeginEdit", "the document is null");
    Lock lock(document->mutex);
    return document->BeginEdit(label);
}

FOLIO_API PDResult FolioDocumentEndEdit(PDDocument document) {
    REQUIRE(document, "FolioDocumentEndEdit", "the document is null");
    Lock lock(document->mutex);
    return document->EndEdit();
}

FOLIO_API PDResult FolioDocumentUndo(PDDocument document) {
    REQUIRE(document, "FolioDocumentUndo", "the document is null");
    Lock lock(document->mutex);
    return document->Undo();
}

FOLIO_API PDResult FolioDocumentRedo(PDDocument document) {
    REQUIRE(document, "FolioDocumentRedo", "the document is null");
    Lock lock(document->mutex);
    return document->Redo();
}

FOLIO_API PDResult FolioDocumentCanUndo(PDDocument document, uint32_t* steps) {
    REQUIRE(document && steps, "FolioDocumentCanUndo", "null argument");
    Lock lock(document->mutex);
    return document->UndoSteps(steps);
}

FOLIO_API PDResult FolioDocumentCanRedo(PDDocument document, uint32_t* steps) {
    REQUIRE(document && steps, "FolioDocumentCanRedo", "null argument");
    Lock lock(document->mutex);
    return document->RedoSteps(steps);
}

// Pages.

FOLIO_API PDResult PDPageAcquire(PDPage page) {
    return AcquireHandle(page, "PDPageAcquire", "the page is null");
}

FOLIO_API PDResult PDPageRelease(PDPage page) {
    return ReleaseHandle(page, "PDPageRelease", "the page is null");
}

FOLIO_API PDResult PDPageGetCropBox(PDPage page, PDRectF* box) {
    REQUIRE(page && box, "PDPageGetCropBox", "null argument");
    Lock lock(page->document->mutex);
    return page->document->CropBox(page->index, box);
}

FOLIO_API PDResult PDPageGetRotate(PDPage page, int32_t* rotate) {
    REQUIRE(page && rotate, "PDPageGetRotate", "null argument");
    Lock lock(page->document->mutex);
    return page->document->Rotation(page->index, rotate);
}

FOLIO_API PDResult FolioPageDisplayMatrix(PDPage page, float zoom, float m[6]) {
    REQUIRE(page && m, "FolioPageDisplayMatrix", "null argument");
    if (PDResult r = CheckZoom("FolioPageDisplayMatrix", zoom))
        return r;
    Lock lock(page->document->mutex);
    return page->document->PageMatrix(page->index, zoom, m);
}

FOLIO_API PDResult FolioPageDisplaySize(PDPage page, float zoom, int32_t* width, int32_t* height) {
    REQUIRE(page && width && height, "FolioPageDisplaySize", "null argument");
    if (PDResult r = CheckZoom("FolioPageDisplaySize", zoom))
        return r;
    Lock lock(page->document->mutex);
    return page->document->PageSize(page->index, zoom, width, height);
}

FOLIO_API PDResult FolioPageRender(PDPage page, float zoom, uint8_t** rgba, int32_t* width,
                                   int32_t* height) {
    REQUIRE(page && rgba && width && height, "FolioPageRender", "null argument");
    *rgba = nullptr;
    if (PDResult r = CheckZoom("FolioPageRender", zoom))
        return r;
    Lock lock(page->document->mutex);
    try {
        return page->document->Render(page->index, zoom, rgba, width, height);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "FolioPageRender: out of memory");
    }
}

FOLIO_API PDResult FolioPageRenderInto(PDPage page, float zoom, uint8_t* rgba, int32_t width,
                                       int32_t height, int32_t left, int32_t top) {
    REQUIRE(page && rgba, "FolioPageRenderInto", "null argument");
    REQUIRE(width > 0 && height > 0 && width <= INT32_MAX / 4, "FolioPageRenderInto",
            "the image's size is not usable");
    if (PDResult r = CheckZoom("FolioPageRenderInto", zoom))
        return r;
    Lock lock(page->document->mutex);
    try {
        return page->document->RenderInto(page->index, zoom, rgba, width, height, left, top);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "FolioPageRenderInto: out of memory");
    }
}

FOLIO_API void FolioFreeBuffer(void* buffer) {
    std::free(buffer);
}

// Page text.

FOLIO_API PDResult PDPageLoadPageText(PDPage page, PDPageText* out) {
    REQUIRE(page && out, "PDPageLoadPageText", "null argument");
    *out = nullptr;
    try {
        std::unique_ptr<PDPageTextRec> text(new PDPageTextRec);
        Lock lock(page->document->mutex);
        PDResult r = page->document->LoadText(page->index, &text->chars);
        if (r != kPDOk)
            return r;
        *out = text.release();
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "PDPageLoadPageText: out of memory");
    }
    return kPDOk;
}

FOLIO_API PDResult PDPageTextAcquire(PDPageText text) {
    return AcquireHandle(text, "PDPageTextAcquire", "the page text is null");
}

FOLIO_API PDResult PDPageTextRelease(PDPageText text) {
    return ReleaseHandle(text, "PDPageTextRelease", "the page text is null");
}

FOLIO_API PDResult PDPageTextGetNumChars(PDPageText text, uint64_t* count) {
    REQUIRE(text && count, "PDPageTextGetNumChars", "null argument");
    *count = text->chars.size();
    return kPDOk;
}

static PDResult CheckCharIndex(const char* fn, PDPageText text, uint64_t index) {
    if (index >= text->chars.size())
        return Fail(kPDErrOutOfRange, "%s: character %llu of a page text of %zu", fn,
                    (unsigned long long)index, text->chars.size());
    return kPDOk;
}

FOLIO_API PDResult PDPageTextGetCharUnicode(PDPageText text, uint64_t index, wchar_t* buffer,
                                            uint64_t size, uint64_t* length) {
    REQUIRE(text && length, "PDPageTextGetCharUnicode", "null argument");
    if (PDResult r = CheckCharIndex("PDPageTextGetCharUnicode", text, index))
        return r;
    const std::wstring& s = text->chars[index].text;
    if (!buffer) {
        *length = s.size();
        return kPDOk;
    }
    uint64_t n = std::min<uint64_t>(size, s.size());
    std::copy(s.begin(), s.begin() + n, buffer);
    *length = n;
    return kPDOk;
}

FOLIO_API PDResult PDPageTextGetCharQuad(PDPageText text, uint64_t index, PDQuadF* quad) {
    REQUIRE(text && quad, "PDPageTextGetCharQuad", "null argument");
    if (PDResult r = CheckCharIndex("PDPageTextGetCharQuad", text, index))
        return r;
    *quad = text->chars[index].quad;
    return kPDOk;
}

// Annotations.

FOLIO_API PDResult PDAnnotCreate(PDDocument document, uint32_t subtype,
                                 const PDTextMarkupAnnotParams* params, PDAnnot* out) {
    const char* fn = "PDAnnotCreate";
    REQUIRE(document && params && out, fn, "null argument");
    *out = nullptr;
    if (!folio::MarkupName(subtype))
        return Fail(kPDErrBadArgument, "%s: %u is not the atom of a text markup subtype", fn,
                    subtype);
    REQUIRE(params->count > 0, fn, "the annotation needs at least one quad");
    REQUIRE(params->count <= (1u << 24), fn, "too many quads");
    REQUIRE(params->quads, fn, "the quads are null");
    REQUIRE(params->author, fn, "the author is null");
    const PDRectF& r = params->rect;
    REQUIRE(Finite(r.x0) && Finite(r.y0) && Finite(r.x1) && Finite(r.y1), fn,
            "the rectangle is not finite");
    try {
        std::unique_ptr<PDAnnotRec> annot(new PDAnnotRec(document));
        folio::Markup& m = annot->markup;
        m.subtype = subtype;
        m.rect = {std::min(r.x0, r.x1), std::min(r.y0, r.y1), std::max(r.x0, r.x1),
                  std::max(r.y0, r.y1)};
        for (uint64_t i = 0; i < params->count; ++i) {
            const PDQuadF& q = params->quads[i];
            REQUIRE(Finite(q), fn, "a quad is not finite");
            if (folio::QuadHasArea(q))
                m.quads.push_back(q);
        }
        REQUIRE(!m.quads.empty(), fn, "every quad has zero area");
        m.color = params->color;
        m.author = params->author;
        *out = annot.release();
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "%s: out of memory", fn);
    }
    return kPDOk;
}

FOLIO_API PDResult PDAnnotSetFillOpacity(PDAnnot annot, float opacity) {
    REQUIRE(annot, "PDAnnotSetFillOpacity", "the annotation is null");
    REQUIRE(opacity >= 0 && opacity <= 1, "PDAnnotSetFillOpacity",
            "the opacity must lie between 0 and 1");
    std::lock_guard<std::mutex> lock(annot->mutex);
    if (annot->inserted)
        return Fail(kPDErrUnsupported,
                    "PDAnnotSetFillOpacity: the annotation is already on a page");
    annot->markup.opacity = opacity;
    return kPDOk;
}

FOLIO_API PDResult PDAnnotRelease(PDAnnot annot) {
    return ReleaseHandle(annot, "PDAnnotRelease", "the annotation is null");
}

FOLIO_API PDResult FolioPageInsertAnnot(PDPage page, PDAnnot annot) {
    REQUIRE(page && annot, "FolioPageInsertAnnot", "null argument");
    REQUIRE(page->document == annot->document, "FolioPageInsertAnnot",
            "the annotation was made for another document");
    Lock lock(page->document->mutex);
    std::lock_guard<std::mutex> annotLock(annot->mutex);
    if (annot->inserted)
        return Fail(kPDErrBadArgument, "FolioPageInsertAnnot: the annotation is already on a page");
    PDResult r;
    try {
        r = page->document->InsertMarkup(page->index, annot->markup);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "FolioPageInsertAnnot: out of memory");
    }
    if (r == kPDOk)
        annot->inserted = true;
    return r;
}

FOLIO_API PDResult FolioPageCountAnnots(PDPage page, uint64_t* count) {
    REQUIRE(page && count, "FolioPageCountAnnots", "null argument");
    std::vector<folio::Markup> markups;
    Lock lock(page->document->mutex);
    PDResult r = page->document->ListMarkups(page->index, &markups);
    if (r == kPDOk)
        *count = markups.size();
    return r;
}

FOLIO_API PDResult FolioPageGetAnnot(PDPage page, uint64_t index, FolioAnnotInfo* info,
                                     PDQuadF* quads, uint64_t size) {
    REQUIRE(page && info, "FolioPageGetAnnot", "null argument");
    std::vector<folio::Markup> markups;
    Lock lock(page->document->mutex);
    PDResult r = page->document->ListMarkups(page->index, &markups);
    if (r != kPDOk)
        return r;
    if (index >= markups.size())
        return Fail(kPDErrOutOfRange, "FolioPageGetAnnot: annotation %llu of a page with %zu",
                    (unsigned long long)index, markups.size());
    const folio::Markup& m = markups[index];
    info->subtype = m.subtype;
    info->rect = m.rect;
    info->color = m.color;
    info->opacity = m.opacity;
    info->quadCount = m.quads.size();
    if (quads)
        std::copy(m.quads.begin(), m.quads.begin() + std::min<uint64_t>(size, m.quads.size()),
                  quads);
    return kPDOk;
}

// The in-memory backend's layout calls.

FOLIO_API PDResult FolioMemoryAddPage(PDDocument document, const PDRectF* cropBox, int32_t rotate,
                                      uint64_t* index) {
    REQUIRE(document && cropBox, "FolioMemoryAddPage", "null argument");
    Lock lock(document->mutex);
    return folio::MemoryAddPage(document, *cropBox, rotate, index);
}

FOLIO_API PDResult FolioMemoryAddChar(PDDocument document, uint64_t pageIndex, const wchar_t* text,
                                      const PDQuadF* quad) {
    REQUIRE(document && text && quad, "FolioMemoryAddChar", "null argument");
    REQUIRE(Finite(*quad), "FolioMemoryAddChar", "the quad is not finite");
    Lock lock(document->mutex);
    try {
        return folio::MemoryAddChar(document, pageIndex, text, *quad);
    } catch (const std::bad_alloc&) {
        return Fail(kPDErrNoMemory, "FolioMemoryAddChar: out of memory");
    }
}

FOLIO_API PDResult FolioMemoryDamagePageText(PDDocument document, uint64_t pageIndex) {
    REQUIRE(document, "FolioMemoryDamagePageText", "the document is null");
    Lock lock(document->mutex);
    return folio::MemoryDamagePageText(document, pageIndex);
}

} // extern "C"
