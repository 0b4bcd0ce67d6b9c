// The three markup icons of the ribbon's font group.
#pragma once

#include "ui-engine/UIHandler.h"
#include "ui/UIHandlerStdImpl.h"

class FontGroupTextMarkupControlHandler
    : public SOImpl::UIHandlerStdImpl<FontGroupTextMarkupControlHandler, SOImpl::UIEngineTraits> {
public:
    static constexpr const char* kSignatureName = "class FontGroupTextMarkupControlHandler";
    using Interface =
        SOImpl::CppUIHandlerBase<FontGroupTextMarkupControlHandler, SODetails::ServiceObjectTraits>;
    using Object = Interface::Object;

    // The factory the module registry and the ribbon's panel change share.
    static SODetails::BasicServiceObjectPtr<> Create();
};
