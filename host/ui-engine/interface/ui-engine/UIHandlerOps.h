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
using QueryServiceObject =
    OperationSlot<0, uint32_t(uint32_t id, ServiceObject** out, uint8_t forward, uint8_t flags)>;
using GetHandlerName = OperationSlot<8, uint32_t(const char** name)>;
using GetElementAttachedTo = OperationSlot<16, uint32_t(HELEMENT* element)>;
using GetSubscribedEvents = OperationSlot<24, uint32_t(uint32_t* events)>;
using HandleEvent =
    OperationSlot<104, uint32_t(uint32_t* handled, HELEMENT element, const UIEventRecord* event)>;
using Attached = OperationSlot<136, uint32_t(ServiceObject* window, HELEMENT element)>;
using Detached = OperationSlot<144, uint32_t()>;
constexpr std::size_t kOperationCount = 23;
// What GetSubscribedEvents answers for every handler of this module.
constexpr uint32_t kSubscribedEvents = 0x100;
} // namespace UIHandlerOps

