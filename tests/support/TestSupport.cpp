#include "TestSupport.h"

#include "service-common/FolioGeometry.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

SL::Quad Box(float x0, float y0, float x1, float y1) {
    return SL::Quad{{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}};
}

PDQuadF FolioBox(float x0, float y0, float x1, float y1) {
    return SL::ToFolio(Box(x0, y0, x1, y1));
}

Document InMemory(int pages, const PDRectF& crop) {
    PDDocument document = nullptr;
    if (FolioDocumentNewInMemory(&document) != kPDOk)
        throw std::runtime_error("no in-memory document");
    for (uint64_t index = 0; pages-- > 0;)
        FolioMemoryAddPage(document, &crop, 0, &index);
    return Document(document);
}

void AddChar(PDDocument document, uint64_t page, const wchar_t* text, const SL::Quad& q) {
    const PDQuadF quad = SL::ToFolio(q);
    if (FolioMemoryAddChar(document, page, text, &quad) != kPDOk)
        throw std::runtime_error(FolioLastErrorMessage());
}

float Advance(char c) {
    // Letters not listed are 556 wide: e o d g u n, and the digits.
    static const std::map<char, float> kWidths = {{' ', 278}, {'H', 722}, {'W', 944}, {'F', 611},
                                                  {'T', 611}, {'i', 222}, {'l', 222}, {'r', 333}};
    const auto found = kWidths.find(c);
    return found == kWidths.end() ? 556 : found->second;
}

namespace {

template <class... Values> std::string Format(const char* pattern, Values... values) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::string Array(const PDRectF& r) {
    return Format("[%g %g %g %g]", r.x0, r.y0, r.x1, r.y1);
}

} // namespace

void WritePdf(const std::string& path, const std::vector<Page>& pages) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"};
    std::string kids;
    for (const Page& p : pages) {
        std::string content = "BT\n";
        for (const Line& l : p.lines)
            content += Format("/F1 %g Tf 1 0 0 1 %g %g Tm (", l.size, l.x, l.y) + l.text + ") Tj\n";
        content += "ET";
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "\nendstream");
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox " + Array(p.media) +
                          " /CropBox " + Array(p.crop) + " /Rotate " + std::to_string(p.rotate) +
                          " /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(objects.size()) + " 0 R >>");
        kids += std::to_string(objects.size()) + " 0 R ";
    }
    objects[1] =
        "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
    std::string out = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets)
        out += Format("%010zu 00000 n \n", offset);
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << out;
}

Document BuildInMemory(const std::vector<Page>& pages) {
    Document document = InMemory(0);
    for (const Page& p : pages) {
        uint64_t index = 0;
        FolioMemoryAddPage(document.get(), &p.crop, p.rotate, &index);
        for (size_t i = 0; i < p.lines.size(); ++i) {
            const Line& l = p.lines[i];
            const float top = l.y + kAscent * l.size, bottom = l.y + kDescent * l.size;
            float x = l.x;
            SL::Quad q{};
            for (char c : l.text) {
                const float next = x + Advance(c) * l.size / 1000;
                q = Box(x, bottom, next, top);
                const wchar_t text[2] = {wchar_t(c), 0};
                AddChar(document.get(), index, text, q);
                x = next;
            }
            if (i + 1 < p.lines.size())
                AddChar(document.get(), index, L"\n", SL::Quad{q.p1, q.p1, q.p3, q.p3});
        }
    }
    return document;
}

TempFolder::TempFolder() {
    // Making a folder fails when the name is taken, so a name that was made
    // is this folder's own.
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        root_ = fs::temp_directory_path() /
                Format("vellum-test-%016llx", static_cast<unsigned long long>(names()));
        if (fs::create_directory(root_))
            return;
    }
    throw std::runtime_error("no temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace testsupport
