#include "HostBLProbes.h"

namespace HostBLTest {

PDQuadF CharQuad(const PDRectF& crop, int index) {
    const float left = crop.x0 + 10 + 10.0f * index, top = crop.y1 - 30;
    return testsupport::FolioBox(left, top - 12, left + 10, top);
}

ObjectPtr MakeDocument(const std::vector<PageSpec>& pages) {
    const testsupport::Document document = testsupport::InMemory(0);
    for (const PageSpec& spec : pages) {
        uint64_t index = 0;
        FolioMemoryAddPage(document.get(), &spec.crop, spec.rotate, &index);
        for (int c = 0; c < spec.chars; ++c) {
            const wchar_t text[2] = {static_cast<wchar_t>(L'a' + c % 26), 0};
            const PDQuadF quad = CharQuad(spec.crop, c);
            FolioMemoryAddChar(document.get(), index, text, &quad);
        }
    }
    return HostBL::WrapDocument(document.get());
}

bool AnnotationsAllowed(ServiceObject* view) {
    bool allowed = true;
    SODetails::CallChecked<BLDocumentViewOps::IsOperationAllowed>(
        view, BLViewOperation::kAnnotations, BLViewOperation::kAdd, true, false, &allowed);
    return allowed;
}

uint32_t ViewState(ServiceObject* view) {
    uint32_t state = ~0u;
    SODetails::CallChecked<BLDocumentViewOps::GetViewState>(view, &state);
    return state;
}

} // namespace HostBLTest
