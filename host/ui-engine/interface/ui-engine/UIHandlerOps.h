// The UI engine's handler interface ("UIHandler", 23 operations): what the
// engine calls on the handler attached to an element. The engine's side and
// the handlers' side build on this header.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"
#include "ui-engine/UIElementApi.h"

// The record HandleEvent receives.
struct UIEventRecord {
    uint32_t code;
    HELEMENT target;
    HELEMENT source;
    uintptr_t data;
};

namespace UIHandlerOps {
using SODetails::OperationSlot;

// The engine's input notifications other than HandleEvent: (handled flag,
// the handler's element, the engine's parameter record of that kind). A
// handler that does not take one answers kDeclined and the engine goes on
// as if no handler were there.
using InputSignature = uint32_t(uint32_t* handled, HELEMENT element, const void* params);
// The window's life notifications.
using NoticeSignature = uint32_t();

using QueryServiceObject =
    OperationSlot<0, uint32_t(uint32_t id, ServiceObject** out, uint8_t forward, uint8_t flags)>;
using GetHandlerName = OperationSlot<8, uint32_t(const char** name)>;
using GetElementAttachedTo = OperationSlot<16, uint32_t(HELEMENT* element)>;
using GetSubscribedEvents = OperationSlot<24, uint32_t(uint32_t* events)>;
using HandleMouse = OperationSlot<32, InputSignature>;
using HandleKey = OperationSlot<40, InputSignature>;
using HandleFocus = OperationSlot<48, InputSignature>;
using HandleTimer = OperationSlot<56, InputSignature>;
using HandleSize = OperationSlot<64, InputSignature>;
using HandleScroll = OperationSlot<72, InputSignature>;
using HandleDraw = OperationSlot<80, InputSignature>;
using HandleMethodCall = OperationSlot<88, InputSignature>;
using HandleScriptCall = OperationSlot<96, InputSignature>;
using HandleEvent =
    OperationSlot<104, uint32_t(uint32_t* handled, HELEMENT element, const UIEventRecord* event)>;
using HandleDataArrived = OperationSlot<112, InputSignature>;
using HandleGesture = OperationSlot<120, InputSignature>;
using HandleExchange = OperationSlot<128, InputSignature>;
using Attached = OperationSlot<136, uint32_t(ServiceObject* window, HELEMENT element)>;
using Detached = OperationSlot<144, uint32_t()>;
using OnDocumentComplete = OperationSlot<152, NoticeSignature>;
using OnInplacePluginsInitialized = OperationSlot<160, NoticeSignature>;
using OnInitComplete = OperationSlot<168, NoticeSignature>;
using OnLocaleChanged = OperationSlot<176, NoticeSignature>;
constexpr std::size_t kOperationCount = 23;
static_assert(OnLocaleChanged::kIndex + 1 == kOperationCount,
              "the table ends with OnLocaleChanged");

// What GetSubscribedEvents answers for every handler of this module.
constexpr uint32_t kSubscribedEvents = 0x100;
} // namespace UIHandlerOps
