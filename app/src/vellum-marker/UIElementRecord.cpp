#include "ui/UIElementRecord.h"

#include "ui/UIWnd.h"

namespace SOImpl {

void UIElementRecord::Bind(ServiceObject* window, HELEMENT element) {
    element_ = element;
    window_ = SODetails::WeakRefPtr::Of(window);
    if (!element_)
        SODetails::CallChecked<UIWndOps::GetRootElement>(window, &element_);
    const UIElementApi* api = nullptr;
    SODetails::CallChecked<UIWndOps::GetElementApi>(window, &api);
    api_ = api;
}

bool UIElementRecord::IsValid() const {
    if (!element_ || !api_)
        return false;
    const SODetails::BasicServiceObjectPtr<> window = Window();
    bool valid = false;
    return window && SODetails::CallChecked<UIWndOps::IsValid>(window.get(), &valid) && valid;
}

void UIElementRecord::Reset() {
    window_.Reset();
    element_ = nullptr;
    api_ = nullptr;
}

} // namespace SOImpl
