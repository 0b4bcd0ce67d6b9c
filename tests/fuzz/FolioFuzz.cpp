// Any bytes as a PDF file: open it through folio and read every page's box,
// rotation and text, as `vellum text` does; then make a markup annotation
// from the input's last bytes, put it on a page in an edit group, write the
// document both incrementally and whole, and read the written file back.
// Nothing may crash; what folio hands out must be what it says it is; a
// document that took the annotation must show it once more on that page
// when its file is opened again, and its undo must take it away.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FolioChecks.h"
#include "FuzzFiles.h"

namespace {

// Long documents are no more interesting than their first pages.
constexpr uint64_t kMostPages = 16;

void ReadPage(PDDocument document, uint64_t index) {
    PDPage page = nullptr;
    if (FolioDocumentLoadPage(document, index, &page) != kPDOk)
        return;
    const int32_t rotate = foliotest::Got<int32_t>(PDPageGetRotate, page).value_or(0);
    fuzz::Require(rotate >= 0 && rotate < 360 && rotate % 90 == 0, "a rotation of a quarter turn");
    foliotest::Got<PDRectF>(PDPageGetCropBox, page);
    PDPageText text = nullptr;
    if (PDPageLoadPageText(page, &text) == kPDOk) {
        uint64_t count = 0;
        fuzz::Require(PDPageTextGetNumChars(text, &count) == kPDOk, "a character count");
        for (uint64_t i = 0; i < count; ++i) {
            wchar_t unit[8];
            uint64_t length = 0;
            fuzz::Require(PDPageTextGetCharUnicode(text, i, unit, 8, &length) == kPDOk,
                          "every counted character has text");
            fuzz::Require(length >= 1, "a character of at least one unit");
            fuzz::Require(foliotest::Got<PDQuadF>(PDPageTextGetCharQuad, text, i).has_value(),
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

constexpr size_t kMostQuads = 4;

// The input's tail chooses the annotation; what is left is the file.
struct Choice {
    explicit Choice(FuzzedDataProvider& input)
        : subtype(input.PickValueInArray<uint32_t>(
              {kPDAtomHighlight, kPDAtomUnderline, kPDAtomStrikeOut})),
          color(input.ConsumeIntegral<uint32_t>()),
          opacity(input.ConsumeFloatingPointInRange(0.0f, 1.0f)),
          page(input.ConsumeIntegralInRange<uint64_t>(0, 7)) {
        // Mostly page-sized numbers, now and then anything a float holds.
        auto coordinate = [&] {
            return input.ConsumeBool() ? input.ConsumeFloatingPointInRange(-100.0f, 1000.0f)
                                       : input.ConsumeFloatingPoint<float>();
        };
        for (size_t i = input.ConsumeIntegralInRange<size_t>(1, kMostQuads); i > 0; --i) {
            const float x0 = coordinate(), y0 = coordinate(), x1 = coordinate(), y1 = coordinate();
            quads.push_back({{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}});
        }
    }
    uint32_t subtype;
    uint32_t color;
    float opacity;
    uint64_t page;
    std::vector<PDQuadF> quads;
};

PDResult Insert(PDDocument document, uint64_t index, const Choice& choice) {
    PDPage page = nullptr;
    PDResult result = FolioDocumentLoadPage(document, index, &page);
    if (result != kPDOk)
        return result;
    fuzz::Require(FolioDocumentBeginEdit(document, "Fuzz") == kPDOk, "an edit group opens");
    result = foliotest::AddMarkup(document, page, choice.subtype, choice.quads, choice.color,
                                  choice.opacity, L"Fuzz");
    fuzz::Require(FolioDocumentEndEdit(document) == kPDOk, "the edit group closes");
    PDPageRelease(page);
    return result;
}

// The written file opens again with the annotation on its page. (A failure
// leaves the file in the temporary folder, "-written" in its name.)
void CheckWritten(const std::string& bytes, uint64_t index, uint64_t expected) {
    const std::string path =
        fuzz::ScratchFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "-written");
    PDDocument again = nullptr;
    fuzz::Require(FolioDocumentOpen(path.c_str(), &again) == kPDOk, "a written file opens");
    fuzz::Require(foliotest::AnnotsOn(again, index).value_or(expected) == expected,
                  "the written file has the annotation");
    FolioDocumentRelease(again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const Choice choice(input);
    const std::vector<uint8_t> file = input.ConsumeRemainingBytes<uint8_t>();
    const std::string path = fuzz::ScratchFile(file.data(), file.size());
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
    const uint64_t index = pages > 0 ? choice.page % pages : 0;
    const std::optional<uint64_t> before = foliotest::AnnotsOn(document, index);
    const uint32_t stepsBefore =
        foliotest::Got<uint32_t>(FolioDocumentCanUndo, document).value_or(0);
    if (before && Insert(document, index, choice) == kPDOk) {
        fuzz::Require(foliotest::AnnotsOn(document, index) == *before + 1,
                      "one more annotation on the page");
        fuzz::Require(foliotest::Got<uint32_t>(FolioDocumentCanUndo, document) == stepsBefore + 1,
                      "one more undo step");
        const uint32_t repaired =
            foliotest::Got<uint32_t>(FolioDocumentWasRepaired, document).value_or(0);
        for (const uint32_t flags : {kFolioSaveIncremental, kFolioSaveFull}) {
            PDResult written = kPDOk;
            const std::string bytes = foliotest::Written(document, flags, &written);
            // A repaired file is written whole; MuPDF may read it back
            // differently from the way it repaired it.
            if (written == kPDOk && !repaired)
                CheckWritten(bytes, index, *before + 1);
        }
        fuzz::Require(FolioDocumentUndo(document) == kPDOk, "the step can be undone");
        fuzz::Require(foliotest::AnnotsOn(document, index) == before, "undo takes it away");
    }
    FolioDocumentRelease(document);
    return 0;
}
