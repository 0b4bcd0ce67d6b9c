// What the test suites share: boxes, in-memory documents, small PDF files of
// text, and temporary folders and files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "folio.h"
#include "service-common/SLGeometry.h"

namespace testsupport {

// The upright quad of the box (x0, y0) - (x1, y1), y up: p0 upper-left.
SL::Quad Box(float x0, float y0, float x1, float y1);
PDQuadF FolioBox(float x0, float y0, float x1, float y1);

// --- Documents of the document-model library --------------------------------

struct DocumentRelease {
    void operator()(PDDocumentRec* document) const { FolioDocumentRelease(document); }
};
using Document = std::unique_ptr<PDDocumentRec, DocumentRelease>;

// An in-memory document of `pages` empty pages.
Document InMemory(int pages, const PDRectF& crop = {0, 0, 200, 200});
// Lays a character out by hand on a page of an in-memory document.
void AddChar(PDDocument document, uint64_t page, const wchar_t* text, const SL::Quad& quad);

// Pages of Helvetica text lines, written as a PDF file or laid out in memory
// the way the library reads the file (a line feed between lines).
struct Line {
    float x, y, size; // baseline start in PDF user space
    std::string text;
};
struct Page {
    PDRectF media;
    PDRectF crop; // equal to media when no crop box is wanted
    int rotate;
    std::vector<Line> lines;
};
// Helvetica's advance of a character in 1/1000 em, and its ascent and
// descent in em as MuPDF measures them.
float Advance(char c);
constexpr float kAscent = 1.075f, kDescent = -0.299f;

void WritePdf(const std::string& path, const std::vector<Page>& pages);
Document BuildInMemory(const std::vector<Page>& pages);

// --- Files and commands -------------------------------------------------------

// A fresh folder of a unique name under the system's temporary one, removed
// when it goes; the constructor throws std::runtime_error when none can be made.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::string Path(const std::string& name) const { return (root_ / name).string(); }

private:
    std::filesystem::path root_;
};

std::string ReadFile(const std::filesystem::path& path);

} // namespace testsupport
