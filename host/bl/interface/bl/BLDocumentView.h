// The host's document view: one document shown at a zoom and scroll position.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/EventSlot.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObjectCall.h"

struct _BLPageRange;
struct PDPageRange;
struct BLScrollState;
using BLDrawPageLayerType = uint32_t;
using BLZoomType = uint32_t;
using BLScrollBarType = uint32_t;
using PDPageOperation = uint32_t;

namespace BLDocumentViewOps {
using SODetails::OperationSlot;
constexpr uint64_t kNoPage = ~0ull;

using GetDocument = OperationSlot<24, uint32_t(ServiceObject** document)>;
using PageFromPoint = OperationSlot<264, uint32_t(const SL::PointI* point, uint64_t* page)>;
using DeviceToPage =
    OperationSlot<272, uint32_t(uint64_t page, const SL::PointI* point, SL::PointF* out)>;
using PageToDevice =
    OperationSlot<280, uint32_t(uint64_t page, const SL::PointF* point, SL::PointI* out)>;
using DeviceRectToPage =
    OperationSlot<288, uint32_t(uint64_t page, const SL::RectI* rect, SL::RectF* out)>;
using PageRectToDevice =
    OperationSlot<296, uint32_t(uint64_t page, const SL::RectF* rect, SL::RectI* out)>;
using EndActiveTool = OperationSlot<392, uint32_t(bool force)>;
using GetSelection = OperationSlot<408, uint32_t(ServiceObject** selection)>;
using GetActiveTool = OperationSlot<856, uint32_t(SLAtom* tool)>;
using Invalidate = OperationSlot<976, uint32_t()>;
// Positions of our own host, after the last event entry.
// The view's state bits (BLViewState).
using GetViewState = OperationSlot<1480, uint32_t(uint32_t* state)>;
// Whether the view lets `action` be done to `subject` (BLViewOperation);
// the two flags are the caller's and this host does not examine them.
using IsOperationAllowed = OperationSlot<1488, uint32_t(uint32_t subject, uint32_t action, bool a,
                                                        bool b, bool* allowed)>;
using SetActiveTool = OperationSlot<1496, uint32_t(SLAtom tool, ServiceObject* handler)>;
constexpr std::size_t kOperationCount = 1504 / 8;
} // namespace BLDocumentViewOps

namespace BLViewState {
// The view shows its document read-only: the markup controls are disabled.
constexpr uint32_t kReadOnly = 1;
} // namespace BLViewState

// What IsOperationAllowed is asked about.
namespace BLViewOperation {
constexpr uint32_t kAnnotations = 3;
constexpr uint32_t kAdd = 4;
} // namespace BLViewOperation

namespace BLDocumentViewEvents {
using SOEvent::EventSlot;
using OnLayoutChanged = EventSlot<64, SLAtom>;
using OnFocusPageChanged = EventSlot<176, uint64_t>;
using OnVisibleRangeChanged = EventSlot<216, const _BLPageRange*>;
using OnPagesChanged = EventSlot<240, PDPageOperation, const PDPageRange*>;
using OnZoomChanged = EventSlot<360, BLZoomType, float>;
using OnSelectionChanged = EventSlot<432, ServiceObject*>;
using OnAvailableOperationsChanged = EventSlot<456, uint32_t>;
using OnActiveToolChanged = EventSlot<888, SLAtom>;
// (layer, page, render target with one reference that the handler releases)
using OnDrawPageView = EventSlot<1088, BLDrawPageLayerType, uint64_t, ServiceObject*>;
using OnScrollChanged = EventSlot<1168, BLScrollBarType, const BLScrollState*>;
using OnViewRulerStateChanged = EventSlot<1328, bool>;
using OnViewGridStateChanged = EventSlot<1352, bool>;
using OnLockedStateChanged = EventSlot<1376, uint32_t>;
using OnViewStateChanged = EventSlot<1464, uint32_t>;
} // namespace BLDocumentViewEvents

// The subscriptions to the view's events.
#include "service-common/EventSubscription.h"

struct BLDocumentView {
    // The interface name; its sequence hash is the id a UI document view is asked for.
    static constexpr const char* kName = "BLDocumentView";
    template <class Slot> using Subscription = SOEvent::EventSubscription<Slot>;
    using EventSubscription_OnLayoutChanged = Subscription<BLDocumentViewEvents::OnLayoutChanged>;
    using EventSubscription_OnFocusPageChanged =
        Subscription<BLDocumentViewEvents::OnFocusPageChanged>;
    using EventSubscription_OnVisibleRangeChanged =
        Subscription<BLDocumentViewEvents::OnVisibleRangeChanged>;
    using EventSubscription_OnPagesChanged = Subscription<BLDocumentViewEvents::OnPagesChanged>;
    using EventSubscription_OnZoomChanged = Subscription<BLDocumentViewEvents::OnZoomChanged>;
    using EventSubscription_OnSelectionChanged =
        Subscription<BLDocumentViewEvents::OnSelectionChanged>;
    using EventSubscription_OnAvailableOperationsChanged =
        Subscription<BLDocumentViewEvents::OnAvailableOperationsChanged>;
    using EventSubscription_OnActiveToolChanged =
        Subscription<BLDocumentViewEvents::OnActiveToolChanged>;
    using EventSubscription_OnDrawPageView = Subscription<BLDocumentViewEvents::OnDrawPageView>;
    using EventSubscription_OnScrollChanged = Subscription<BLDocumentViewEvents::OnScrollChanged>;
    using EventSubscription_OnViewRulerStateChanged =
        Subscription<BLDocumentViewEvents::OnViewRulerStateChanged>;
    using EventSubscription_OnViewGridStateChanged =
        Subscription<BLDocumentViewEvents::OnViewGridStateChanged>;
    using EventSubscription_OnLockedStateChanged =
        Subscription<BLDocumentViewEvents::OnLockedStateChanged>;
    using EventSubscription_OnViewStateChanged =
        Subscription<BLDocumentViewEvents::OnViewStateChanged>;
};
