// The template that builds the "UIAction" operation table (3 operations,
// ui-engine/UIActionOps.h) over an implementation class.
#pragma once

#include <cstdint>

#include "service-common/OperationReport.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "ui-engine/UIActionOps.h"

namespace SOImpl {

// T provides, besides its class name text (kSignatureName, "class X"):
//   uint32_t PushParam(const wchar_t* name, uint64_t value);
//   uint32_t PushProperty(const wchar_t* name, const wchar_t* value);
//   uint32_t Execute();
// Every result goes through the one operation report; what T throws leaves
// the operation unreported, as with every static operation of this module.
template <class T, class Traits> struct CppUIActionBase {
    using Object = SODetails::ServiceObjectCppTheConcrete<CppUIActionBase, T>;
    static constexpr const char* kName = "UIAction";
    static constexpr std::size_t kOperationCount = UIActionOps::kOperationCount;

    static uint32_t Report(uint32_t code, const char* operation) {
        return SODetails::ReportOperation(code, kName, operation, "SOImpl::CppUIActionBase",
                                          T::kSignatureName);
    }

    static uint32_t PushParam(ServiceObject* self, const wchar_t* name, uint64_t value) {
        return Report(Object::ImplOf(self).PushParam(name, value), "PushParam");
    }
    static uint32_t PushProperty(ServiceObject* self, const wchar_t* name, const wchar_t* value) {
        return Report(Object::ImplOf(self).PushProperty(name, value), "PushProperty");
    }
    static uint32_t Execute(ServiceObject* self) {
        return Report(Object::ImplOf(self).Execute(), "Execute");
    }

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIActionOps::PushParam>(ops, &PushParam);
        SODetails::SetOperation<UIActionOps::PushProperty>(ops, &PushProperty);
        SODetails::SetOperation<UIActionOps::Execute>(ops, &Execute);
    }
};

} // namespace SOImpl
