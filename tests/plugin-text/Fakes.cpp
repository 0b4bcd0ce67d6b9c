#include "Fakes.h"

#include "bl/BLDocumentView.h"
#include "bl/BLSelection.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace fakes {

namespace {

using SODetails::Operation;
using SODetails::SetOperation;

template <class Impl, std::size_t Count> struct Interface {
    static constexpr const char* kName = Impl::kName;
    static constexpr std::size_t kOperationCount = Count;
    static void FillOperations(Operation* operations) { Impl::Fill(operations); }
};

// The page object of GetPage: one library page.
struct Page {
    static constexpr const char* kName = "BLPage";
    using Object =
        SODetails::ServiceObjectCppTheConcrete<Interface<Page, BLPageOps::kOperationCount>, Page>;
    Page(PDPage page, Document* owner) : page(page), owner(owner) {}
    ~Page() { PDPageRelease(page); }
    PDPage page;
    Document* owner;

    static void Fill(Operation* ops) {
        SetOperation<BLPageOps::GetPDPage>(ops, [](ServiceObject* self, PDPage* out) {
            *out = Object::ImplOf(self).page;
            PDPageAcquire(*out);
            return 0u;
        });
        SetOperation<BLPageOps::BeginPageAccess>(ops,
                                                 [](ServiceObject*, uint32_t, uint64_t* token) {
                                                     *token = 1;
                                                     return 0u;
                                                 });
        SetOperation<BLPageOps::EndPageAccess>(ops, [](ServiceObject* self) {
            ++Object::ImplOf(self).owner->pageAccessesEnded;
            return 0u;
        });
    }
};

struct DocumentImpl : Document {
    static constexpr const char* kName = "BLDocument";
    using Object = SODetails::ServiceObjectCppTheConcrete<
        Interface<DocumentImpl, BLDocumentOps::kOperationCount>, DocumentImpl>;
    using Event = BLDocumentEvents::OnPageContentChanged;

    static void Fill(Operation* ops) {
        SetOperation<BLDocumentOps::GetPage>(
            ops, [](ServiceObject* self, uint64_t index, ServiceObject** out) {
                Document& d = Of(self);
                PDPage page = nullptr;
                if (FolioDocumentLoadPage(d.pd, index, &page) != 0)
                    return 2u;
                ++d.pagesHandedOut;
                *out = Page::Object::New(page, &d);
                return 0u;
            });
        SetOperation<BLDocumentOps::GetPDDocument>(ops, [](ServiceObject* self, PDDocument* out) {
            *out = Of(self).pd;
            return 0u;
        });
        SetOperation<BLDocumentOps::PerformAnnotOperation>(
            ops, [](ServiceObject* self, SLAtom op, const AnnotOperationArgs* args, uint32_t) {
                Document& d = Of(self);
                d.annotOperations.emplace_back(op, *args);
                PDPage page = nullptr;
                FolioDocumentLoadPage(d.pd, args->page, &page);
                PDResult r = FolioPageInsertAnnot(page, args->annot);
                PDPageRelease(page);
                return r == 0 ? 0u : 2u;
            });
        SetOperation<Event::Subscribe>(
            ops,
            [](ServiceObject* self, Event::Invoke invoke, Event::Destroy destroy,
               void* context) -> uint64_t {
                Document& d = Of(self);
                if (d.nextHandle == 0) {
                    destroy(context); // refused: the context is ours to end
                    return 0;
                }
                d.subscribers[d.nextHandle] = Context{invoke, destroy, context};
                return d.nextHandle++;
            });
        SetOperation<Event::Unsubscribe>(ops, [](ServiceObject* self, uint64_t handle) {
            ++unsubscribeCalls;
            Document& d = Of(self);
            d.unsubscribed.push_back(handle);
            auto found = d.subscribers.find(handle);
            if (found == d.subscribers.end())
                return 3u;
            found->second.destroy(found->second.context);
            d.subscribers.erase(found);
            return 0u;
        });
    }
};

struct ViewImpl : View {
    static constexpr const char* kName = "BLDocumentView";
    using Object = SODetails::ServiceObjectCppTheConcrete<
        Interface<ViewImpl, BLDocumentViewOps::kOperationCount>, ViewImpl>;

