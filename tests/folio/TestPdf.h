// Test helpers: small PDF files written from text lines in Helvetica, the
// same content laid out by hand in an in-memory document, and shell access.
#pragma once

#include "folio.h"

#include <string>
#include <vector>

namespace testpdf {

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

// Helvetica's advance of a character, in text space units (1/1000 em).
float Advance(char c);
// The font's ascent and descent as MuPDF measures them, in em.
constexpr float kAscent = 1.075f, kDescent = -0.299f;

void WritePdf(const std::string& path, const std::vector<Page>& pages);
// The same pages in an in-memory document, with the line feeds between lines.
PDDocument BuildInMemory(const std::vector<Page>& pages);

PDQuadF Box(float x0, float y0, float x1, float y1); // an upright glyph box
// A page's text, and the characters' quads when asked for.
std::wstring ReadText(PDPage page, std::vector<PDQuadF>* quads = nullptr);
// Puts a markup over the quads onto the page, its rectangle just around them.
PDResult AddMarkup(PDDocument doc, PDPage page, uint32_t subtype, std::vector<PDQuadF> quads,
                   uint32_t color, float opacity = 1, const wchar_t* author = L"");

// Geometry as text, to two decimals, for compact comparisons.
std::string Str(const PDPointF& p);
std::string Str(const PDQuadF& q);
std::string Str(const PDRectF& r);

std::string TempDir();
std::string Slurp(const std::string& path);    // a fresh folder under the system's temporary one
std::string Shell(const std::string& command); // stdout of a shell command

} // namespace testpdf
