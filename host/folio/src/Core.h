// Internal model of the document library: reference-counted handles, the
// backend interface behind document and page handles, and shared helpers.
#pragma once

#include "folio.h"

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace folio {

// Base of every handle. A new object carries one reference.
class RefCounted {
public:
    virtual ~RefCounted() = default;
    void Acquire() { refs_.fetch_add(1, std::memory_order_relaxed); }
    void Release() {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

private:
    std::atomic<uint32_t> refs_{1};
};

// The C99 printf of the runtime: MinGW's (with %zu and the rest) on Windows,
// where the system's own printf is not that.
#if defined(__MINGW32__)
#define FOLIO_PRINTF gnu_printf
#else
#define FOLIO_PRINTF printf
#endif

// Records a failure for the calling thread and returns its code.
PDResult Fail(PDResult code, const char* format, ...) __attribute__((format(FOLIO_PRINTF, 2, 3)));
PDResult Fail(PDResult code, const std::string& message);

// Subtype names and atoms.
uint32_t AtomOf(const std::string& name);
const char* MarkupName(uint32_t subtype); // null unless a markup subtype

struct Char {
    std::wstring text;
    PDQuadF quad;
};

// One text markup annotation as the library keeps it.
struct Markup {
    uint32_t subtype = 0;
    PDRectF rect{};
    std::vector<PDQuadF> quads; // non-zero area only
    uint32_t color = 0;
    float opacity = 1.0f;
    std::wstring author;
};

// Geometry shared by the backends.
bool QuadHasArea(const PDQuadF& q);
// The part of a character quad that a markup of this kind paints.
PDQuadF MarkedArea(uint32_t subtype, const PDQuadF& q);
// Page space onto the shown page for a crop box, rotation and zoom.
void DisplayMatrix(const PDRectF& crop, int32_t rotate, float zoom, float m[6]);
bool DisplaySize(const PDRectF& crop, int32_t rotate, float zoom, int32_t* width, int32_t* height);
std::string ToUtf8(const std::wstring& text);

// The pixels of a w x h page placed with its top-left corner at (left, top)
// of a width x height image that fall inside the image, in the page's own
// pixel coordinates (x0, y0 inclusive, x1, y1 exclusive).
struct PagePart {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
};
PagePart PartInImage(int32_t w, int32_t h, int32_t width, int32_t height, int32_t left,
                     int32_t top);

} // namespace folio

struct PDPageTextRec : folio::RefCounted {
    std::vector<folio::Char> chars;
};

// The backend interface. Pages are light handles (document and index); the
// document answers for them. Edit groups and undo steps are kept here, the
// backends only open and close their own steps.
struct PDDocumentRec : folio::RefCounted {
    virtual uint64_t PageCount() = 0;
    // Whether the file was damaged and had to be rebuilt when it was opened.
    virtual bool WasRepaired() { return false; }
    // The kFolioPermit flags of what the document permits.
    virtual uint32_t Permissions() { return kFolioPermitAll; }
    virtual PDResult CropBox(uint64_t page, PDRectF* box) = 0;
    virtual PDResult Rotation(uint64_t page, int32_t* rotate) = 0;
    virtual PDResult LoadText(uint64_t page, std::vector<folio::Char>* chars) = 0;
    virtual PDResult Insert(uint64_t page, const folio::Markup& markup) = 0;
    // The page's annotations are counted and read one at a time: a page
    // that has gathered many is not read whole for each of them.
    virtual PDResult CountMarkups(uint64_t page, uint64_t* count) = 0;
    // kPDErrOutOfRange when the page has no annotation `index`.
    virtual PDResult ReadMarkup(uint64_t page, uint64_t index, folio::Markup* markup) = 0;
    virtual PDResult PageMatrix(uint64_t page, float zoom, float m[6]) = 0;
    virtual PDResult PageSize(uint64_t page, float zoom, int32_t* width, int32_t* height) = 0;
    // FolioPageRenderInto. By default the page is rendered whole and the
    // part of it inside the image copied.
    virtual PDResult RenderInto(uint64_t page, float zoom, uint8_t* rgba, int32_t width,
                                int32_t height, int32_t left, int32_t top);
    virtual PDResult Render(uint64_t page, float zoom, uint8_t** rgba, int32_t* width,
                            int32_t* height) = 0;
    virtual PDResult Write(const FolioWriter& writer, uint32_t flags) = 0;

    ~PDDocumentRec() override;

    // The page's text, shared: a page's text does not change when
    // annotations come and go, so the few pages read last are kept and
    // handed out again (with a reference for the caller) instead of being
    // read anew for every drag. Only a few, so that a long document does not
    // gather every page's text.
    PDResult LoadSharedText(uint64_t page, PDPageTextRec** out);
    // The backend changed the page's text: the next load reads it again.
    void ForgetText(uint64_t page);

    PDResult BeginEdit(const char* label);
    PDResult EndEdit();
    PDResult InsertMarkup(uint64_t page, const folio::Markup& markup);
    PDResult Undo();
    PDResult Redo();
    PDResult UndoSteps(uint32_t* steps);
    PDResult RedoSteps(uint32_t* steps);
    bool EditOpen() const { return depth_ > 0; }

    // Serialises all calls on one document.
    std::recursive_mutex mutex;

protected:
    virtual PDResult OpenStep(const std::string& label) = 0;
    virtual void CloseStep() = 0;
    virtual PDResult StepBack() = 0;
    virtual PDResult StepForward() = 0;
    virtual void StepCounts(uint32_t* undo, uint32_t* redo) = 0;

private:
    static constexpr size_t kTextsKept = 4;
    // Newest last; each holds a reference.
    std::vector<std::pair<uint64_t, PDPageTextRec*>> texts_;
    uint32_t depth_ = 0;
    bool stepOpen_ = false;
    std::string label_;
};

struct PDPageRec : folio::RefCounted {
    PDPageRec(PDDocumentRec* d, uint64_t i) : document(d), index(i) { document->Acquire(); }
    ~PDPageRec() override { document->Release(); }
    PDDocumentRec* const document;
    const uint64_t index;
};

struct PDAnnotRec : folio::RefCounted {
    explicit PDAnnotRec(PDDocumentRec* d) : document(d) { document->Acquire(); }
    ~PDAnnotRec() override { document->Release(); }
    PDDocumentRec* const document;
    std::mutex mutex;
    folio::Markup markup;
    bool inserted = false;
};

namespace folio {
PDResult OpenPdf(const char* path, PDDocumentRec** out);
PDDocumentRec* NewMemoryDocument();
PDResult MemoryAddPage(PDDocumentRec* document, const PDRectF& crop, int32_t rotate,
                       uint64_t* index);
PDResult MemoryDamagePageText(PDDocumentRec* document, uint64_t page);
PDResult MemoryAddChar(PDDocumentRec* document, uint64_t page, const wchar_t* text,
                       const PDQuadF& quad);
} // namespace folio
