#include "TestDocuments.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace testdocs {

SL::Quad Box(float x0, float y0, float x1, float y1) {
    return SL::Quad{{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}};
}

Document InMemory(int pages) {
    PDDocument document = nullptr;
    if (FolioDocumentNewInMemory(&document) != 0)
        throw std::runtime_error("no in-memory document");
    const PDRectF crop{0, 0, 200, 200};
    for (int i = 0; i < pages; ++i) {
        uint64_t index = 0;
        FolioMemoryAddPage(document, &crop, 0, &index);
    }
    return Document(document);
}

void AddChar(PDDocument document, uint64_t page, const wchar_t* text, const SL::Quad& q) {
    const PDQuadF quad{{q.p0.x, q.p0.y}, {q.p1.x, q.p1.y}, {q.p2.x, q.p2.y}, {q.p3.x, q.p3.y}};
    if (FolioMemoryAddChar(document, page, text, &quad) != 0)
        throw std::runtime_error(FolioLastErrorMessage());
}

std::string TempDir() {
    char pattern[] = "/tmp/plugin-text-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir)
        throw std::runtime_error("no temporary folder");
    return dir;
}

std::string WriteTextPdf(const std::string& folder, const std::string& text) {
    const std::string content = "BT /F1 24 Tf 20 100 Td (" + text + ") Tj ET\n";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    const std::string path = folder + "/text.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    return path;
}

} // namespace testdocs
