// A window of the host's UI ("UIWnd"): a top-level frame or a document frame
// with its element tree. UI handlers receive their window on Attached; the
// host's "UIEngine" service gives the window of a window handle.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"
#include "ui-engine/UIElementApi.h"

namespace UIWndOps {
using SODetails::OperationSlot;

// The window's "UIDispatcher" (ui-engine/UIDispatcher.h), one reference.
using GetDispatcher = OperationSlot<0, uint32_t(ServiceObject** dispatcher)>;
// The root element of the window's element tree.
using GetRootElement = OperationSlot<8, uint32_t(HELEMENT* root)>;
// The engine's element API; a static table, valid while the engine's module
// is loaded.
using GetElementApi = OperationSlot<16, uint32_t(const UIElementApi** api)>;
// A service object of the window, by interface id (CalculateSequenceHash of
// the interface name): the frame objects it belongs to ("UIMainFrame",
// "UIDocumentsCollection", ...). With kForward in `flags` a window that has
// no such object asks the window it belongs to. On failure the result is a
// failure code and, when `errorRecord` is not null, *errorRecord receives
// the address of the calling thread's live error record that describes it
// (the 128-byte record of ServiceObjectException), or null.
using QueryServiceObject = OperationSlot<24, uint32_t(uint32_t id, uint32_t flags,
                                                      ServiceObject** out, void** errorRecord)>;
// *valid = true while the window exists: a closed window stays a valid
// service object but answers false, and its handle is no window any more.
using IsValid = OperationSlot<32, uint32_t(bool* valid)>;
// The window's handle, the value a window check (IsWindow) recognises.
using GetHandle = OperationSlot<40, uint32_t(uint64_t* handle)>;
constexpr std::size_t kOperationCount = 6;

// Flags of QueryServiceObject.
constexpr uint32_t kForward = 1;
} // namespace UIWndOps
