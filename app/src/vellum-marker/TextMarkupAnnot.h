// Text markup annotations (Highlight, Underline, StrikeOut) made from quads
// of selected text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "folio.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObject.h"

// Alpha in bits 24 to 31; the colour channels below it in the host's layout.
using MarkupColor = uint32_t;

// The markup kind is the library's atom of the subtype name; all ones: none.
constexpr uint32_t kNoMarkupKind = 0xFFFFFFFFu;

// What PDAnnotCreate reads.
using TextMarkupAnnotParams = PDTextMarkupAnnotParams;

// The annotation rectangle of `count` >= 1 quads: each quad's box widened
// by caps of 0.2 x its height at the start and end sides, all united, then
// grown by 0.5 on every side.
SL::RectF TextMarkupAnnotRect(const SL::Quad* quads, std::size_t count);

// The fill opacity of the colour's alpha, rounded to hundredths.
float TextMarkupFillOpacity(MarkupColor color);

// A new annotation of kind `subtype` over the text selection of `view` on
// `page`, not yet inserted; the caller releases it with PDAnnotRelease.
// `out` is left as it was when the view has no document, no text selection
// ("TextEdit" or "TextCopy") with quads on the page, or the library fails.
// Failing host calls throw ServiceObjectException.
void CreateTextMarkupAnnot(ServiceObject* view, uint64_t page, uint32_t subtype, MarkupColor color,
                           PDAnnot* out);

// What the markup tool does with one page of a finished drag: creates an
// annotation of kind `subtype` and colour `color` over `quads` and inserts it
// into the view's document with "Annot_Insert". Throws "Not initialized"
// when the view has no document or the document no library handle. When no
// annotation can be made (no quads, or the library fails) a failure record
// is logged and nothing is thrown.
void InsertTextMarkupAnnot(ServiceObject* view, uint32_t subtype, MarkupColor color, uint64_t page,
                           const std::vector<SL::Quad>& quads);
