// The host's side of the element API: the same operations as the flat
// table that UI handlers receive (ui-engine/UIElementApi.h), for the host's
// own code, with failures thrown instead of returned:
//   std::invalid_argument  a null, stale or foreign element handle, or a
//                          selector the engine does not understand (the
//                          message says where it went wrong);
//   ServiceObjectException a UI handler failed while handling an event (as
//                          the handler recorded it).
// Handles work across every element tree of the process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service-common/BasicServiceObjectPtr.h"
#include "ui-engine/UIElementApi.h"
#include "uiengine/Export.h"

namespace UIEngine {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// The last colour popup request an element received (UIColorPopupRequest,
// with its texts copied).
struct ColorPopupRecord {
    std::wstring colorText;
    uint8_t allowCustom = 0;
    uint8_t markCurrent = 0;
    std::optional<float> opacity;
    uint64_t received = 0; // how many requests the element has received
};

// A snapshot of one element.
struct ElementInfo {
    uint32_t index = 0; // position in document order; the root is 0
    std::string tag;    // lower case
    std::string id;
    std::vector<std::string> classes;
    std::vector<std::pair<std::string, std::string>> attributes; // as written, less
                                                                 // checked and disabled
    std::wstring text;
    uint32_t state = 0;
    HELEMENT parent = nullptr;
    uint64_t revision = 0; // the tree's revision at the element's last change
    bool hasHandler = false;
    std::optional<ColorPopupRecord> popupRequest;
};

UIENGINE_API std::vector<HELEMENT> Select(HELEMENT from, const std::string& selector);
// The first of Select, or null.
UIENGINE_API HELEMENT SelectFirst(HELEMENT from, const std::string& selector);
UIENGINE_API bool Matches(HELEMENT element, const std::string& selector);
// Null when no element within `depth` matches (0: no limit).
UIENGINE_API HELEMENT FindNearest(HELEMENT element, const std::string& selector, uint32_t depth);
UIENGINE_API HELEMENT Parent(HELEMENT element);

UIENGINE_API uint32_t State(HELEMENT element);
UIENGINE_API void SetState(HELEMENT element, uint32_t setBits, uint32_t clearBits,
                           bool updateNow = true);
UIENGINE_API std::wstring Text(HELEMENT element);
UIENGINE_API void SetText(HELEMENT element, const std::wstring& text);
UIENGINE_API std::optional<std::string> Attribute(HELEMENT element, const std::string& name);

// Sends an event as the flat SendEvent does; whether it was handled.
UIENGINE_API bool SendEvent(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data);

UIENGINE_API ElementInfo Describe(HELEMENT element);
// Whether the handle names a live element (never throws).
UIENGINE_API bool IsLive(HELEMENT element);

// Attaches a "UIHandler" service object to an element, taking a reference,
// and calls its Attached(window, element). A handler the element already
// has is detached first, and so is this handler from any other element: a
// handler serves one element at a time. When Attached fails, the handler is
// taken off again and the failure thrown.
UIENGINE_API void AttachHandler(HELEMENT element, ServiceObject* handler, ServiceObject* window);
// Calls the element's handler's Detached and lets it go; nothing without one.
UIENGINE_API void DetachHandler(HELEMENT element);
// The element's handler (a new reference), or null.
UIENGINE_API ObjectPtr HandlerOf(HELEMENT element);

} // namespace UIEngine
