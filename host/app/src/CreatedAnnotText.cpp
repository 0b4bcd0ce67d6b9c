#include "CreatedAnnotText.h"

#include <cstdio>

#include "PhraseSearch.h"
#include "service-common/TextConversion.h"

std::string SubtypeName(uint32_t subtype) {
    const char* name = nullptr;
    return PDAtomGetString(subtype, &name) == kPDOk && name ? name : "?";
}

std::string AnnotLine(const CreatedAnnot& annot) {
    const PDRectF& r = annot.info.rect;
    char head[128];
    std::snprintf(head, sizeof head, "page %llu  %-9s  rect [%.2f %.2f %.2f %.2f]  ",
                  static_cast<unsigned long long>(annot.page + 1),
                  SubtypeName(annot.info.subtype).c_str(), r.x0, r.y0, r.x1, r.y1);
    return head + ("\"" + SLText::ToNarrow(NormalisedText(annot.text)) + "\"");
}
