// What the document-model library's tests read back: a page's text, and
// geometry as text for compact comparisons; and a markup put on a page.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

namespace foliotest {

// A page's text, and the characters' quads when asked for.
std::wstring ReadText(PDPage page, std::vector<PDQuadF>* quads = nullptr);

// Puts a markup over the quads onto the page, its rectangle just around them.
PDResult AddMarkup(PDDocument document, PDPage page, uint32_t subtype,
                   const std::vector<PDQuadF>& quads, uint32_t color, float opacity = 1,
                   const wchar_t* author = L"");

// Geometry to two decimals: "(x y)", four points for a quad, two for a rectangle.
std::string Str(const PDPointF& p);
std::string Str(const PDQuadF& q);
std::string Str(const PDRectF& r);

} // namespace foliotest
