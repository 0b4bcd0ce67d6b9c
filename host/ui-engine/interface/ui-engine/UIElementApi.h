// The UI engine's element API: the flat function table through which a UI
// handler reads and changes the elements of the window it is attached to.
//
// A window hands out one pointer to this table ("get element API"); the
// table is static and lives as long as the engine's module. Every entry is
// a plain function whose result is a service-object result code:
//   kOk            done;
//   kBadArgument   a required pointer is null;
//   kBadSelector   the selector text is not one the engine understands
//                  (an error, never a silent "nothing matched");
//   kStaleElement  the element handle is not a live element of the engine:
//                  an element of a window that has been destroyed, or a
//                  value the engine never handed out. It is never
//                  dereferenced.
// A failing entry also records the failure for the calling thread, as every
// service-object operation does, so the window's GetErrorInfo describes it.
//
// Element handles (HELEMENT) are opaque. A null handle is never an element.
//
// Entries may be called on any thread (the engine serialises them), but
// SendEvent calls the handlers on the calling thread: the host's own calls
// come on its UI thread. No lock of the engine is held while a handler runs,
// so a handler may call any entry while it handles an event.
//
// Selectors: type (div), universal (*), #id, .class, [attr] and
// [attr=value] (value bare or in double quotes), compound selectors of those
// (div.split-button), the descendant (div .icon) and child (div > span)
// combinators, and selector lists (a, b). Type names are matched without
// regard to case, ids, classes and attribute values exactly. A selector is
// matched against the whole window, so "div .x" selected from an element
// also finds .x elements whose div ancestor lies above that element.
//
// The table grows by appending entries; `size` says how many bytes of it the
// engine provides. Call an entry only when UI_ELEMENT_API_HAS says so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "service-common/ErrorReporting.h"

typedef void* HELEMENT;

// Called for each element of a selection, in document order. A non-zero
// answer stops the walk early.
typedef uint32_t (*UIElementVisitor)(void* context, HELEMENT element);

// Receives an element's text: `length` wide characters, followed by a zero.
// The text is valid for the duration of the call.
typedef void (*UITextReceiver)(void* context, const wchar_t* text, uint32_t length);

struct UIElementApi {
    uint32_t size;    // bytes of this table that the engine provides
    uint32_t version; // 1

    // The descendants of `from` (not `from` itself) that match `selector`,
    // in document order, each passed to `visit`.
    uint32_t (*SelectElements)(HELEMENT from, const char* selector, UIElementVisitor visit,
                               void* context);

    // *matches = 1 when `element` matches `selector`, else 0.
    uint32_t (*MatchesSelector)(HELEMENT element, const char* selector, uint32_t* matches);

    // The nearest element matching `selector` among `element` and its
    // ancestors, looking at no more than `depth` elements, the element
    // itself counted first (depth 0: no limit). *found = 0 when none does.
    uint32_t (*FindNearestAncestor)(HELEMENT element, const char* selector, uint32_t depth,
                                    HELEMENT* found);

    // *parent = the element's parent, 0 for the window's root element.
    uint32_t (*GetParent)(HELEMENT element, HELEMENT* parent);

    // *state = the element's state bits (UIElementState).
    uint32_t (*GetState)(HELEMENT element, uint32_t* state);

    // state = (state & ~clearBits) | setBits. Bits the engine has no meaning
    // for are kept as given. With `updateNow` non-zero the change is shown
    // at once rather than with the window's next repaint.
    uint32_t (*SetState)(HELEMENT element, uint32_t setBits, uint32_t clearBits,
                         uint32_t updateNow);

    // Sends event `code` to `target`, with `source` (0 for none) and a
    // pointer-sized `data` value (a parameter record or a text, by code).
    // The event goes to the UI handler attached to the target, or to its
    // nearest ancestor that has one, then on up through the handlers of the
    // ancestors until one marks it handled. *handled (when not null)
    // receives 1 when a handler, or the engine itself, handled it. A handler
    // that fails ends the walk, and its code is the result.
    // The engine itself handles UIEventCode::kColorPopupRequest (below).
    uint32_t (*SendEvent)(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data,
                          uint32_t* handled);

    // The element's own text: what lies directly inside it, outside its
    // child elements (white space runs folded to one blank and trimmed), or
    // the text last set.
    uint32_t (*GetText)(HELEMENT element, UITextReceiver receive, void* context);

    // Replaces the element's own text; its child elements stay.
    uint32_t (*SetText)(HELEMENT element, const wchar_t* text);
};

// Whether `api` provides entry `Entry` (a member name of UIElementApi).
#define UI_ELEMENT_API_HAS(api, Entry)                                                             \
    ((api) != nullptr && (api)->size >= offsetof(UIElementApi, Entry) + sizeof((api)->Entry) &&    \
     (api)->Entry != nullptr)

static_assert(offsetof(UIElementApi, SelectElements) == 8, "entries start at byte 8");
static_assert(offsetof(UIElementApi, SetText) == 72 && sizeof(UIElementApi) == 80,
              "nine entries, 8 bytes apart");

namespace UIElementState {
constexpr uint32_t kChecked = 0x40;
constexpr uint32_t kDisabled = 0x80;
} // namespace UIElementState

// The event codes of the ribbon's controls.
namespace UIEventCode {
constexpr uint32_t kClick = 0;                // target and source: the clicked element
constexpr uint32_t kPopupRequested = 7;       // target: the popup; source: its owner
constexpr uint32_t kColorChosen = 1025;       // target and source: the popup; data: colour text
constexpr uint32_t kColorPopupRequest = 1026; // to a popup; data: UIColorPopupRequest*
constexpr uint32_t kPopupShowing = 32775;     // target: the popup; source: its owner
} // namespace UIEventCode

// What a handler sends with kColorPopupRequest to a colour popup: the colour
// the popup should show as current. The engine keeps the last request each
// element received, for the window to show.
struct UIColorPopupRequest {
    const wchar_t* colorText; // lowercase hexadecimal AARRGGBB; empty: no current colour
    uint8_t allowCustom;      // non-zero: offer a colour outside the grid
    uint8_t markCurrent;      // non-zero: mark the current colour in the grid
    const float* opacity;     // the opacity to show (0 to 1), or null for none
    uintptr_t reserved;       // 0
};
static_assert(offsetof(UIColorPopupRequest, allowCustom) == 8 &&
                  offsetof(UIColorPopupRequest, markCurrent) == 9 &&
                  offsetof(UIColorPopupRequest, opacity) == 16 && sizeof(UIColorPopupRequest) == 32,
              "colour popup request layout");
