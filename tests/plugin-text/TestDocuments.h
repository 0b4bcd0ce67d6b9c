// Documents for the tests: in-memory pages with hand-placed characters, and
// a small PDF file with one line of text.
#pragma once

#include <memory>
#include <string>

#include "folio.h"
#include "service-common/SLGeometry.h"

namespace testdocs {

// The upright quad of the box (x0, y0) - (x1, y1).
SL::Quad Box(float x0, float y0, float x1, float y1);

struct DocumentDeleter {
    void operator()(PDDocumentRec* d) const { FolioDocumentRelease(d); }
};
using Document = std::unique_ptr<PDDocumentRec, DocumentDeleter>;

// An in-memory document with `pages` pages of 200 x 200.
Document InMemory(int pages);
void AddChar(PDDocument document, uint64_t page, const wchar_t* text, const SL::Quad& quad);

// A fresh folder under the system's temporary one.
std::string TempDir();
// A one-page PDF (300 x 200) with `text` in 24-point Helvetica at (20, 100).
std::string WriteTextPdf(const std::string& folder, const std::string& text);

} // namespace testdocs
