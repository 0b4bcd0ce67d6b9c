// The template that builds the operation table of a business-logic tool
// ("BLInputHandler", bl/BLInputHandler.h) over an implementation class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "bl/BLInputHandler.h"
#include "service-common/OperationReport.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace SOImpl {

// T provides its class name text (kSignatureName, "class X") and:
//   uint32_t Initialize(ServiceObject* view, const MarkupToolParams* params); // view not null
//   uint32_t Terminate();
//   uint32_t GetToolName(SLAtom* name);                                       // not null
//   uint32_t IsFinished(bool* finished);                                      // not null
//   uint32_t HandleEvent(const BLInputEvent* event, bool* handled);           // not null
//   uint32_t Removed(bool* removed);                                          // not null
//   uint32_t FocusAnnot(const void*), RestoreSelection(const void*), OnDeathrattle(const void*);
// The static functions check the pointers, call T, and report the result.
template <class T, class Traits> struct CppBLInputHandlerBase {
    using Object = SODetails::ServiceObjectCppTheConcrete<CppBLInputHandlerBase, T>;
    static constexpr const char* kName = "BLInputHandler";
    static constexpr std::size_t kOperationCount = BLInputHandlerOps::kOperationCount;

    static uint32_t Report(uint32_t code, const char* operation) {
        return SODetails::ReportOperation(code, kName, operation, "SOImpl::CppBLInputHandlerBase",
                                          T::kSignatureName);
    }

    static uint32_t Initialize(ServiceObject* self, ServiceObject* view,
                               const MarkupToolParams* params) {
        const uint32_t code =
            view ? Object::ImplOf(self).Initialize(view, params) : SODetails::kBadArgument;
        return Report(code, "Initialize");
    }
    static uint32_t Terminate(ServiceObject* self) {
        return Report(Object::ImplOf(self).Terminate(), "Terminate");
    }
    static uint32_t GetToolName(ServiceObject* self, SLAtom* name) {
        const uint32_t code =
            name ? Object::ImplOf(self).GetToolName(name) : SODetails::kBadArgument;
        return Report(code, "GetToolName");
    }
    static uint32_t IsFinished(ServiceObject* self, bool* finished) {
        const uint32_t code =
            finished ? Object::ImplOf(self).IsFinished(finished) : SODetails::kBadArgument;
        return Report(code, "IsFinished");
    }
    static uint32_t HandleEvent(ServiceObject* self, const BLInputEvent* event, bool* handled) {
        const uint32_t code = (event && handled) ? Object::ImplOf(self).HandleEvent(event, handled)
                                                 : SODetails::kBadArgument;
        return Report(code, "HandleEvent");
    }
    static uint32_t Removed(ServiceObject* self, bool* removed) {
        const uint32_t code =
            removed ? Object::ImplOf(self).Removed(removed) : SODetails::kBadArgument;
        return Report(code, "Removed");
    }
    static uint32_t FocusAnnot(ServiceObject* self, const void* argument) {
        return Report(Object::ImplOf(self).FocusAnnot(argument), "FocusAnnot");
    }
    static uint32_t RestoreSelection(ServiceObject* self, const void* argument) {
        return Report(Object::ImplOf(self).RestoreSelection(argument), "RestoreSelection");
    }
    static uint32_t OnDeathrattle(ServiceObject* self, const void* argument) {
        return Report(Object::ImplOf(self).OnDeathrattle(argument), "OnDeathrattle");
    }

    static void FillOperations(SODetails::Operation* ops) {
        using SODetails::SetOperation;
        SetOperation<BLInputHandlerOps::Initialize>(ops, &Initialize);
        SetOperation<BLInputHandlerOps::Terminate>(ops, &Terminate);
        SetOperation<BLInputHandlerOps::GetToolName>(ops, &GetToolName);
        SetOperation<BLInputHandlerOps::IsFinished>(ops, &IsFinished);
        SetOperation<BLInputHandlerOps::HandleEvent>(ops, &HandleEvent);
        SetOperation<BLInputHandlerOps::Removed>(ops, &Removed);
        SetOperation<BLInputHandlerOps::FocusAnnot>(ops, &FocusAnnot);
        SetOperation<BLInputHandlerOps::RestoreSelection>(ops, &RestoreSelection);
        SetOperation<BLInputHandlerOps::OnDeathrattle>(ops, &OnDeathrattle);
    }
};

} // namespace SOImpl
