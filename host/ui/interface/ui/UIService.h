// The host's "UIService" (its UI action registry, the UI object of a
// thread), and the ribbon bar object that the ribbon notifications come
// from.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/ServiceObjectCall.h"

namespace UIServiceOps {
using GetUIActionRegistry = SODetails::OperationSlot<8, uint32_t(ServiceObject** registry)>;
// The UI object of the thread with this id (the host's application object
// that runs its windows on that thread), one reference; null for a thread
// that runs no windows.
using GetThreadUIObject =
    SODetails::OperationSlot<16, uint32_t(uint32_t threadId, ServiceObject** uiObject)>;
constexpr std::size_t kOperationCount = 3;
} // namespace UIServiceOps

// The UI object of a thread.
namespace UIThreadObjectOps {
// Its main frame ("UIMainFrame"), one reference, or null.
using GetMainFrame = SODetails::OperationSlot<0, uint32_t(ServiceObject** mainFrame)>;
constexpr std::size_t kOperationCount = 1;
} // namespace UIThreadObjectOps

namespace UIActionRegistryOps {
using UIActionFactory = uint32_t (*)(ServiceObject** out);
using Register = SODetails::OperationSlot<0, uint32_t(SLAtom action, UIActionFactory factory)>;
// The host's side: the registered actions, by index (2 past the end).
using GetAction =
    SODetails::OperationSlot<8, uint32_t(uint64_t index, SLAtom* action, UIActionFactory* factory)>;
constexpr std::size_t kOperationCount = 2;
} // namespace UIActionRegistryOps

namespace RibbonBarOps {
using Place = SODetails::OperationSlot<8, uint32_t(const wchar_t* group, ServiceObject* handler)>;
using Replace = SODetails::OperationSlot<16, uint32_t(const wchar_t* group, ServiceObject* handler)>;
using HasCustomHandler = SODetails::OperationSlot<24, uint32_t(const wchar_t* group, bool* flag)>;
constexpr std::size_t kOperationCount = 4;
} // namespace RibbonBarOps
