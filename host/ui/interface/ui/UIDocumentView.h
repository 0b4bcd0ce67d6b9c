// A document's view as the host's UI holds it ("UIDocumentView"), and the
// side-by-side view that shows two documents at once ("UIDocumentViewSbS").
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace UIDocumentViewOps {
using SODetails::OperationSlot;
// A service object of the view by interface id: "BLDocumentView", the
// business-logic view that shows the document. One reference.
using QueryServiceObject = OperationSlot<0, uint32_t(uint32_t id, ServiceObject** out)>;
constexpr std::size_t kOperationCount = 1;
} // namespace UIDocumentViewOps

namespace UIDocumentViewSbSOps {
using SODetails::OperationSlot;
// Opens the document at `path` (wide, zero-terminated) in the side-by-side
// view.
using OpenDocument = OperationSlot<0, uint32_t(const wchar_t* path)>;
constexpr std::size_t kOperationCount = 1;
} // namespace UIDocumentViewSbSOps
