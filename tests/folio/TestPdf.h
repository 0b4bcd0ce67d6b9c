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

std::string TempDir();                         // a fresh folder under the system's temporary one
std::string Shell(const std::string& command); // stdout of a shell command

} // namespace testpdf
