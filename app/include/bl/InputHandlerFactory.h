// The template that builds the operation table of a tool factory
// ("BLInputHandlerFactory", bl/BLInputHandler.h), and the factory class that
// makes tool objects of one class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "bl/InputHandler.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/OperationReport.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace SOImpl {

// T provides SignatureName() (its class name text, "class X") and
//   uint32_t CreateInputHandler(ServiceObject** handler); // not null
template <class T, class Traits> struct CppBLInputHandlerFactoryBase {
    using Object = SODetails::ServiceObjectCppTheConcrete<CppBLInputHandlerFactoryBase, T>;
    static constexpr const char* kName = "BLInputHandlerFactory";
    static constexpr std::size_t kOperationCount = BLInputHandlerFactoryOps::kOperationCount;

    static uint32_t CreateInputHandler(ServiceObject* self, ServiceObject** handler) {
        const uint32_t code =
            handler ? Object::ImplOf(self).CreateInputHandler(handler) : SODetails::kBadArgument;
        return SODetails::ReportOperation(code, kName, "CreateInputHandler",
                                          "SOImpl::CppBLInputHandlerFactoryBase",
                                          T::SignatureName());
    }

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLInputHandlerFactoryOps::CreateInputHandler>(ops,
                                                                              &CreateInputHandler);
    }
};

} // namespace SOImpl

namespace _AutoReg_BLInputHandler {

// Makes tool objects of class T (a "BLInputHandler" implementation with a
// default constructor): every call a new one.
template <class T> class Factory {
public:
    using Interface = SOImpl::CppBLInputHandlerFactoryBase<Factory, SODetails::ServiceObjectTraits>;
    using Object = typename Interface::Object;
    using HandlerObject =
        typename SOImpl::CppBLInputHandlerBase<T, SODetails::ServiceObjectTraits>::Object;

    static const char* SignatureName() {
        static const std::string name =
            std::string("class _AutoReg_BLInputHandler::Factory<") + T::kSignatureName + ">";
        return name.c_str();
    }

    uint32_t CreateInputHandler(ServiceObject** handler) {
        *handler = HandlerObject::New();
        return SODetails::kOk;
    }

    // A new factory object with one reference.
    static SODetails::BasicServiceObjectPtr<> Make() {
        return SODetails::BasicServiceObjectPtr<>::Adopt(Object::New());
    }
};

} // namespace _AutoReg_BLInputHandler
