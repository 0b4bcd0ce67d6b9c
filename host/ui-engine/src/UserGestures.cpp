#include "uiengine/UserGestures.h"

#include "uiengine/Elements.h"

namespace UIEngine {

namespace {

GestureResult Refused(std::string why) {
    GestureResult result;
    result.refusal = std::move(why);
    return result;
}

GestureResult Send(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data) {
    if (IsDisabledForUser(target))
        return Refused("the element is disabled");
    GestureResult result;
    result.delivered = true;
    result.handled = SendEvent(target, code, source, data);
    return result;
}

} // namespace

bool IsDisabledForUser(HELEMENT element) {
    for (HELEMENT e = element; e; e = Parent(e))
        if (State(e) & UIElementState::kDisabled)
            return true;
    return false;
}

HELEMENT PopupOf(HELEMENT owner) {
    return SelectFirst(owner, "div.popup");
}

GestureResult Click(HELEMENT element) {
    return Send(element, UIEventCode::kClick, element, 0);
}

GestureResult OpenPopup(HELEMENT owner) {
    HELEMENT popup = PopupOf(owner);
    if (!popup)
        return Refused("the element has no popup");
    if (IsDisabledForUser(owner))
        return Refused("the element is disabled");
    GestureResult requested = Send(popup, UIEventCode::kPopupRequested, owner, 0);
    GestureResult showing = Send(popup, UIEventCode::kPopupShowing, owner, 0);
    showing.handled = showing.handled || requested.handled;
    return showing;
}

GestureResult ChooseColor(HELEMENT popup, const std::wstring& colorText) {
    return Send(popup, UIEventCode::kColorChosen, popup,
                reinterpret_cast<uintptr_t>(colorText.c_str()));
}

} // namespace UIEngine
