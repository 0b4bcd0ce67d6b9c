// The ribbon's markup group: three split buttons, one per markup kind.
#pragma once

#include "ui-engine/UIHandler.h"
#include "ui/UIHandlerStdImpl.h"

class MarkupGroupHandler : public SOImpl::UIHandlerStdImpl<MarkupGroupHandler, SOImpl::UIEngineTraits> {
public:
    static constexpr const char* kSignatureName = "class MarkupGroupHandler";
    using Interface = SOImpl::CppUIHandlerBase<MarkupGroupHandler, SODetails::ServiceObjectTraits>;
    using Object = Interface::Object;

    // A new handler object with one reference.
    static SODetails::BasicServiceObjectPtr<> Create();
};
