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

void UIElementRecord::Reset() {
    window_.Reset();
    element_ = nullptr;
    api_ = nullptr;
}

} // namespace SOImpl
