// Documents for the tests: in-memory pages with hand-placed characters, and
// a small PDF file with one line of text.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "folio.h"
#include "service-common/SLGeometry.h"

namespace testdocs {

// The upright quad of the box (x0, y0) - (x1, y1).
inline SL::Quad Box(float x0, float y0, float x1, float y1) {
    return SL::Quad{{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}};
}

struct DocumentDeleter {
    void operator()(PDDocumentRec* d) const { FolioDocumentRelease(d); }
};
using Document = std::unique_ptr<PDDocumentRec, DocumentDeleter>;

// An in-memory document of `pages` pages of 200 x 200.
inline Document InMemory(int pages) {
    PDDocument document = nullptr;
    FolioDocumentNewInMemory(&document);
    const PDRectF crop{0, 0, 200, 200};
    for (uint64_t index = 0; pages-- > 0;)
        FolioMemoryAddPage(document, &crop, 0, &index);
    return Document(document);
}

inline void AddChar(PDDocument document, uint64_t page, const wchar_t* text, const SL::Quad& q) {
    const PDQuadF quad{{q.p0.x, q.p0.y}, {q.p1.x, q.p1.y}, {q.p2.x, q.p2.y}, {q.p3.x, q.p3.y}};
    if (FolioMemoryAddChar(document, page, text, &quad) != 0)
        throw std::runtime_error(FolioLastErrorMessage());
}

// A one-page PDF (300 x 200) in a fresh folder, with `text` in 24-point
// Helvetica at (20, 100).
inline std::string WriteTextPdf(const std::string& text) {
    char folder[] = "/tmp/plugin-text-XXXXXX";
    if (!mkdtemp(folder))
        throw std::runtime_error("no temporary folder");
    const std::string content = "BT /F1 24 Tf 20 100 Td (" + text + ") Tj ET\n";
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string pdf = "%PDF-1.4\n", xref = "xref\n0 6\n0000000000 65535 f \n";
    for (int i = 0; i < 5; ++i) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", pdf.size());
        xref += entry;
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t start = pdf.size();
    pdf += xref + "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(start) +
           "\n%%EOF\n";
    const std::string path = std::string(folder) + "/text.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    return path;
}

} // namespace testdocs
