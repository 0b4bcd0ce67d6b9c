// The host's graphics factory (fixed atom 5), its paths and render targets.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObjectCall.h"

namespace GRFactoryOps {
using SODetails::OperationSlot;
constexpr SLAtom kFixedAtom = 5;
using CreatePath = OperationSlot<96, uint32_t(ServiceObject** path)>;
// The colour is a 32-bit value: alpha in the top byte, then red, green, blue.
using CreateSolidBrush = OperationSlot<136, uint32_t(uint32_t color, ServiceObject** brush)>;
constexpr std::size_t kOperationCount = 144 / 8;
} // namespace GRFactoryOps

// Paths are built in the page space of the page being drawn.
namespace GRPathOps {
using SODetails::OperationSlot;
using BeginFigure = OperationSlot<48, uint32_t(const SL::PointF* start)>;
using EndFigure = OperationSlot<64, uint32_t(uint32_t closed)>;
using AddLine = OperationSlot<72, uint32_t(const SL::PointF* to)>;
using AddRectangle = OperationSlot<96, uint32_t(const SL::RectF* rect)>;
constexpr std::size_t kOperationCount = 104 / 8;
} // namespace GRPathOps

namespace GRRenderTargetOps {
using FillGeometry =
    SODetails::OperationSlot<152, uint32_t(ServiceObject* path, ServiceObject* brush)>;
constexpr std::size_t kOperationCount = 160 / 8;
} // namespace GRRenderTargetOps
