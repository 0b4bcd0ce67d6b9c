// What every UI handler of this module does alike: its name, the element it
// is attached to and that element's window, answering queries for itself
// (and forwarding others to the window), translating popup texts, and
// handing work over to the UI thread through the window's dispatcher.
#pragma once

#include <boost/format.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/Platform.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/Localize.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"
#include "ui-engine/UIHandler.h"
#include "ui/UIElementRecord.h"
#include "ui/UIElementSet.h"
#include "ui/UIThreadDispatcher.h"
#include "ui/UIWnd.h"

namespace SOImpl {

struct UIEngineTraits {};

// T, the concrete handler, also derives from its observer of document views
// (DocumentViewObserverBase), which provides:
//   void BindAtStartup();  // the work Attached leaves to the UI thread
//   void ReleaseAll();     // what Detached lets go of
template <class T, class EngineTraits>
class UIHandlerStdImpl : public SODetails::ServiceObjectSelf {
public:
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    UIHandlerStdImpl() : ownerThread_(Platform::CurrentThreadId()) {}

    // --- "UIHandler" operations ----------------------------------------------

    uint32_t OnQueryServiceObject(uint32_t id, ServiceObject** out, uint8_t forward,
                                  uint8_t flags) {
        if (id == SODetails::InterfaceId<CppUIHandlerBase<T, SODetails::ServiceObjectTraits>>()) {
            *out = ObjectPtr::Share(Self()).Detach();
            return SODetails::kOk;
        }
        ObjectPtr window = forward ? Window() : ObjectPtr();
        if (!window)
            return SODetails::kDeclined;
        ServiceObject* found = nullptr;
        void* errorRecord = nullptr;
        std::optional<uint32_t> code = SODetails::TryCall<UIWndOps::QueryServiceObject>(
            window.get(), id, uint32_t{flags}, &found, &errorRecord);
        if (code && *code == SODetails::kOk) {
            *out = found;
            return SODetails::kOk;
        }
        ObjectPtr::Adopt(found).Reset();
        if (errorRecord)
            throw ServiceObjectException::StandingFor(
                static_cast<const ServiceObjectException*>(errorRecord));
        using Site = FailureSites::UIHandlerOnQueryServiceObject;
        throw ServiceObjectException(
            SODetails::kNoSuchServiceObject,
            (boost::wformat(L"Failed to query service object ID:%1% from UIWnd!") % id).str(),
            std::string(Site::kFunctionBeforeClass) + T::kSignatureName + Site::kFunctionAfterClass,
            Site::kFile, Site::kLine);
    }

    uint32_t GetHandlerName(const char** name) {
        if (handlerName_.empty())
            handlerName_ = T::kSignatureName; // "class " and the class name
        *name = handlerName_.c_str();
        return SODetails::kOk;
    }

    uint32_t GetElementAttachedTo(HELEMENT* element) {
        *element = record_.Element();
        return SODetails::kOk;
    }

    uint32_t HandleEvent(uint32_t*, HELEMENT, const UIEventRecord*) { return SODetails::kDeclined; }

    uint32_t Attached(ServiceObject* window, HELEMENT element) {
        const ObjectPtr keepWindow = ObjectPtr::Share(window);
        ObjectPtr dispatcher;
        SODetails::CallChecked<UIWndOps::GetDispatcher>(window, dispatcher.Receive());
        StoreDispatcher(dispatcher
                            ? std::make_shared<const UIThreadDispatcher>(std::move(dispatcher))
                            : nullptr);
        record_.Bind(window, element);
        // The start-up binding runs once Attached has returned. A later
        // Attached or a Detached makes it stale before it runs.
        const uint64_t attachment = ++attachments_;
        Post([this, attachment] {
            if (attachment == attachments_.load())
                static_cast<T*>(this)->BindAtStartup();
        });
        return SODetails::kOk;
    }

    uint32_t Detached() {
        record_.Reset();
        ++attachments_;
        StoreDispatcher(nullptr);
        ownerThread_ = 0;
        static_cast<T*>(this)->ReleaseAll();
        return SODetails::kOk;
    }

    // --- For the handler classes and their observer ----------------------------

    // The window of the attached element while it lives, else empty.
    ObjectPtr Window() const { return record_.Window(); }
    const UIElementRecord& ElementRecord() const { return record_; }
    // The attached element, and any element of its window, as element sets.
    UIElementSet AttachedElement() const { return record_.Elements(Self()); }
    UIElementSet ElementSet(HELEMENT element) const { return record_.ElementSet(element, Self()); }
    // What `selector` finds below the attached element.
    UIElementSet Select(const char* selector) const { return AttachedElement().Select(selector); }

    // Translates the ".cmd-base-name" texts below `element` (popup command
    // names), in document order.
    void LocalizeCommandNames(HELEMENT element) const {
        const UIElementSet names = ElementSet(element).Select(".cmd-base-name");
        for (const UIElementSet::Entry& entry : names.Entries())
            names.SetText(entry, Localize(names.Text(entry).c_str()));
    }

    // Runs `work` later on the UI thread, holding the handler until then;
    // dropped without a dispatcher.
    template <class F> void Post(F&& work) const {
        if (std::shared_ptr<const UIThreadDispatcher> dispatcher = Dispatcher())
            dispatcher->Post([keep = ObjectPtr::Share(Self()),
                              work = std::forward<F>(work)]() mutable { work(); });
    }

    // For methods that change element states and may be called on any
    // thread: when the dispatcher says the calling thread must hand over,
    // posts `work` (the same call again) and answers true; the caller then
    // returns. Otherwise answers false and the caller acts itself.
    template <class F> bool HandedOver(F&& work) const {
        std::shared_ptr<const UIThreadDispatcher> dispatcher = Dispatcher();
        if (!dispatcher || !dispatcher->MustHandOver())
            return false;
        Post(std::forward<F>(work));
        return true;
    }

    static void MarkHandled(uint32_t* handled) {
        if (handled)
            *handled = 1;
    }

protected:
    uint32_t OwnerThread() const { return ownerThread_; }

private:
    // Event threads read the dispatcher while the UI thread replaces it.
    std::shared_ptr<const UIThreadDispatcher> Dispatcher() const {
        return std::atomic_load(&dispatcher_);
    }
    void StoreDispatcher(std::shared_ptr<const UIThreadDispatcher> dispatcher) {
        std::atomic_store(&dispatcher_, std::move(dispatcher));
    }

    uint32_t ownerThread_ = 0;
    std::shared_ptr<const UIThreadDispatcher> dispatcher_;
    UIElementRecord record_;
    std::string handlerName_;
    std::atomic<uint64_t> attachments_{0};
};

} // namespace SOImpl
