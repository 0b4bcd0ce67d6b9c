// Following the active document view of a UI handler's window: finding the
// documents collection (or waiting for the first document frame), the
// views and side-by-side views as they are activated and deactivated, and
// the events of the active business-logic view.
#pragma once

#include <cstdint>
#include <memory>

#include "bl/BLDocumentView.h"
#include "platform/Platform.h"
#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/EventSubscription.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "service-common/WeakRefPtr.h"
#include "ui/AtomicWeakRefPtr.h"
#include "ui/SubscriptionList.h"
#include "ui/UIDocumentFrame.h"
#include "ui/UIDocumentView.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIMainFrame.h"
#include "ui/UIService.h"
#include "ui/UIWndServiceObjectRequester.h"

namespace SOImpl {

// The one handler of every event the observer hears but has no use for:
// the subscription exists all the same.
struct IgnoreEvent {
    template <class... Args> void operator()(Args...) const {}
};

// T is the handler class (UIHandlerStdImpl<T, ...> and this are its bases).
// It provides:
//   Window()                      the attached element's window, locked;
//   Self()                        its own service object;
//   void OnViewAttached(ServiceObject* view);   the class's attach step
//   void OnViewDetached();                      the class's detach step
//   void OnViewStateChanged(uint32_t state);
//   static constexpr bool kFollowsActiveTool;   and, when true,
//   void OnActiveToolChanged(SLAtom tool);
// N is the observer's flavour: 1 follows the active view of a documents
// collection, the only one this module needs.
template <class T, int N> class DocumentViewObserverBase {
    static_assert(N == 1, "the observer follows the active view of a documents collection");

public:
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    // The current business-logic view, locked for one operation; empty when
    // no view is active.
    ObjectPtr LockCurrentView() const { return currentView_.Lock(); }
    ObjectPtr LockCollection() const { return collection_.Lock(); }
    std::size_t ViewSubscriptionCount() const { return viewSubscriptions_.Size(); }

    // Binding at start-up, on the UI thread: through the window's documents
    // collection, else through its main frame (or the main frame of this
    // thread). A binding replaces an earlier one.
    void BindAtStartup() {
        ReleaseAll();
        const ObjectPtr window = Handler().Window();
        SODetails::BasicServiceObjectPtr<UIDocumentsCollection> collection;
        if (UIWndServiceObjectRequester::QueryServiceObjectFromUIWnd(window.get(), collection)) {
            BindToCollection(collection.get());
            return;
        }
        SODetails::BasicServiceObjectPtr<UIMainFrame> mainFrame;
        UIWndServiceObjectRequester::QueryServiceObjectFromUIWnd(window.get(), mainFrame);
        BindThroughMainFrame(ObjectPtr(mainFrame));
    }

    // Lets go of everything, in the order the objects were reached from the
    // view back to the collection.
    void ReleaseAll() {
        selection_.Reset();
        viewSubscriptions_.DisconnectAll();
        currentView_.Reset();
        documentView_.Reset();
        sideBySideView_.Reset();
        collectionSubscriptions_.DisconnectAll();
        collection_.Reset();
    }

private:
    T& Handler() { return static_cast<T&>(*this); }

    // Subscribes `onEvent` to `Slot` of `source` into `list`. The handler
    // object is held only weakly: an event that arrives while it is being
    // destroyed finds it gone and does nothing.
    template <class Slot, class F>
    void Subscribe(SubscriptionList& list, ServiceObject* source, F onEvent) {
        auto alive = std::make_shared<const SODetails::WeakRefPtr>(
            SODetails::WeakRefPtr::Of(Handler().Self()));
        list.Add(SOEvent::Subscribe<Slot>(source, [alive, onEvent](auto... args) {
            if (ObjectPtr keep = alive->Lock())
                onEvent(args...);
        }));
    }

    void BindThroughMainFrame(ObjectPtr mainFrame) {
        if (!mainFrame) {
            static const SODetails::AtomStatic kUIService("UIService");
            const ObjectPtr service = SP::GetServiceObject(kUIService, "UIService");
            ObjectPtr threadUI;
            SODetails::CallChecked<UIServiceOps::GetThreadUIObject>(
                service.get(), Platform::CurrentThreadId(), threadUI.Receive());
            SODetails::CallChecked<UIThreadObjectOps::GetMainFrame>(threadUI.get(),
                                                                    mainFrame.Receive());
            if (!mainFrame)
                return;
        }
        ObjectPtr collection;
        SODetails::CallChecked<UIMainFrameOps::GetDocumentsCollection>(mainFrame.get(),
                                                                       collection.Receive());
        if (collection) {
            BindToCollection(collection.get());
            return;
        }
        Subscribe<UIMainFrameEvents::OnChildDocumentFrameCreated>(
            collectionSubscriptions_, mainFrame.get(),
            [this](ServiceObject* frame) { OnChildDocumentFrameCreated(frame); });
    }

    void OnChildDocumentFrameCreated(ServiceObject* frame) {
        ObjectPtr collection;
        SODetails::CallChecked<UIDocumentFrameOps::QueryServiceObject>(
            frame, SODetails::InterfaceId<UIDocumentsCollection>(), collection.Receive());
        if (collection)
            BindToCollection(collection.get());
    }

    void BindToCollection(ServiceObject* collection) {
        collection_.Store(collection);
        bool hasActiveView = false;
        SODetails::CallChecked<UIDocumentsCollectionOps::HasActiveView>(collection, &hasActiveView);
        if (hasActiveView) {
            ObjectPtr view;
            SODetails::CallChecked<UIDocumentsCollectionOps::GetActiveView>(collection,
                                                                            view.Receive());
            OnDocumentViewActivated(view.get());
        }
        bool sideBySide = false;
        SODetails::CallChecked<UIDocumentsCollectionOps::IsSideBySideMode>(collection, &sideBySide);
        if (sideBySide) {
            ObjectPtr view;
            SODetails::CallChecked<UIDocumentsCollectionOps::GetActiveSbSView>(collection,
                                                                               view.Receive());
            sideBySideView_.Store(view.get());
        }
        SubscribeCollectionEvents(collection);
    }

    void SubscribeCollectionEvents(ServiceObject* collection) {
        namespace E = UIDocumentsCollectionEvents;
        SubscriptionList& list = collectionSubscriptions_;
        Subscribe<E::OnDocumentViewCreated>(list, collection, IgnoreEvent{});
        Subscribe<E::OnDocumentViewActivated>(
            list, collection, [this](ServiceObject* view) { OnDocumentViewActivated(view); });
        Subscribe<E::OnDocumentViewDeactivated>(
            list, collection,
            [this](ServiceObject*, ServiceObject*) { OnDocumentViewDeactivated(); });
        Subscribe<E::OnDocumentViewClose>(list, collection, IgnoreEvent{});
        Subscribe<E::OnDocumentViewDestroyed>(list, collection, IgnoreEvent{});
        Subscribe<E::OnSbSViewCreated>(list, collection, IgnoreEvent{});
        Subscribe<E::OnSbSViewActivated>(
            list, collection, [this](ServiceObject* view) { sideBySideView_.Store(view); });
        Subscribe<E::OnSbSViewDeactivated>(list, collection,
                                           [this](ServiceObject*) { sideBySideView_.Reset(); });
        Subscribe<E::OnSbSViewDestroyed>(list, collection, IgnoreEvent{});
    }

    // A second activation without a deactivation between replaces the
    // current view and adds its subscriptions to those of the first.
    void OnDocumentViewActivated(ServiceObject* documentView) {
        ObjectPtr view;
        try {
            SODetails::CallChecked<UIDocumentViewOps::QueryServiceObject>(
                documentView, SODetails::InterfaceId<BLDocumentView>(), view.Receive());
        } catch (const ServiceObjectException&) {
            view.Reset(); // a view without business logic behind it
        }
        documentView_.Store(documentView);
        if (!view)
            return;
        currentView_.Store(view.get());
        SubscribeViewEvents(view.get());
        Handler().OnViewAttached(view.get());
    }

    // Whatever view the collection names: the current one is let go.
    void OnDocumentViewDeactivated() {
        viewSubscriptions_.DisconnectAll();
        currentView_.Reset();
        Handler().OnViewDetached();
        documentView_.Reset();
    }

    void SubscribeViewEvents(ServiceObject* view) {
        namespace E = BLDocumentViewEvents;
        SubscriptionList& list = viewSubscriptions_;
        Subscribe<E::OnZoomChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnFocusPageChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnVisibleRangeChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnPagesChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnSelectionChanged>(
            list, view, [this](ServiceObject* selection) { selection_.Store(selection); });
        Subscribe<E::OnLayoutChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnScrollChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnAvailableOperationsChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnLockedStateChanged>(list, view, IgnoreEvent{});
        if constexpr (T::kFollowsActiveTool)
            Subscribe<E::OnActiveToolChanged>(
                list, view, [this](SLAtom tool) { Handler().OnActiveToolChanged(tool); });
        else
            Subscribe<E::OnActiveToolChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnViewStateChanged>(
            list, view, [this](uint32_t state) { Handler().OnViewStateChanged(state); });
        Subscribe<E::OnViewRulerStateChanged>(list, view, IgnoreEvent{});
        Subscribe<E::OnViewGridStateChanged>(list, view, IgnoreEvent{});
    }

    AtomicWeakRefPtr collection_;
    AtomicWeakRefPtr sideBySideView_;
    AtomicWeakRefPtr documentView_;
    AtomicWeakRefPtr currentView_;
    AtomicWeakRefPtr selection_;
    SubscriptionList collectionSubscriptions_;
    SubscriptionList viewSubscriptions_;
};

} // namespace SOImpl
