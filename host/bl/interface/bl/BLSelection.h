// The host's selection of a document view.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObjectCall.h"

namespace BLSelectionOps {
using SODetails::OperationSlot;
using GetType = OperationSlot<0, uint32_t(SLAtom* type)>;
// All-ones pages when nothing is selected.
using GetSelectedPages = OperationSlot<40, uint32_t(uint64_t* first, uint64_t* last)>;
using HasText = OperationSlot<160, uint32_t(uint32_t* hasText)>;
using GetQuadCount = OperationSlot<176, uint32_t(uint64_t page, uint64_t* count)>;
using GetQuads = OperationSlot<184, uint32_t(uint64_t page, SL::Quad* quads)>;
constexpr std::size_t kOperationCount = 192 / 8;
} // namespace BLSelectionOps
