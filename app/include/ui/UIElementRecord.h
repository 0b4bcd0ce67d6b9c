// The element a UI handler is attached to, with what it needs to act on it:
// the engine's element API and its window.
#pragma once

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/WeakRefPtr.h"
#include "ui-engine/UIElementApi.h"
#include "ui/UIElementSet.h"

namespace SOImpl {

class UIElementRecord {
public:
    // Keeps the element and a weak reference to the window; asks the window
    // for its root element when `element` is null, and for the element API.
    // Window operations that are missing are skipped; failing ones throw.
    void Bind(ServiceObject* window, HELEMENT element);
    void Reset();

    HELEMENT Element() const { return element_; }
    const UIElementApi* Api() const { return api_; }
    // The window while it lives (a new reference), else empty.
    SODetails::BasicServiceObjectPtr<> Window() const { return window_.Lock(); }

    // The attached element as a set, and any element of the same window.
    UIElementSet Elements(ServiceObject* errors) const { return ElementSet(element_, errors); }
    UIElementSet ElementSet(HELEMENT element, ServiceObject* errors) const {
        return UIElementSet::Of(element, api_, errors);
    }

private:
    HELEMENT element_ = nullptr;
    const UIElementApi* api_ = nullptr;
    SODetails::WeakRefPtr window_;
};

} // namespace SOImpl
