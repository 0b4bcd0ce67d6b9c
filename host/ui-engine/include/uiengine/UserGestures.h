// What a user does to the ribbon, as events on its elements: the one way a
// front end (a command line playing the user, a browser page) reaches the UI
// handlers.
//
// A popup belongs to the element it drops down from (its owner): the popup
// is the owner's first descendant "div.popup", so a split button's drop-down
// part and a font icon each hold their own popup. A gesture on a disabled
// element, or on one inside a disabled element, is refused and sends
// nothing, as a user cannot click what is greyed out.
#pragma once

#include <string>

#include "ui-engine/UIElementApi.h"
#include "uiengine/Export.h"

namespace UIEngine {

struct GestureResult {
    bool delivered = false; // false: refused, see `refusal`
    bool handled = false;   // a handler (or the engine) marked the event handled
    std::string refusal;
};

UIENGINE_API bool IsDisabledForUser(HELEMENT element);

// The owner's popup, or null.
UIENGINE_API HELEMENT PopupOf(HELEMENT owner);

// A click: UIEventCode::kClick with the element as target and source.
UIENGINE_API GestureResult Click(HELEMENT element);

// Opening the owner's popup: kPopupRequested, then kPopupShowing, each with
// the popup as target and the owner as source. Refused when the owner has no
// popup.
UIENGINE_API GestureResult OpenPopup(HELEMENT owner);

// Choosing a colour in a popup: kColorChosen with the popup as target and
// source and the colour text (lowercase hexadecimal AARRGGBB) as data.
UIENGINE_API GestureResult ChooseColor(HELEMENT popup, const std::wstring& colorText);

} // namespace UIEngine
