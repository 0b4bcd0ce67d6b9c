#include "FolioChecks.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace foliotest {

std::wstring ReadText(PDPage page, std::vector<PDQuadF>* quads) {
    PDPageText text = nullptr;
    if (PDPageLoadPageText(page, &text) != kPDOk)
        return L"<no text>";
    std::wstring all;
    uint64_t count = 0, length = 0;
    PDPageTextGetNumChars(text, &count);
    for (uint64_t i = 0; i < count; ++i) {
        wchar_t units[8];
        PDQuadF q{};
        PDPageTextGetCharUnicode(text, i, units, 8, &length);
        PDPageTextGetCharQuad(text, i, &q);
        all.append(units, length);
        if (quads)
            quads->push_back(q);
    }
    PDPageTextRelease(text);
    return all;
}

std::optional<uint64_t> AnnotsOn(PDDocument document, uint64_t index) {
    PDPage page = nullptr;
    if (FolioDocumentLoadPage(document, index, &page) != kPDOk)
        return std::nullopt;
    const std::optional<uint64_t> count = Got<uint64_t>(FolioPageCountAnnots, page);
    PDPageRelease(page);
    return count;
}

std::string Written(PDDocument document, uint32_t flags, PDResult* result) {
    std::string bytes;
    const FolioWriter writer{&bytes, [](void* context, const void* data, size_t size) {
                                 static_cast<std::string*>(context)->append(
                                     static_cast<const char*>(data), size);
                                 return PDResult(kPDOk);
                             }};
    *result = FolioDocumentWrite(document, &writer, flags);
    return bytes;
}

PDResult AddMarkup(PDDocument document, PDPage page, uint32_t subtype,
                   const std::vector<PDQuadF>& quads, uint32_t color, float opacity,
                   const wchar_t* author) {
    const float far = std::numeric_limits<float>::max();
    PDRectF r{far, far, -far, -far};
    for (const PDQuadF& q : quads)
        for (const PDPointF& p : {q.p0, q.p1, q.p2, q.p3})
            r = {std::min(r.x0, p.x - 1), std::min(r.y0, p.y - 1), std::max(r.x1, p.x + 1),
                 std::max(r.y1, p.y + 1)};
    PDTextMarkupAnnotParams params{r, quads.data(), quads.size(), color, 0, author};
    PDAnnot annot = nullptr;
    PDResult result = PDAnnotCreate(document, subtype, &params, &annot);
    if (result == kPDOk && (result = PDAnnotSetFillOpacity(annot, opacity)) == kPDOk)
        result = FolioPageInsertAnnot(page, annot);
    if (annot)
        PDAnnotRelease(annot);
    return result;
}

std::string Str(const PDPointF& p) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.2f %.2f)", p.x, p.y);
    return text;
}

std::string Str(const PDQuadF& q) {
    return Str(q.p0) + Str(q.p1) + Str(q.p2) + Str(q.p3);
}

std::string Str(const PDRectF& r) {
    return Str(PDPointF{r.x0, r.y0}) + Str(PDPointF{r.x1, r.y1});
}

} // namespace foliotest
