// "UIEngine": the window ("UIWnd") of a window handle.
#include "Objects.h"
#include "Services.h"
#include "ui/UIEngineService.h"

namespace HostUIImpl {

namespace {

struct UIEngineService {};

struct UIEngineServiceInterface
    : SODetails::InterfaceOf<UIEngineServiceInterface, UIEngineService,
                             UIEngineServiceOps::kOperationCount> {
    static constexpr const char* kName = "UIEngine";
    static constexpr const wchar_t* kWideName = L"UIEngine";

    static uint32_t GetWindow(ServiceObject*, uint64_t handle, ServiceObject** out) {
        if (!out)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"GetWindow");
        ObjectPtr window = HostUI::WindowOfHandle(handle);
        if (!window)
            return HOST_OBJECT_REPORT(kNotAvailable, kWideName, L"GetWindow");
        *out = window.Detach();
        return kOk;
    }
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIEngineServiceOps::GetWindow>(ops, &GetWindow);
    }
};

} // namespace

ServiceObject* NewUIEngineService() {
    return UIEngineServiceInterface::Object::New();
}

} // namespace HostUIImpl
