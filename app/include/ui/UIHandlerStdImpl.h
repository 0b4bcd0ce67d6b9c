// What every UI handler of this module does alike: its name, the element it
// is attached to, and answering queries for itself.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/WeakRefPtr.h"
#include "ui-engine/UIHandler.h"

namespace SOImpl {

struct UIEngineTraits {};

template <class T, class EngineTraits>
class UIHandlerStdImpl : public SODetails::ServiceObjectSelf {
public:
    UIHandlerStdImpl() : ownerThread_(Platform::CurrentThreadId()) {}

    uint32_t OnQueryServiceObject(uint32_t id, ServiceObject** out, uint8_t, uint8_t) {
        if (id == SODetails::InterfaceId<CppUIHandlerBase<T, SODetails::ServiceObjectTraits>>()) {
            *out = SODetails::BasicServiceObjectPtr<>::Share(Self()).Detach();
            return SODetails::kOk;
        }
        // Forwarding to the window comes with the UI engine's window service.
        return SODetails::kDeclined;
    }

    uint32_t GetHandlerName(const char** name) {
        if (handlerName_.empty())
            handlerName_ = T::kSignatureName;  // "class " and the class name
        *name = handlerName_.c_str();
        return SODetails::kOk;
    }

    uint32_t GetElementAttachedTo(HELEMENT* element) {
        *element = element_;
        return SODetails::kOk;
    }

    uint32_t HandleEvent(uint32_t*, HELEMENT, const UIEventRecord*) { return SODetails::kDeclined; }

    uint32_t Attached(ServiceObject* window, HELEMENT element) {
        element_ = element;
        window_ = SODetails::WeakRefPtr::Of(window);
        return SODetails::kOk;
    }

    uint32_t Detached() {
        window_.Reset();
        element_ = nullptr;
        ownerThread_ = 0;
        return SODetails::kOk;
    }

protected:
    uint32_t OwnerThread() const { return ownerThread_; }

private:
    uint32_t ownerThread_ = 0;
    HELEMENT element_ = nullptr;
    SODetails::WeakRefPtr window_;
    std::string handlerName_;
};

} // namespace SOImpl
