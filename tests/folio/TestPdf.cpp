#include "TestPdf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testpdf {

float Advance(char c) {
    switch (c) {
    case ' ':
        return 278;
    case 'H':
        return 722;
    case 'W':
        return 944;
    case 'F':
    case 'T':
        return 611;
    case 'i':
    case 'l':
        return 222;
    case 'r':
        return 333;
    default:
        return 556; // e o d g u n and digits
    }
}

static std::string Num(float v) {
    char b[32];
    snprintf(b, sizeof b, "%g", v);
    return b;
}

static std::string Box(const PDRectF& r) {
    return "[" + Num(r.x0) + " " + Num(r.y0) + " " + Num(r.x1) + " " + Num(r.y1) + "]";
}

void WritePdf(const std::string& path, const std::vector<Page>& pages) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"};
    std::string kids;
    for (const Page& p : pages) {
        std::string content = "BT\n";
        for (const Line& l : p.lines)
            content += "/F1 " + Num(l.size) + " Tf 1 0 0 1 " + Num(l.x) + " " + Num(l.y) + " Tm (" +
                       l.text + ") Tj\n";
        content += "ET";
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "\nendstream");
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox " + Box(p.media) + " /CropBox " +
                          Box(p.crop) + " /Rotate " + std::to_string(p.rotate) +
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
    for (size_t o : offsets) {
        char entry[24];
        snprintf(entry, sizeof entry, "%010zu 00000 n \n", o);
        out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << out;
}

PDDocument BuildInMemory(const std::vector<Page>& pages) {
    PDDocument doc = nullptr;
    FolioDocumentNewInMemory(&doc);
    for (const Page& p : pages) {
        uint64_t index = 0;
        FolioMemoryAddPage(doc, &p.crop, p.rotate, &index);
        for (size_t i = 0; i < p.lines.size(); ++i) {
            const Line& l = p.lines[i];
            const float top = l.y + kAscent * l.size, bottom = l.y + kDescent * l.size;
            float x = l.x;
            PDQuadF q{};
            for (char c : l.text) {
                const float next = x + Advance(c) * l.size / 1000;
                q = {{x, top}, {next, top}, {x, bottom}, {next, bottom}};
                const wchar_t text[2] = {wchar_t(c), 0};
                FolioMemoryAddChar(doc, index, text, &q);
                x = next;
            }
            if (i + 1 < p.lines.size()) {
                const PDQuadF lf{q.p1, q.p1, q.p3, q.p3};
                FolioMemoryAddChar(doc, index, L"\n", &lf);
            }
        }
    }
    return doc;
}

PDQuadF Box(float x0, float y0, float x1, float y1) {
    return {{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}};
}

std::wstring ReadText(PDPage page, std::vector<PDQuadF>* quads) {
    PDPageText text = nullptr;
    std::wstring s;
    if (PDPageLoadPageText(page, &text) != kPDOk)
        return L"<no text>";
    uint64_t n = 0, len = 0;
    PDPageTextGetNumChars(text, &n);
    for (uint64_t i = 0; i < n; ++i) {
        wchar_t buf[8];
        PDQuadF q{};
        PDPageTextGetCharUnicode(text, i, buf, 8, &len);
        PDPageTextGetCharQuad(text, i, &q);
        s.append(buf, len);
        if (quads)
            quads->push_back(q);
    }
    PDPageTextRelease(text);
    return s;
}

PDResult AddMarkup(PDDocument doc, PDPage page, uint32_t subtype, std::vector<PDQuadF> quads,
                   uint32_t color, float opacity, const wchar_t* author) {
    PDRectF r{1e9, 1e9, -1e9, -1e9};
    for (const PDQuadF& q : quads)
        for (const PDPointF& p : {q.p0, q.p1, q.p2, q.p3})
            r = {std::min(r.x0, p.x - 1), std::min(r.y0, p.y - 1), std::max(r.x1, p.x + 1),
                 std::max(r.y1, p.y + 1)};
    PDTextMarkupAnnotParams params{r, quads.data(), quads.size(), color, 0, author};
    PDAnnot annot = nullptr;
    PDResult result = PDAnnotCreate(doc, subtype, &params, &annot);
    if (result == kPDOk && (result = PDAnnotSetFillOpacity(annot, opacity)) == kPDOk)
        result = FolioPageInsertAnnot(page, annot);
    if (annot)
        PDAnnotRelease(annot);
    return result;
}

std::string Str(const PDPointF& p) {
    char b[64];
    snprintf(b, sizeof b, "(%.2f %.2f)", p.x, p.y);
    return b;
}

std::string Str(const PDQuadF& q) {
    return Str(q.p0) + Str(q.p1) + Str(q.p2) + Str(q.p3);
}

std::string Str(const PDRectF& r) {
    return Str(PDPointF{r.x0, r.y0}) + Str(PDPointF{r.x1, r.y1});
}

std::string TempDir() {
    std::string dir = "/tmp/folio-test-XXXXXX";
    if (!mkdtemp(&dir[0]))
        throw std::runtime_error("mkdtemp failed");
    return dir;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

} // namespace testpdf
