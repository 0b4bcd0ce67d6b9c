// The host's main frame ("UIMainFrame"): the top-level window that holds the
// ribbon and the document frames.
#pragma once

#include <cstdint>

#include "service-common/EventSlot.h"
#include "service-common/EventSubscription.h"
#include "service-common/ServiceObjectCall.h"

namespace UIMainFrameOps {
using SODetails::OperationSlot;
// The documents collection of the frame; *collection stays null while no
// document frame exists yet.
using GetDocumentsCollection = OperationSlot<0, uint32_t(ServiceObject** collection)>;
// The active document frame ("UIDocumentFrame"), or null.
using GetActiveDocumentFrame = OperationSlot<8, uint32_t(ServiceObject** frame)>;
// The frame's window ("UIWnd").
using GetWindow = OperationSlot<16, uint32_t(ServiceObject** window)>;
constexpr std::size_t kOperationCount = 232 / 8;
} // namespace UIMainFrameOps

namespace UIMainFrameEvents {
// (the new "UIDocumentFrame")
using OnChildDocumentFrameCreated = SOEvent::EventSlot<216, ServiceObject*>;
} // namespace UIMainFrameEvents

struct UIMainFrame {
    // The interface name; its sequence hash is the id windows are asked for.
    static constexpr const char* kName = "UIMainFrame";
    using EventSubscription_OnChildDocumentFrameCreated =
        SOEvent::EventSubscription<UIMainFrameEvents::OnChildDocumentFrameCreated>;
};