    static void Fill(Operation* ops) {
        using namespace BLDocumentViewOps;
        SetOperation<GetDocument>(ops, [](ServiceObject* self, ServiceObject** out) {
            *out = ObjectPtr(Of(self).document).Detach();
            return 0u;
        });
        SetOperation<GetSelection>(ops, [](ServiceObject* self, ServiceObject** out) {
            *out = ObjectPtr(Of(self).selection).Detach();
            return 0u;
        });
        SetOperation<PageFromPoint>(ops, [](ServiceObject*, const SL::PointI* p, uint64_t* page) {
            *page = p->x < 0 ? kNoPage : 0;
            return 0u;
        });
        SetOperation<DeviceToPage>(
            ops, [](ServiceObject*, uint64_t, const SL::PointI* p, SL::PointF* out) {
                *out = SL::PointF{p->x / 10.0f, p->y / 10.0f};
                return 0u;
            });
    }
};

struct SelectionImpl : Selection {
    static constexpr const char* kName = "BLSelection";
    using Object = SODetails::ServiceObjectCppTheConcrete<
        Interface<SelectionImpl, BLSelectionOps::kOperationCount>, SelectionImpl>;

    static void Fill(Operation* ops) {
        using namespace BLSelectionOps;
        SetOperation<GetType>(ops, [](ServiceObject* self, SLAtom* type) {
            *type = Of(self).type;
            return 0u;
        });
        SetOperation<GetQuadCount>(ops, [](ServiceObject* self, uint64_t page, uint64_t* n) {
            Selection& s = Of(self);
            ++s.quadCountsAsked;
            *n = s.quads[page].size();
            return 0u;
        });
        SetOperation<GetQuads>(ops, [](ServiceObject* self, uint64_t page, SL::Quad* out) {
            for (const SL::Quad& q : Of(self).quads[page])
                *out++ = q;
            return 0u;
        });
    }
};

} // namespace

int unsubscribeCalls = 0;

void ClearOperation(ServiceObject* object, std::size_t position) {
    auto* table = reinterpret_cast<Operation*>(reinterpret_cast<unsigned char*>(object) +
                                               SODetails::kInterfaceTableOffset);
    table[position / 8] = nullptr;
}

Document::~Document() {
    // The host ends the contexts it still holds.
    for (auto& entry : subscribers)
        entry.second.destroy(entry.second.context);
}

void Document::ContentChanged(uint64_t page) {
    auto live = subscribers; // a handler may end its own subscription
    for (auto& entry : live)
        entry.second.invoke(page, nullptr, 0, entry.second.context);
}

ObjectPtr Document::Make(PDDocument pd) {
    ObjectPtr object = ObjectPtr::Adopt(DocumentImpl::Object::New());
    Of(object.get()).pd = pd;
    return object;
}

Document& Document::Of(ServiceObject* object) {
    return DocumentImpl::Object::ImplOf(object);
}

ObjectPtr View::Make(ObjectPtr document, ObjectPtr selection) {
    ObjectPtr object = ObjectPtr::Adopt(ViewImpl::Object::New());
    Of(object.get()).document = document;
    Of(object.get()).selection = selection;
    return object;
}

View& View::Of(ServiceObject* object) {
    return ViewImpl::Object::ImplOf(object);
}

ObjectPtr Selection::Make(SLAtom type, std::map<uint64_t, std::vector<SL::Quad>> quads) {
    ObjectPtr object = ObjectPtr::Adopt(SelectionImpl::Object::New());
    Of(object.get()).type = type;
    Of(object.get()).quads = std::move(quads);
    return object;
}

Selection& Selection::Of(ServiceObject* object) {
    return SelectionImpl::Object::ImplOf(object);
}

} // namespace fakes
