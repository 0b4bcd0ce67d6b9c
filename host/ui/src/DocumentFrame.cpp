// "UIDocumentFrame": the window area that shows documents, with its
// documents collection.
#include "Objects.h"

namespace HostUIImpl {

namespace {

using Object = DocumentFrameInterface::Object;
constexpr const wchar_t* kWideName = DocumentFrameInterface::kWideName;

struct DocumentFrameOperations {
    static uint32_t QueryServiceObject(ServiceObject* self, uint32_t id, ServiceObject** out) {
        if (!out || id == 0)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"QueryServiceObject");
        const DocumentFrameImpl& frame = Object::ImplOf(self);
        if (id == IdOf(CollectionInterface::kName)) {
            *out = ObjectPtr(frame.collection).Detach();
            return kOk;
        }
        if (id == IdOf(WindowInterface::kName)) {
            *out = ObjectPtr(frame.window).Detach();
            return kOk;
        }
        return HOST_OBJECT_REPORT(kNotAvailable, kWideName, L"QueryServiceObject");
    }
    static uint32_t GetWindow(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"GetWindow");
        *out = ObjectPtr(Object::ImplOf(self).window).Detach();
        return kOk;
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
