// The documents of a document frame ("UIDocumentsCollection"): their views,
// which one is active, the side-by-side view, and the events of their lives.
#pragma once

#include <cstdint>

#include "service-common/EventSlot.h"
#include "service-common/EventSubscription.h"
#include "service-common/ServiceObjectCall.h"

namespace UIDocumentsCollectionOps {
using SODetails::OperationSlot;
using HasActiveView = OperationSlot<0, uint32_t(bool* has)>;
// The active "UIDocumentView", one reference, or null.
using GetActiveView = OperationSlot<8, uint32_t(ServiceObject** view)>;
using IsSideBySideMode = OperationSlot<16, uint32_t(bool* sideBySide)>;
// The active "UIDocumentViewSbS", one reference, or null.
using GetActiveSbSView = OperationSlot<24, uint32_t(ServiceObject** view)>;
constexpr std::size_t kOperationCount = 320 / 8;
} // namespace UIDocumentsCollectionOps

// Views are passed without a reference for the handler.
namespace UIDocumentsCollectionEvents {
using SOEvent::EventSlot;
using OnDocumentViewCreated = EventSlot<72, ServiceObject*>;
using OnDocumentViewActivated = EventSlot<96, ServiceObject*>;
// (the view deactivated, the view activated next or null)
using OnDocumentViewDeactivated = EventSlot<120, ServiceObject*, ServiceObject*>;
// (the view, a flag a handler may set to keep it open)
using OnDocumentViewClose = EventSlot<144, ServiceObject*, bool*>;
using OnDocumentViewDestroyed = EventSlot<168, ServiceObject*>;
using OnSbSViewCreated = EventSlot<232, ServiceObject*>;
using OnSbSViewActivated = EventSlot<256, ServiceObject*>;
using OnSbSViewDeactivated = EventSlot<280, ServiceObject*>;
using OnSbSViewDestroyed = EventSlot<304, ServiceObject*>;
} // namespace UIDocumentsCollectionEvents

struct UIDocumentsCollection {
    // The interface name; its sequence hash is the id windows and frames are asked for.
    static constexpr const char* kName = "UIDocumentsCollection";
    template <class Slot> using Subscription = SOEvent::EventSubscription<Slot>;
    using EventSubscription_OnDocumentViewCreated = Subscription<UIDocumentsCollectionEvents::OnDocumentViewCreated>;
    using EventSubscription_OnDocumentViewActivated = Subscription<UIDocumentsCollectionEvents::OnDocumentViewActivated>;
    using EventSubscription_OnDocumentViewDeactivated = Subscription<UIDocumentsCollectionEvents::OnDocumentViewDeactivated>;
    using EventSubscription_OnDocumentViewClose = Subscription<UIDocumentsCollectionEvents::OnDocumentViewClose>;
    using EventSubscription_OnDocumentViewDestroyed = Subscription<UIDocumentsCollectionEvents::OnDocumentViewDestroyed>;
    using EventSubscription_OnSbSViewCreated = Subscription<UIDocumentsCollectionEvents::OnSbSViewCreated>;
    using EventSubscription_OnSbSViewActivated = Subscription<UIDocumentsCollectionEvents::OnSbSViewActivated>;
    using EventSubscription_OnSbSViewDeactivated = Subscription<UIDocumentsCollectionEvents::OnSbSViewDeactivated>;
    using EventSubscription_OnSbSViewDestroyed = Subscription<UIDocumentsCollectionEvents::OnSbSViewDestroyed>;
};
