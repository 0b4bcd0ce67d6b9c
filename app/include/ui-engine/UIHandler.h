// The template that builds the "UIHandler" operation table (23 operations,
// ui-engine/UIHandlerOps.h) over an implementation class.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/OperationReport.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "ui-engine/UIHandlerOps.h"

namespace SOImpl {

// T provides, besides its class name text (kSignatureName, "class X"):
//   uint32_t OnQueryServiceObject(uint32_t id, ServiceObject** out, uint8_t forward,
//                                 uint8_t flags);
//   uint32_t GetHandlerName(const char** name);
//   uint32_t GetElementAttachedTo(HELEMENT* element);
//   uint32_t HandleEvent(uint32_t* handled, HELEMENT element, const UIEventRecord* event);
//   uint32_t Attached(ServiceObject* window, HELEMENT element);
//   uint32_t Detached();
// The engine's other notifications are declined here for every handler:
// the ribbon's handlers act on events only.
template <class T, class Traits> struct CppUIHandlerBase {
    using Object = SODetails::ServiceObjectCppTheConcrete<CppUIHandlerBase, T>;
    static constexpr const char* kName = "UIHandler";
    static constexpr std::size_t kOperationCount = UIHandlerOps::kOperationCount;

    static uint32_t Report(uint32_t code, const char* operation) {
        return SODetails::ReportOperation(code, kName, operation, "SOImpl::CppUIHandlerBase",
                                          T::kSignatureName);
    }

    static uint32_t QueryServiceObject(ServiceObject* self, uint32_t id, ServiceObject** out,
                                       uint8_t forward, uint8_t flags) {
        uint32_t code = (id == 0 || !out)
                            ? SODetails::kBadArgument
                            : Object::ImplOf(self).OnQueryServiceObject(id, out, forward, flags);
        return Report(code, "QueryServiceObject");
    }
    static uint32_t GetHandlerName(ServiceObject* self, const char** name) {
        uint32_t code = name ? Object::ImplOf(self).GetHandlerName(name) : SODetails::kBadArgument;
        return Report(code, "GetHandlerName");
    }
    static uint32_t GetElementAttachedTo(ServiceObject* self, HELEMENT* element) {
        uint32_t code =
            element ? Object::ImplOf(self).GetElementAttachedTo(element) : SODetails::kBadArgument;
        return Report(code, "GetElementAttachedTo");
    }
    static uint32_t GetSubscribedEvents(ServiceObject*, uint32_t* events) {
        uint32_t code = SODetails::kBadArgument;
        if (events) {
            *events = UIHandlerOps::kSubscribedEvents;
            code = SODetails::kOk;
        }
        return Report(code, "GetSubscribedEvents");
    }
    static uint32_t HandleEvent(ServiceObject* self, uint32_t* handled, HELEMENT element,
                                const UIEventRecord* event) {
        uint32_t code = event ? Object::ImplOf(self).HandleEvent(handled, element, event)
                              : SODetails::kBadArgument;
        return Report(code, "HandleEvent");
    }
    static uint32_t Attached(ServiceObject* self, ServiceObject* window, HELEMENT element) {
        return Report(Object::ImplOf(self).Attached(window, element), "Attached");
    }
    static uint32_t Detached(ServiceObject* self) {
        return Report(Object::ImplOf(self).Detached(), "Detached");
    }

    // An operation that answers "not handled" and does nothing else. The
    // name is a template argument so that each slot gets a function that
    // reports under its own operation name.
    template <const char* const* Name> struct Declined {
        static uint32_t Input(ServiceObject*, uint32_t*, HELEMENT, const void*) {
            return Report(SODetails::kDeclined, *Name);
        }
        static uint32_t Notice(ServiceObject*) { return Report(SODetails::kDeclined, *Name); }
    };

    static void FillOperations(SODetails::Operation* ops) {
        namespace Ops = UIHandlerOps;
        using SODetails::SetOperation;
        SetOperation<Ops::QueryServiceObject>(ops, &QueryServiceObject);
        SetOperation<Ops::GetHandlerName>(ops, &GetHandlerName);
        SetOperation<Ops::GetElementAttachedTo>(ops, &GetElementAttachedTo);
        SetOperation<Ops::GetSubscribedEvents>(ops, &GetSubscribedEvents);
        SetOperation<Ops::HandleMouse>(ops, &Declined<&kHandleMouse>::Input);
        SetOperation<Ops::HandleKey>(ops, &Declined<&kHandleKey>::Input);
        SetOperation<Ops::HandleFocus>(ops, &Declined<&kHandleFocus>::Input);
        SetOperation<Ops::HandleTimer>(ops, &Declined<&kHandleTimer>::Input);
        SetOperation<Ops::HandleSize>(ops, &Declined<&kHandleSize>::Input);
        SetOperation<Ops::HandleScroll>(ops, &Declined<&kHandleScroll>::Input);
        SetOperation<Ops::HandleDraw>(ops, &Declined<&kHandleDraw>::Input);
        SetOperation<Ops::HandleMethodCall>(ops, &Declined<&kHandleMethodCall>::Input);
        SetOperation<Ops::HandleScriptCall>(ops, &Declined<&kHandleScriptCall>::Input);
        SetOperation<Ops::HandleEvent>(ops, &HandleEvent);
        SetOperation<Ops::HandleDataArrived>(ops, &Declined<&kHandleDataArrived>::Input);
        SetOperation<Ops::HandleGesture>(ops, &Declined<&kHandleGesture>::Input);
        SetOperation<Ops::HandleExchange>(ops, &Declined<&kHandleExchange>::Input);
        SetOperation<Ops::Attached>(ops, &Attached);
        SetOperation<Ops::Detached>(ops, &Detached);
        SetOperation<Ops::OnDocumentComplete>(ops, &Declined<&kOnDocumentComplete>::Notice);
        SetOperation<Ops::OnInplacePluginsInitialized>(
            ops, &Declined<&kOnInplacePluginsInitialized>::Notice);
        SetOperation<Ops::OnInitComplete>(ops, &Declined<&kOnInitComplete>::Notice);
        SetOperation<Ops::OnLocaleChanged>(ops, &Declined<&kOnLocaleChanged>::Notice);
    }

    static constexpr const char* kHandleMouse = "HandleMouse";
    static constexpr const char* kHandleKey = "HandleKey";
    static constexpr const char* kHandleFocus = "HandleFocus";
    static constexpr const char* kHandleTimer = "HandleTimer";
    static constexpr const char* kHandleSize = "HandleSize";
    static constexpr const char* kHandleScroll = "HandleScroll";
    static constexpr const char* kHandleDraw = "HandleDraw";
    static constexpr const char* kHandleMethodCall = "HandleMethodCall";
    static constexpr const char* kHandleScriptCall = "HandleScriptCall";
    static constexpr const char* kHandleDataArrived = "HandleDataArrived";
    static constexpr const char* kHandleGesture = "HandleGesture";
    static constexpr const char* kHandleExchange = "HandleExchange";
    static constexpr const char* kOnDocumentComplete = "OnDocumentComplete";
    static constexpr const char* kOnInplacePluginsInitialized = "OnInplacePluginsInitialized";
    static constexpr const char* kOnInitComplete = "OnInitComplete";
    static constexpr const char* kOnLocaleChanged = "OnLocaleChanged";
};

} // namespace SOImpl
