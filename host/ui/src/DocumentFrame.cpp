// "UIDocumentFrame": the window area that shows documents, with its
// documents collection.
#include "Objects.h"

namespace HostUIImpl {

namespace {

using Object = DocumentFrameInterface::Object;
constexpr const wchar_t* kWideName = DocumentFrameInterface::kWideName;

struct DocumentFrameOperations {
    static uint32_t QueryServiceObject(ServiceObject* self, uint32_t id, ServiceObject** out) {
        const DocumentFrameImpl& frame = Object::ImplOf(self);
        if (id == IdOf(CollectionInterface::kName))
            return HandOut(frame.collection, out, kWideName, L"QueryServiceObject");
        if (id == IdOf(WindowInterface::kName))
            return HandOut(frame.window, out, kWideName, L"QueryServiceObject");
        return HOST_OBJECT_REPORT(out && id ? kNotAvailable : kBadArgument, kWideName,
                                  L"QueryServiceObject");
    }
    static uint32_t GetWindow(ServiceObject* self, ServiceObject** out) {
        return HandOut(Object::ImplOf(self).window, out, kWideName, L"GetWindow");
    }
};

} // namespace

void DocumentFrameInterface::FillOperations(SODetails::Operation* ops) {
    using O = DocumentFrameOperations;
    SODetails::SetOperation<UIDocumentFrameOps::QueryServiceObject>(ops, &O::QueryServiceObject);
    SODetails::SetOperation<UIDocumentFrameOps::GetWindow>(ops, &O::GetWindow);
}

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

ObjectPtr CollectionOf(ServiceObject* documentFrame) {
    return ImplOf<DocumentFrameInterface>(documentFrame, "document frame").collection;
}

ObjectPtr WindowOfFrame(ServiceObject* frame) {
    if (MainFrameImpl* main = SODetails::ImplOrNull<MainFrameInterface>(frame))
        return main->window;
    return ImplOf<DocumentFrameInterface>(frame, "frame").window;
}

} // namespace HostUI
