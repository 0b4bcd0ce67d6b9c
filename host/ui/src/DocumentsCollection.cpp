// "UIDocumentsCollection": the views of a document frame, which of them is
// active, the side-by-side view, and the events of their lives. Events are
// raised on the calling thread with no lock held; views are passed without
// a reference for the handler.
#include <algorithm>

#include "Objects.h"

namespace HostUIImpl {

namespace {

using Object = CollectionInterface::Object;
constexpr const wchar_t* kWideName = CollectionInterface::kWideName;

CollectionImpl& CollectionOf(ServiceObject* collection) {
    return ImplOf<CollectionInterface>(collection, "documents collection");
}

// The object behind `slot`, read under the collection's lock.
ObjectPtr Read(CollectionImpl& collection, const ObjectPtr CollectionImpl::*slot) {
    std::lock_guard<std::mutex> lock(collection.mutex);
    return collection.*slot;
}

uint32_t Tell(bool value, bool* out, const wchar_t* operation) {
    if (!out)
        return HOST_OBJECT_REPORT(kBadArgument, kWideName, operation);
    *out = value;
    return kOk;
}

struct CollectionOperations {
    static uint32_t HasActiveView(ServiceObject* self, bool* has) {
        return Tell(Read(Object::ImplOf(self), &CollectionImpl::active) != nullptr, has,
                    L"HasActiveView");
    }
    static uint32_t GetActiveView(ServiceObject* self, ServiceObject** view) {
        return HandOut(Read(Object::ImplOf(self), &CollectionImpl::active), view, kWideName,
                       L"GetActiveView");
    }
    static uint32_t IsSideBySideMode(ServiceObject* self, bool* sideBySide) {
        return Tell(Read(Object::ImplOf(self), &CollectionImpl::activeSbS) != nullptr, sideBySide,
                    L"IsSideBySideMode");
    }
    static uint32_t GetActiveSbSView(ServiceObject* self, ServiceObject** view) {
        return HandOut(Read(Object::ImplOf(self), &CollectionImpl::activeSbS), view, kWideName,
                       L"GetActiveSbSView");
    }
};

bool Contains(const std::vector<ObjectPtr>& objects, ServiceObject* object) {
    return std::any_of(objects.begin(), objects.end(),
                       [&](const ObjectPtr& o) { return o.get() == object; });
}

void Remove(std::vector<ObjectPtr>& objects, ServiceObject* object) {
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [&](const ObjectPtr& o) { return o.get() == object; }),
                  objects.end());
}

// Adds `view` to one of the collection's lists; throws when it is there.
void Add(CollectionImpl& collection, std::vector<ObjectPtr> CollectionImpl::*list,
         ServiceObject* view) {
    std::lock_guard<std::mutex> lock(collection.mutex);
    if (Contains(collection.*list, view))
        throw std::invalid_argument("the view is in the documents collection already");
    (collection.*list).push_back(ObjectPtr::Share(view));
}

// Throws unless `view` is one of the collection's views.
void CheckMember(CollectionImpl& collection, const std::vector<ObjectPtr> CollectionImpl::*list,
                 ServiceObject* view) {
    std::lock_guard<std::mutex> lock(collection.mutex);
    if (!Contains(collection.*list, view))
        throw std::invalid_argument("the view is not in this documents collection");
}

} // namespace

void CollectionInterface::FillOperations(SODetails::Operation* ops) {
    using O = CollectionOperations;
    using I = CollectionInterface;
    using C = CollectionImpl;
    namespace E = UIDocumentsCollectionEvents;
    SODetails::SetOperation<UIDocumentsCollectionOps::HasActiveView>(ops, &O::HasActiveView);
    SODetails::SetOperation<UIDocumentsCollectionOps::GetActiveView>(ops, &O::GetActiveView);
    SODetails::SetOperation<UIDocumentsCollectionOps::IsSideBySideMode>(ops, &O::IsSideBySideMode);
    SODetails::SetOperation<UIDocumentsCollectionOps::GetActiveSbSView>(ops, &O::GetActiveSbSView);
    SODetails::EventEntries<I, E::OnDocumentViewCreated, &C::onDocumentViewCreated>::Fill(ops);
    SODetails::EventEntries<I, E::OnDocumentViewActivated, &C::onDocumentViewActivated>::Fill(ops);
    SODetails::EventEntries<I, E::OnDocumentViewDeactivated, &C::onDocumentViewDeactivated>::Fill(
        ops);
    SODetails::EventEntries<I, E::OnDocumentViewClose, &C::onDocumentViewClose>::Fill(ops);
    SODetails::EventEntries<I, E::OnDocumentViewDestroyed, &C::onDocumentViewDestroyed>::Fill(ops);
    SODetails::EventEntries<I, E::OnSbSViewCreated, &C::onSbSViewCreated>::Fill(ops);
    SODetails::EventEntries<I, E::OnSbSViewActivated, &C::onSbSViewActivated>::Fill(ops);
    SODetails::EventEntries<I, E::OnSbSViewDeactivated, &C::onSbSViewDeactivated>::Fill(ops);
    SODetails::EventEntries<I, E::OnSbSViewDestroyed, &C::onSbSViewDestroyed>::Fill(ops);
}

