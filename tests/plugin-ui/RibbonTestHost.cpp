#include "RibbonTestHost.h"

#include <cstdlib>

#include "bl/BLInputHandler.h"
#include "bl/BLService.h"
#include "service-common/ErrorReporting.h"
#include "svcbroker.h"
#include "ui/UIDocumentFrame.h"
#include "ui/UIDocumentView.h"
#include "uiengine/Dispatcher.h"
#include "uiengine/ElementApi.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace uitest {

namespace {

using SODetails::kOk;
using SODetails::Operation;
using SODetails::SetOperation;

// A refused query, recorded for the calling thread as the host's objects
// record their failures; `record` (when asked) receives the record.
uint32_t Refused(ServiceObject* self, void** record) {
    const uint32_t code = SODetails::Reported(SODetails::kNotAvailable, L"UIWnd",
                                              L"QueryServiceObject", "test", "tests", 1);
    ErrorInfo info{};
    if (record)
        SODetails::GetErrorInfo(self, &info, record);
    return code;
}

// The subscribe and unsubscribe entries of `Slot`, served by the event
// `member` of T.
template <class T, class Slot, auto member> void FillEvent(Operation* ops) {
    SetOperation<typename Slot::Subscribe>(
        ops,
        [](ServiceObject* self, typename Slot::Invoke invoke, typename Slot::Destroy destroy,
           void* context) { return (Of<T>(self).*member).Subscribe(invoke, destroy, context); });
    SetOperation<typename Slot::Unsubscribe>(ops, [](ServiceObject* self, uint64_t handle) {
        (Of<T>(self).*member).Unsubscribe(handle);
        return kOk;
    });
}

// Document frames and UI views answer one query: the object they hold.
template <std::size_t Count> struct Holder {
    static constexpr std::size_t kOperationCount = Count;
    ObjectPtr held;
    static void Fill(Operation* ops) {
        SetOperation<UIDocumentViewOps::QueryServiceObject>(
            ops, [](ServiceObject* self, uint32_t, ServiceObject** out) {
                *out = ObjectPtr(Of<Holder>(self).held).Detach();
                return kOk;
            });
    }
};
using DocumentFrame = Holder<UIDocumentFrameOps::kOperationCount>;
using DocumentView = Holder<UIDocumentViewOps::kOperationCount>;

uint32_t MakeHostService(void* name, ServiceObject** out) {
    *out = HostBL::NewService(static_cast<const char*>(name)).Detach();
    return kOk;
}

// The business-logic services of the host library, and the markup tool in
// their registry, as the plug-in's registration leaves it.
void UseHostServices() {
    static bool registered = false;
    if (registered)
        return;
    for (const char* name : {"BLService", "GraphicsFactory", "BLAuthor"})
        ServiceProviderRegHostService(name, &MakeHostService, const_cast<char*>(name), "single");
    ObjectPtr service, registry;
    ServiceProviderGetServiceObject(BLServiceOps::kFixedAtom, service.Receive(), nullptr);
    SODetails::CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(),
                                                                  registry.Receive());
    using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;
    SODetails::CallChecked<BLInputHandlerRegistryOps::Register>(
        registry.get(), SODetails::AtomFromString(Tool::kToolName), Tool::Factory::Make().get());
    registered = true;
}

ObjectPtr CreateHandler(const char* name) {
    ObjectPtr handler;
    CreateServiceObject(SODetails::AtomFromString(name), handler.Receive());
    return handler;
}

} // namespace

void TestWindow::Fill(Operation* ops) {
    SetOperation<UIWndOps::GetDispatcher>(ops, [](ServiceObject* self, ServiceObject** out) {
        *out = ObjectPtr(Of<TestWindow>(self).dispatcher).Detach();
        return kOk;
    });
    SetOperation<UIWndOps::GetRootElement>(ops, [](ServiceObject* self, HELEMENT* root) {
        *root = Of<TestWindow>(self).root;
        return kOk;
    });
    SetOperation<UIWndOps::GetElementApi>(ops, [](ServiceObject*, const UIElementApi** api) {
        *api = UIEngine::ElementApi();
        return kOk;
    });
    SetOperation<UIWndOps::QueryServiceObject>(
        ops, [](ServiceObject* self, uint32_t id, uint32_t, ServiceObject** out, void** record) {
            TestWindow& window = Of<TestWindow>(self);
            ObjectPtr found;
            if (id == SODetails::InterfaceId<UIDocumentsCollection>())
                found = window.collection;
            else if (id == SODetails::InterfaceId<UIMainFrame>())
                found = window.mainFrame;
            if (!found)
                return Refused(self, window.giveErrorRecord ? record : nullptr);
            *out = found.Detach();
            return kOk;
        });
}

void TestCollection::Fill(Operation* ops) {
    namespace O = UIDocumentsCollectionOps;
    SetOperation<O::HasActiveView>(ops, [](ServiceObject* self, bool* has) {
        *has = static_cast<bool>(Of<TestCollection>(self).activeView);
        return kOk;
    });
    SetOperation<O::GetActiveView>(ops, [](ServiceObject* self, ServiceObject** view) {
        *view = ObjectPtr(Of<TestCollection>(self).activeView).Detach();
        return kOk;
    });
    namespace E = UIDocumentsCollectionEvents;
    using C = TestCollection;
    FillEvent<C, E::OnDocumentViewCreated, &C::created>(ops);
    FillEvent<C, E::OnDocumentViewActivated, &C::activated>(ops);
    FillEvent<C, E::OnDocumentViewDeactivated, &C::deactivated>(ops);
    FillEvent<C, E::OnDocumentViewClose, &C::close>(ops);
    FillEvent<C, E::OnDocumentViewDestroyed, &C::destroyed>(ops);
    FillEvent<C, E::OnSbSViewCreated, &C::sbsCreated>(ops);
    FillEvent<C, E::OnSbSViewActivated, &C::sbsActivated>(ops);
    FillEvent<C, E::OnSbSViewDeactivated, &C::sbsDeactivated>(ops);
    FillEvent<C, E::OnSbSViewDestroyed, &C::sbsDestroyed>(ops);
}

