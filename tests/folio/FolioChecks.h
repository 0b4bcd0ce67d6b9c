// What the document-model library's tests and fuzz targets read back: a
// page's text, annotation counts, a written file, and geometry as text for
// compact comparisons; and a markup put on a page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "folio.h"

namespace foliotest {

// A page's text, and the characters' quads when asked for.
std::wstring ReadText(PDPage page, std::vector<PDQuadF>* quads = nullptr);

// What a call that answers through its last argument gives; none when it fails.
template <class T, class Call, class... Args> std::optional<T> Got(Call call, Args... args) {
    T value{};
    return call(args..., &value) == kPDOk ? std::optional<T>(value) : std::nullopt;
}

// The number of annotations on page `index`; none when the page cannot be read.
std::optional<uint64_t> AnnotsOn(PDDocument document, uint64_t index);

// The document written as a file, in memory; `result` says whether it was.
std::string Written(PDDocument document, uint32_t flags, PDResult* result);

// Puts a markup over the quads onto the page, its rectangle just around them.
PDResult AddMarkup(PDDocument document, PDPage page, uint32_t subtype,
                   const std::vector<PDQuadF>& quads, uint32_t color, float opacity = 1,
                   const wchar_t* author = L"");

// Geometry to two decimals: "(x y)", four points for a quad, two for a rectangle.
std::string Str(const PDPointF& p);
std::string Str(const PDQuadF& q);
std::string Str(const PDRectF& r);

} // namespace foliotest
