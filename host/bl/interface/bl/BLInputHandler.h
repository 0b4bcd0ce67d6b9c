// A business-logic tool ("BLInputHandler", 9 operations): the object a
// document view feeds with mouse input while the tool is active, the records
// it receives, and the factory ("BLInputHandlerFactory", 1 operation) that
// the business-logic service's input-handler registry keeps under the tool's
// name.
#pragma once

#include <cstddef>
#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObjectCall.h"

// What Initialize of the markup tool receives (8 bytes).
struct MarkupToolParams {
    uint32_t subtype; // the library's atom of "Highlight", "Underline" or "StrikeOut"
    uint32_t color;   // alpha in bits 24 to 31, the colour channels below
};

// A mouse event as the view hands it to its active tool. The tool reads
// these 16 bytes; a host may append fields of its own.
struct BLInputEvent {
    uint32_t type;
    uint32_t button;  // 0 the left button
    SL::PointI point; // device pixels of the view
};

namespace BLInputEventTypes {
constexpr uint32_t kButtonDown = 2;
constexpr uint32_t kButtonUp = 3;
constexpr uint32_t kMouseMove = 4;
constexpr uint32_t kLeftButton = 0;
// The host's button whose release ends the tool.
constexpr uint32_t kFinishButton = 1;
} // namespace BLInputEventTypes

static_assert(sizeof(MarkupToolParams) == 8, "MarkupToolParams is 8 bytes");
static_assert(sizeof(BLInputEvent) == 16, "the tool reads 16 bytes of an input event");

namespace BLInputHandlerOps {
using SODetails::OperationSlot;
using Initialize = OperationSlot<0, uint32_t(ServiceObject* view, const MarkupToolParams* params)>;
using Terminate = OperationSlot<8, uint32_t()>;
using GetToolName = OperationSlot<16, uint32_t(SLAtom* name)>;
using IsFinished = OperationSlot<24, uint32_t(bool* finished)>;
using HandleEvent = OperationSlot<32, uint32_t(const BLInputEvent* event, bool* handled)>;
using Removed = OperationSlot<40, uint32_t(bool* removed)>;
// The last three take an argument of the host's that this tool ignores.
using FocusAnnot = OperationSlot<48, uint32_t(const void* argument)>;
using RestoreSelection = OperationSlot<56, uint32_t(const void* argument)>;
using OnDeathrattle = OperationSlot<64, uint32_t(const void* argument)>;
constexpr std::size_t kOperationCount = 9;
} // namespace BLInputHandlerOps

namespace BLInputHandlerFactoryOps {
// A new tool object with one reference, which goes to the caller.
using CreateInputHandler = SODetails::OperationSlot<0, uint32_t(ServiceObject** handler)>;
constexpr std::size_t kOperationCount = 1;
} // namespace BLInputHandlerFactoryOps
