// The template that builds the "UIHandler" operation table (23 operations,
// ui-engine/UIHandlerOps.h) over an implementation class.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/OperationReport.h"
#include "ui-engine/UIHandlerOps.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace SOImpl {

// T provides, besides its class name text (kSignatureName, "class X"):
//   uint32_t OnQueryServiceObject(uint32_t id, ServiceObject** out, uint8_t forward, uint8_t
//   flags); uint32_t GetHandlerName(const char** name); uint32_t GetElementAttachedTo(HELEMENT*
//   element); uint32_t HandleEvent(uint32_t* handled, HELEMENT element, const UIEventRecord*
//   event); uint32_t Attached(ServiceObject* window, HELEMENT element); uint32_t Detached();
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
    // The operations this module leaves to the engine: "not handled".
    static uint32_t NotHandled(ServiceObject*) { return SODetails::kDeclined; }

    static void FillOperations(SODetails::Operation* ops) {
        using namespace UIHandlerOps;
        for (std::size_t i = 0; i < kOperationCount; ++i)
            ops[i] = reinterpret_cast<SODetails::Operation>(&NotHandled);
        SODetails::SetOperation<UIHandlerOps::QueryServiceObject>(ops, &QueryServiceObject);
        SODetails::SetOperation<UIHandlerOps::GetHandlerName>(ops, &GetHandlerName);
        SODetails::SetOperation<UIHandlerOps::GetElementAttachedTo>(ops, &GetElementAttachedTo);
        SODetails::SetOperation<UIHandlerOps::GetSubscribedEvents>(ops, &GetSubscribedEvents);
        SODetails::SetOperation<UIHandlerOps::HandleEvent>(ops, &HandleEvent);
        SODetails::SetOperation<UIHandlerOps::Attached>(ops, &Attached);
        SODetails::SetOperation<UIHandlerOps::Detached>(ops, &Detached);
    }
};

} // namespace SOImpl