void TestCollection::Activate(ObjectPtr view) {
    Deactivate();
    activeView = view;
    activated.Raise(view.get());
}

void TestCollection::Deactivate() {
    if (ObjectPtr old = std::move(activeView))
        deactivated.Raise(old.get(), nullptr);
}

std::size_t TestCollection::Subscribers() {
    return created.Count() + activated.Count() + deactivated.Count() + close.Count() +
           destroyed.Count() + sbsCreated.Count() + sbsActivated.Count() + sbsDeactivated.Count() +
           sbsDestroyed.Count();
}

void TestMainFrame::Fill(Operation* ops) {
    SetOperation<UIMainFrameOps::GetDocumentsCollection>(
        ops, [](ServiceObject* self, ServiceObject** collection) {
            *collection = ObjectPtr(Of<TestMainFrame>(self).collection).Detach();
            return kOk;
        });
    FillEvent<TestMainFrame, UIMainFrameEvents::OnChildDocumentFrameCreated,
              &TestMainFrame::childFrameCreated>(ops);
}

void TestMainFrame::CreateChildFrame(ObjectPtr frameCollection) {
    ObjectPtr frame = Make<DocumentFrame>();
    Of<DocumentFrame>(frame).held = std::move(frameCollection);
    childFrameCreated.Raise(frame.get());
}

ObjectPtr MakeDocumentView(ObjectPtr blView) {
    ObjectPtr view = Make<DocumentView>();
    Of<DocumentView>(view).held = std::move(blView);
    return view;
}

void LockedView::Fill(Operation* ops) {
    namespace O = BLDocumentViewOps;
    SetOperation<O::GetViewState>(ops, [](ServiceObject* self, uint32_t* state) {
        *state = Of<LockedView>(self).viewState;
        return kOk;
    });
    SetOperation<O::IsOperationAllowed>(
        ops, [](ServiceObject* self, uint32_t, uint32_t, bool, bool, bool* allowed) {
            *allowed = Of<LockedView>(self).allowed;
            return kOk;
        });
    SetOperation<O::EndActiveTool>(ops, [](ServiceObject* self, bool) {
        ++Of<LockedView>(self).toolCalls;
        return kOk;
    });
    SetOperation<O::SetActiveTool>(ops, [](ServiceObject* self, SLAtom, ServiceObject*) {
        ++Of<LockedView>(self).toolCalls;
        return kOk;
    });
    FillEvent<LockedView, BLDocumentViewEvents::OnViewStateChanged, &LockedView::viewStateChanged>(
        ops);
}

ObjectPtr NewTextDocument() {
    std::vector<testsupport::Page> pages;
    for (int n = 1; n <= 5; ++n)
        pages.push_back({{0, 0, 300, 200},
                         {0, 0, 300, 200},
                         0,
                         {{20, 150, 12, "Page " + std::to_string(n) + " has some words"}}});
    return HostBL::WrapDocument(testsupport::BuildInMemory(pages).get());
}

RibbonTest::RibbonTest() {
    // A settings store of this test's own: the handlers store last colours.
    setenv("VELLUM_SETTINGS", scratch.Path("settings.sqlite3").c_str(), 1);
    UseHostServices();
    tree = UIEngine::ElementTree::Load(UIEngine::ElementTree::ResourcePath("ribbon.html"));
    Of<TestWindow>(window).dispatcher = UIEngine::CreateDispatcher(thread);
    Of<TestWindow>(window).collection = collection;
    markupHandler = CreateHandler("UIReviewMarkupGroupHandler");
    fontHandler = CreateHandler("UIReviewFontGroupTextMarkupControlHandler");
}

RibbonTest::~RibbonTest() {
    OnUI([this] { tree.reset(); });
    thread->Shutdown();
}

HELEMENT RibbonTest::One(const std::string& selector) const {
    std::vector<HELEMENT> found = UIEngine::Select(tree->Root(), selector);
    EXPECT_EQ(found.size(), 1u) << selector;
    return found.empty() ? nullptr : found.front();
}

void RibbonTest::AttachHandlers() {
    Of<TestWindow>(window).root = tree->Root();
    OnUI([this] {
        UIEngine::AttachHandler(One("#Markup"), markupHandler.get(), window.get());
        UIEngine::AttachHandler(One("#Font"), fontHandler.get(), window.get());
    });
    thread->WaitIdle();
}

void RibbonTest::Activate(const ObjectPtr& blView) {
    ObjectPtr uiView = MakeDocumentView(blView);
    OnUI([&] { Of<TestCollection>(collection).Activate(uiView); });
    thread->WaitIdle();
}

ObjectPtr RibbonTest::ShowDocument(const ObjectPtr& document) {
    ObjectPtr view = HostBL::CreateView(document.get(), 400, 1200, 1.0f);
    Activate(view);
    return view;
}

} // namespace uitest
