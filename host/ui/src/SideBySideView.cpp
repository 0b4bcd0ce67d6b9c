// "UIDocumentViewSbS": the view that shows two documents side by side, each
// in a business-logic view of its own.
#include "Objects.h"
#include "hostbl/HostBL.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"

namespace HostUIImpl {

namespace {

struct SideBySideImpl {
    SideBySideImpl(int32_t w, int32_t h, float z) : width(w), height(h), zoom(z) {}
    const int32_t width, height;
    const float zoom;
    std::mutex mutex; // guards views
    std::vector<ObjectPtr> views;
};

struct SideBySideInterface
    : SODetails::InterfaceOf<SideBySideInterface, SideBySideImpl,
                             UIDocumentViewSbSOps::kOperationCount> {
    static constexpr const char* kName = "UIDocumentViewSbS";
    static constexpr const wchar_t* kWideName = L"UIDocumentViewSbS";
    static constexpr std::size_t kShown = 2;

    // A document that cannot be opened is reported with the reason.
    static uint32_t OpenDocument(ServiceObject* self, const wchar_t* path) {
        if (!path || !*path)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"OpenDocument");
        SideBySideImpl& sbs = Object::ImplOf(self);
        ObjectPtr view;
        try {
            const ObjectPtr document = HostBL::OpenDocument(SLText::ToNarrow(path));
            view = HostBL::CreateView(document.get(), sbs.width, sbs.height, sbs.zoom);
        } catch (const std::exception& e) {
            ReportFailure(ServiceObjectException(kNotAvailable, SLText::ToWide(e.what()),
                                                 __PRETTY_FUNCTION__, __FILE__, __LINE__));
            return kNotAvailable;
        }
        std::lock_guard<std::mutex> lock(sbs.mutex);
        if (sbs.views.size() == kShown)
            sbs.views.back() = std::move(view);
        else
            sbs.views.push_back(std::move(view));
        return kOk;
    }

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIDocumentViewSbSOps::OpenDocument>(ops, &OpenDocument);
    }
};

} // namespace

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

ObjectPtr CreateSideBySideView(int32_t viewportWidth, int32_t viewportHeight, float zoom) {
    if (viewportWidth <= 0 || viewportHeight <= 0 || !(zoom > 0))
        throw std::invalid_argument("a side-by-side view needs a positive viewport and zoom");
    return ObjectPtr::Adopt(SideBySideInterface::Object::New(viewportWidth, viewportHeight, zoom));
}

std::vector<ObjectPtr> SideBySideViews(ServiceObject* sbsView) {
    SideBySideImpl& sbs = ImplOf<SideBySideInterface>(sbsView, "side-by-side view");
    std::lock_guard<std::mutex> lock(sbs.mutex);
    return sbs.views;
}

} // namespace HostUI
