#include "TestSupport.h"

#include <stdexcept>

namespace HostBLTest {

PDQuadF CharQuad(const PDRectF& crop, int index) {
    const float left = crop.x0 + 10 + 10.0f * index, top = crop.y1 - 30;
    return {{left, top}, {left + 10, top}, {left, top - 12}, {left + 10, top - 12}};
}

ObjectPtr MakeDocument(const std::vector<PageSpec>& pages) {
    PDDocument document = nullptr;
    if (FolioDocumentNewInMemory(&document) != kPDOk)
        throw std::runtime_error("no in-memory document");
    for (const PageSpec& spec : pages) {
        uint64_t index = 0;
        FolioMemoryAddPage(document, &spec.crop, spec.rotate, &index);
        for (int c = 0; c < spec.chars; ++c) {
            const wchar_t text[2] = {static_cast<wchar_t>(L'a' + c % 26), 0};
            const PDQuadF quad = CharQuad(spec.crop, c);
            FolioMemoryAddChar(document, index, text, &quad);
        }
    }
    ObjectPtr object = HostBL::WrapDocument(document);
    FolioDocumentRelease(document);
    return object;
}

} // namespace HostBLTest
