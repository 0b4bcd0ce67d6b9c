// What a ribbon control does to the current document view: mark up the text
// selected with the text tools at once, or make the markup tool the view's
// active tool. Shared by the markup group and the font group handlers.
#pragma once

#include <cstdint>
#include <functional>

#include "TextMarkupAnnot.h"
#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"

// The atoms a handler file resolves while the module loads, handed to the
// routines here.
struct RibbonAtoms {
    SLAtom annotInsert; // "Annot_Insert"
    SLAtom textEdit;    // the host's text tools, whose selections are marked up
    SLAtom textCopy;
    SLAtom markupTool; // "AddTextMarkupAnnot"
};

namespace RibbonMarkup {

constexpr uint64_t kNoPage = ~0ull;
constexpr SLAtom kNoTool = 0xFFFFFFFFu;

// Whether the view lets annotations be added to its document (a host that
// cannot say lets them).
bool MayAddAnnotations(ServiceObject* view);

// The view's active tool; kNoTool when the view does not say.
SLAtom ActiveTool(ServiceObject* view);

// The view's selection when one of the text tools made it and it holds
// text; empty otherwise.
SODetails::BasicServiceObjectPtr<> TextSelection(ServiceObject* view, const RibbonAtoms& atoms);

// The first and last selected pages (kNoPage when none). False when the
// selection cannot say: the operation is missing or fails.
bool SelectedPages(ServiceObject* selection, uint64_t* first, uint64_t* last);

// Inside one edit group of the view's document, an annotation of `kind`
// over the selected text of each page from `first` to `last` (none when
// first > last), each inserted with "Annot_Insert", then `afterInsert`.
// Returns how many were inserted; 0 when the view has no document. The
// edit group is closed also when a host call throws.
uint64_t MarkupPages(ServiceObject* view, uint32_t kind, MarkupColor color, uint64_t first,
                     uint64_t last, const RibbonAtoms& atoms,
                     const std::function<void()>& afterInsert);

// Ends the view's active tool, then makes a new markup tool of `kind` and
// `color` the active one. False when the business-logic service has no
// registry or the registry makes no tool: the active tool then stays ended.
bool InstallMarkupTool(ServiceObject* view, uint32_t kind, MarkupColor color,
                       const RibbonAtoms& atoms);

// Stores the colour as the kind's last colour (nothing for another kind).
void StoreLastColor(uint32_t kind, MarkupColor color);

} // namespace RibbonMarkup
