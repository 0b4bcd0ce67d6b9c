// The host's document, its pages and the annotation operation record.
#pragma once

#include <cstdint>

#include "folio.h"
#include "service-common/Atom.h"
#include "service-common/EventSlot.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObjectCall.h"

// What "Annot_Insert" and the other annotation operations receive.
struct AnnotOperationArgs {
    ServiceObject* document;
    uint64_t page;
    PDAnnot annot;
};

namespace BLDocumentOps {
using SODetails::OperationSlot;
using GetPage = OperationSlot<40, uint32_t(uint64_t page, ServiceObject** pageObject)>;
using GetPDDocument = OperationSlot<160, uint32_t(PDDocument* document)>;
using PerformAnnotOperation =
    OperationSlot<288, uint32_t(SLAtom operation, const AnnotOperationArgs* args, uint32_t flags)>;
using BeginEditGroup = OperationSlot<312, uint32_t()>;
using EndEditGroup = OperationSlot<320, uint32_t()>;
constexpr std::size_t kOperationCount = 520 / 8;
} // namespace BLDocumentOps

namespace BLDocumentEvents {
// (page, changed rectangles, rectangle count)
using OnPageContentChanged = SOEvent::EventSlot<504, uint64_t, const SL::RectF*, uint64_t>;
} // namespace BLDocumentEvents

// The page object that GetPage hands out.
namespace BLPageOps {
using SODetails::OperationSlot;
// A page handle that the caller releases with PDPageRelease.
using GetPDPage = OperationSlot<0, uint32_t(PDPage* page)>;
using BeginPageAccess = OperationSlot<24, uint32_t(uint32_t flags, uint64_t* token)>;
using EndPageAccess = OperationSlot<32, uint32_t()>;
constexpr std::size_t kOperationCount = 40 / 8;
} // namespace BLPageOps

// The subscriptions to the document's events.
#include "service-common/EventSubscription.h"

struct BLDocument {
    using EventSubscription_OnPageContentChanged =
        SOEvent::EventSubscription<BLDocumentEvents::OnPageContentChanged>;
};
