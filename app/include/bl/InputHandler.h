// The business-logic tool interface ("BLInputHandler", 9 operations): the
// object a document view feeds with mouse input while the tool is active,
// the records it receives, and the template that builds its operation table
// over an implementation class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "service-common/Atom.h"
#include "service-common/OperationReport.h"
#include "service-common/SLGeometry.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

// What Initialize of the markup tool receives (8 bytes).
struct MarkupToolParams {
    uint32_t subtype; // the library's atom of "Highlight", "Underline" or "StrikeOut"
    uint32_t color;   // alpha in bits 24 to 31, the colour channels below
};

// A mouse event as the view hands it to its active tool. The tool reads
// these 16 bytes; a host may append fields of its own.
struct BLInputEvent {
    uint32_t type;
    uint32_t button;  // 0 the left button
    SL::PointI point; // device pixels of the view
};

namespace BLInputEventTypes {
constexpr uint32_t kButtonDown = 2;
constexpr uint32_t kButtonUp = 3;
constexpr uint32_t kMouseMove = 4;
constexpr uint32_t kLeftButton = 0;
// The host's button whose release ends the tool.
constexpr uint32_t kFinishButton = 1;
} // namespace BLInputEventTypes

static_assert(sizeof(MarkupToolParams) == 8, "MarkupToolParams is 8 bytes");
static_assert(sizeof(BLInputEvent) == 16, "the tool reads 16 bytes of an input event");

namespace BLInputHandlerOps {
using SODetails::OperationSlot;
using Initialize = OperationSlot<0, uint32_t(ServiceObject* view, const MarkupToolParams* params)>;
using Terminate = OperationSlot<8, uint32_t()>;
using GetToolName = OperationSlot<16, uint32_t(SLAtom* name)>;
using IsFinished = OperationSlot<24, uint32_t(bool* finished)>;
using HandleEvent = OperationSlot<32, uint32_t(const BLInputEvent* event, bool* handled)>;
using Removed = OperationSlot<40, uint32_t(bool* removed)>;
// The last three take an argument of the host's that this tool ignores.
using FocusAnnot = OperationSlot<48, uint32_t(const void* argument)>;
using RestoreSelection = OperationSlot<56, uint32_t(const void* argument)>;
using OnDeathrattle = OperationSlot<64, uint32_t(const void* argument)>;
constexpr std::size_t kOperationCount = 9;
} // namespace BLInputHandlerOps

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
    using Site = FailureSites::BLInputHandler;

    static uint32_t Report(uint32_t code, const wchar_t* operation, const char* name,
                           uint32_t line) {
        const std::string function = SODetails::OperationFunctionText(
            "SOImpl::CppBLInputHandlerBase", T::kSignatureName, name);
        return SODetails::Reported(code, {L"BLInputHandler", operation, Site::kFile, line},
                                   function);
    }

    static uint32_t Initialize(ServiceObject* self, ServiceObject* view,
                               const MarkupToolParams* params) {
        const uint32_t code =
            view ? Object::ImplOf(self).Initialize(view, params) : SODetails::kBadArgument;
        return Report(code, L"Initialize", "Initialize", Site::kInitializeLine);
    }
    static uint32_t Terminate(ServiceObject* self) {
        return Report(Object::ImplOf(self).Terminate(), L"Terminate", "Terminate",
                      Site::kTerminateLine);
    }
    static uint32_t GetToolName(ServiceObject* self, SLAtom* name) {
        const uint32_t code =
            name ? Object::ImplOf(self).GetToolName(name) : SODetails::kBadArgument;
        return Report(code, L"GetToolName", "GetToolName", Site::kGetToolNameLine);
    }
    static uint32_t IsFinished(ServiceObject* self, bool* finished) {
        const uint32_t code =
            finished ? Object::ImplOf(self).IsFinished(finished) : SODetails::kBadArgument;
        return Report(code, L"IsFinished", "IsFinished", Site::kIsFinishedLine);
    }
    static uint32_t HandleEvent(ServiceObject* self, const BLInputEvent* event, bool* handled) {
        const uint32_t code = (event && handled) ? Object::ImplOf(self).HandleEvent(event, handled)
                                                 : SODetails::kBadArgument;
        return Report(code, L"HandleEvent", "HandleEvent", Site::kHandleEventLine);
    }
    static uint32_t Removed(ServiceObject* self, bool* removed) {
        const uint32_t code =
            removed ? Object::ImplOf(self).Removed(removed) : SODetails::kBadArgument;
        return Report(code, L"Removed", "Removed", Site::kRemovedLine);
    }
    static uint32_t FocusAnnot(ServiceObject* self, const void* argument) {
        return Report(Object::ImplOf(self).FocusAnnot(argument), L"FocusAnnot", "FocusAnnot",
                      Site::kFocusAnnotLine);
    }
    static uint32_t RestoreSelection(ServiceObject* self, const void* argument) {
        return Report(Object::ImplOf(self).RestoreSelection(argument), L"RestoreSelection",
                      "RestoreSelection", Site::kRestoreSelectionLine);
    }
    static uint32_t OnDeathrattle(ServiceObject* self, const void* argument) {
        return Report(Object::ImplOf(self).OnDeathrattle(argument), L"OnDeathrattle",
                      "OnDeathrattle", Site::kOnDeathrattleLine);
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
