// Any bytes as a PDF file: open it through folio and read every page's box,
// rotation and text, as `vellum text` does. Nothing may crash; what folio
// hands out must be what it says it is.
#include <cstdint>
#include <string>

#include "FuzzFiles.h"
#include "folio.h"

namespace {

// Long documents are no more interesting than their first pages.
constexpr uint64_t kMostPages = 16;

void ReadPage(PDDocument document, uint64_t index) {
    PDPage page = nullptr;
    if (FolioDocumentLoadPage(document, index, &page) != kPDOk)
        return;
    PDRectF box{};
    int32_t rotate = -1;
    if (PDPageGetRotate(page, &rotate) == kPDOk)
        fuzz::Require(rotate == 0 || rotate == 90 || rotate == 180 || rotate == 270,
                      "a rotation of a quarter turn");
    PDPageGetCropBox(page, &box);
    PDPageText text = nullptr;
    if (PDPageLoadPageText(page, &text) == kPDOk) {
        uint64_t count = 0;
        fuzz::Require(PDPageTextGetNumChars(text, &count) == kPDOk, "a character count");
        for (uint64_t i = 0; i < count; ++i) {
            wchar_t unit[8];
            uint64_t length = 0;
            PDQuadF quad{};
            fuzz::Require(PDPageTextGetCharUnicode(text, i, unit, 8, &length) == kPDOk,
                          "every counted character has text");
            fuzz::Require(length >= 1, "a character of at least one unit");
            fuzz::Require(PDPageTextGetCharQuad(text, i, &quad) == kPDOk,
                          "every counted character has a quad");
        }
        uint64_t length = 0;
        fuzz::Require(PDPageTextGetCharUnicode(text, count, nullptr, 0, &length) ==
                          kPDErrOutOfRange,
                      "no character past the count");
        PDPageTextRelease(text);
    }
    PDPageRelease(page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::ScratchFile(data, size);
    PDDocument document = nullptr;
    if (FolioDocumentOpen(path.c_str(), &document) != kPDOk) {
        fuzz::Require(document == nullptr, "a failed open hands out no document");
        return 0;
    }
    uint64_t pages = 0;
    fuzz::Require(FolioDocumentGetPageCount(document, &pages) == kPDOk, "a page count");
    for (uint64_t index = 0; index < pages && index < kMostPages; ++index)
        ReadPage(document, index);
    PDPage past = nullptr;
    fuzz::Require(FolioDocumentLoadPage(document, pages, &past) == kPDErrOutOfRange,
                  "no page past the count");
    FolioDocumentRelease(document);
    return 0;
}