ObjectPtr NewCollection() {
    return ObjectPtr::Adopt(CollectionInterface::Object::New());
}

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

void AddView(ServiceObject* collection, ServiceObject* view) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    ImplOf<DocumentViewInterface>(view, "document view");
    Add(impl, &CollectionImpl::views, view);
    impl.onDocumentViewCreated.Raise(view);
}

void ActivateView(ServiceObject* collection, ServiceObject* view) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    CheckMember(impl, &CollectionImpl::views, view);
    const ObjectPtr previous = Read(impl, &CollectionImpl::active);
    if (previous.get() == view)
        return;
    if (previous)
        impl.onDocumentViewDeactivated.Raise(previous.get(), view);
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        impl.active = ObjectPtr::Share(view);
    }
    impl.onDocumentViewActivated.Raise(view);
}

bool CloseView(ServiceObject* collection, ServiceObject* view) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    CheckMember(impl, &CollectionImpl::views, view);
    const ObjectPtr closing = ObjectPtr::Share(view); // lives until the last event
    bool keepOpen = false;
    impl.onDocumentViewClose.Raise(view, &keepOpen);
    if (keepOpen)
        return false;
    ObjectPtr next;
    bool wasActive = false;
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        wasActive = impl.active.get() == view;
        for (auto it = impl.views.rbegin(); it != impl.views.rend() && wasActive && !next; ++it)
            if (it->get() != view)
                next = *it;
    }
    if (wasActive) {
        impl.onDocumentViewDeactivated.Raise(view, next.get());
        std::lock_guard<std::mutex> lock(impl.mutex);
        impl.active = next;
    }
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        Remove(impl.views, view);
    }
    if (next)
        impl.onDocumentViewActivated.Raise(next.get());
    impl.onDocumentViewDestroyed.Raise(view);
    return true;
}

ObjectPtr ActiveView(ServiceObject* collection) {
    return Read(HostUIImpl::CollectionOf(collection), &CollectionImpl::active);
}

std::vector<ObjectPtr> Views(ServiceObject* collection) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.views;
}

void AddSideBySideView(ServiceObject* collection, ServiceObject* sbsView) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    Add(impl, &CollectionImpl::sbsViews, sbsView);
    impl.onSbSViewCreated.Raise(sbsView);
}

void ActivateSideBySideView(ServiceObject* collection, ServiceObject* sbsView) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    CheckMember(impl, &CollectionImpl::sbsViews, sbsView);
    if (Read(impl, &CollectionImpl::activeSbS).get() == sbsView)
        return;
    DeactivateSideBySideView(collection);
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        impl.activeSbS = ObjectPtr::Share(sbsView);
    }
    impl.onSbSViewActivated.Raise(sbsView);
}

void DeactivateSideBySideView(ServiceObject* collection) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    ObjectPtr active;
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        active = std::move(impl.activeSbS);
        impl.activeSbS = nullptr;
    }
    if (active)
        impl.onSbSViewDeactivated.Raise(active.get());
}

void CloseSideBySideView(ServiceObject* collection, ServiceObject* sbsView) {
    CollectionImpl& impl = HostUIImpl::CollectionOf(collection);
    CheckMember(impl, &CollectionImpl::sbsViews, sbsView);
    const ObjectPtr closing = ObjectPtr::Share(sbsView);
    if (Read(impl, &CollectionImpl::activeSbS).get() == sbsView)
        DeactivateSideBySideView(collection);
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        Remove(impl.sbsViews, sbsView);
    }
    impl.onSbSViewDestroyed.Raise(sbsView);
}

} // namespace HostUI
