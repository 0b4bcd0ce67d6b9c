// "UIDocumentView": a document's view as the host's UI holds it, over the
// business-logic view that shows the document.
#include "Objects.h"

namespace HostUIImpl {

namespace {

using Object = DocumentViewInterface::Object;
constexpr const wchar_t* kWideName = DocumentViewInterface::kWideName;

struct DocumentViewOperations {
    static uint32_t QueryServiceObject(ServiceObject* self, uint32_t id, ServiceObject** out) {
        if (!out || id == 0)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"QueryServiceObject");
        const ObjectPtr& blView = Object::ImplOf(self).blView;
        if (!blView || blView->interfaceId != id)
            return HOST_OBJECT_REPORT(kNotAvailable, kWideName, L"QueryServiceObject");
        *out = ObjectPtr(blView).Detach();
        return kOk;
    }
};

} // namespace

void DocumentViewInterface::FillOperations(SODetails::Operation* ops) {
    SODetails::SetOperation<UIDocumentViewOps::QueryServiceObject>(
        ops, &DocumentViewOperations::QueryServiceObject);
}

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

ObjectPtr CreateDocumentView(ServiceObject* blView) {
    if (!blView || blView->interfaceId != IdOf("BLDocumentView"))
        throw std::invalid_argument("a document view shows a \"BLDocumentView\"");
    return ObjectPtr::Adopt(DocumentViewInterface::Object::New(ObjectPtr::Share(blView)));
}

ObjectPtr BLViewOf(ServiceObject* documentView) {
    return ImplOf<DocumentViewInterface>(documentView, "document view").blView;
}

} // namespace HostUI
