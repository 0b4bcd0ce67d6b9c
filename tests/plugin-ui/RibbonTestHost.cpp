#include "RibbonTestHost.h"

#include <cstdlib>

#include "bl/BLDocumentView.h"
#include "bl/BLInputHandler.h"
#include "bl/BLService.h"
#include "service-common/ErrorReporting.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "svcbroker.h"
#include "ui/UIDocumentFrame.h"
#include "ui/UIDocumentView.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIMainFrame.h"
#include "ui/UIService.h"
#include "ui/UIWnd.h"
#include "uiengine/Dispatcher.h"
#include "uiengine/ElementApi.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace uitest {

namespace {

using SODetails::kOk;
using SODetails::Operation;
using SODetails::SetOperation;

// A test object of interface `Name` over the plain struct T.
template <class T, std::size_t Count> struct TestInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<TestInterface, T>;
    static constexpr std::size_t kOperationCount = Count;
    static const char* const kName;
    static void FillOperations(Operation* ops) { T::Fill(ops); }
    static T& Of(ServiceObject* self) { return Object::ImplOf(self); }
};

// A refusal recorded for the calling thread, as the host's objects report.
uint32_t Refused(ServiceObject* self, const wchar_t* interfaceName, void** record) {
    const uint32_t code = SODetails::Reported(SODetails::kNotAvailable, interfaceName,
                                              L"QueryServiceObject", "test", "tests", 1);
    ErrorInfo info{};
    if (record)
        SODetails::GetErrorInfo(self, &info, record);
    return code;
}

// The subscribe and unsubscribe entries of `Slot`, served by `member`.
template <class Impl, class Slot, auto member> struct EventEntries {
    static void Fill(Operation* ops) {
        SetOperation<typename Slot::Subscribe>(
            ops,
            [](ServiceObject* self, typename Slot::Invoke invoke, typename Slot::Destroy destroy,
               void* context) -> uint64_t {
                return (Impl::Interface::Of(self).*member).Subscribe(invoke, destroy, context);
            });
        SetOperation<typename Slot::Unsubscribe>(ops, [](ServiceObject* self, uint64_t handle) {
            (Impl::Interface::Of(self).*member).Unsubscribe(handle);
            return kOk;
        });
    }
};

template <class Impl> ObjectPtr NewObject() {
    return ObjectPtr::Adopt(Impl::Interface::Object::New());
}

// --- Window -------------------------------------------------------------------

struct Window : TestWindow {
    using Interface = TestInterface<Window, UIWndOps::kOperationCount>;
    static void Fill(Operation* ops) {
        SetOperation<UIWndOps::GetDispatcher>(ops, [](ServiceObject* self, ServiceObject** out) {
            *out = ObjectPtr(Interface::Of(self).dispatcher).Detach();
            return kOk;
        });
        SetOperation<UIWndOps::GetRootElement>(ops, [](ServiceObject* self, HELEMENT* root) {
            *root = Interface::Of(self).root;
            return kOk;
        });
        SetOperation<UIWndOps::GetElementApi>(ops, [](ServiceObject*, const UIElementApi** api) {
            *api = UIEngine::ElementApi();
            return kOk;
        });
        SetOperation<UIWndOps::QueryServiceObject>(
            ops,
            [](ServiceObject* self, uint32_t id, uint32_t, ServiceObject** out, void** record) {
                Window& window = Interface::Of(self);
                ObjectPtr found = id == SODetails::InterfaceId<UIDocumentsCollection>()
                                      ? window.collection
                                  : id == SODetails::InterfaceId<UIMainFrame>() ? window.mainFrame
                                                                                : ObjectPtr();
                if (!found)
                    return Refused(self, L"UIWnd", window.giveErrorRecord ? record : nullptr);
                *out = found.Detach();
                return kOk;
            });
    }
};

// --- Documents collection, frames and UI views --------------------------------

struct Collection : TestCollection {
    using Interface = TestInterface<Collection, UIDocumentsCollectionOps::kOperationCount>;
    static void Fill(Operation* ops) {
        namespace O = UIDocumentsCollectionOps;
        SetOperation<O::HasActiveView>(ops, [](ServiceObject* self, bool* has) {
            *has = static_cast<bool>(Interface::Of(self).activeView);
            return kOk;
        });
        SetOperation<O::GetActiveView>(ops, [](ServiceObject* self, ServiceObject** view) {
            *view = ObjectPtr(Interface::Of(self).activeView).Detach();
            return kOk;
        });
        SetOperation<O::IsSideBySideMode>(ops, [](ServiceObject*, bool* sideBySide) {
            *sideBySide = false;
            return kOk;
        });
        namespace E = UIDocumentsCollectionEvents;
        EventEntries<Collection, E::OnDocumentViewCreated, &Collection::created>::Fill(ops);
        EventEntries<Collection, E::OnDocumentViewActivated, &Collection::activated>::Fill(ops);
        EventEntries<Collection, E::OnDocumentViewDeactivated, &Collection::deactivated>::Fill(ops);
        EventEntries<Collection, E::OnDocumentViewClose, &Collection::close>::Fill(ops);
        EventEntries<Collection, E::OnDocumentViewDestroyed, &Collection::destroyed>::Fill(ops);
        EventEntries<Collection, E::OnSbSViewCreated, &Collection::sbsCreated>::Fill(ops);
        EventEntries<Collection, E::OnSbSViewActivated, &Collection::sbsActivated>::Fill(ops);
        EventEntries<Collection, E::OnSbSViewDeactivated, &Collection::sbsDeactivated>::Fill(ops);
        EventEntries<Collection, E::OnSbSViewDestroyed, &Collection::sbsDestroyed>::Fill(ops);
    }
};

struct MainFrame : TestMainFrame {
    using Interface = TestInterface<MainFrame, UIMainFrameOps::kOperationCount>;
    static void Fill(Operation* ops) {
        SetOperation<UIMainFrameOps::GetDocumentsCollection>(
            ops, [](ServiceObject* self, ServiceObject** collection) {
                *collection = ObjectPtr(Interface::Of(self).collection).Detach();
                return kOk;
            });
        EventEntries<MainFrame, UIMainFrameEvents::OnChildDocumentFrameCreated,
                     &MainFrame::childFrameCreated>::Fill(ops);
    }
};

// Document frames and UI views answer one query: the object they hold.
template <std::size_t Count> struct Holder {
    using Interface = TestInterface<Holder, Count>;
    ObjectPtr held;
    static void Fill(Operation* ops) {
        SetOperation<SODetails::OperationSlot<0, uint32_t(uint32_t, ServiceObject**)>>(
            ops, [](ServiceObject* self, uint32_t, ServiceObject** out) {
                ObjectPtr held = Interface::Of(self).held;
                if (!held)
                    return Refused(self, L"UIDocumentView", nullptr);
                *out = held.Detach();
                return kOk;
            });
    }
};
using DocumentFrame = Holder<UIDocumentFrameOps::kOperationCount>;
using DocumentView = Holder<UIDocumentViewOps::kOperationCount>;

// --- "UIService" -------------------------------------------------------------

struct ThreadUI {
    using Interface = TestInterface<ThreadUI, UIThreadObjectOps::kOperationCount>;
    ObjectPtr mainFrame;
    static void Fill(Operation* ops) {
        SetOperation<UIThreadObjectOps::GetMainFrame>(
            ops, [](ServiceObject* self, ServiceObject** out) {
                *out = ObjectPtr(Interface::Of(self).mainFrame).Detach();
                return kOk;
            });
    }
};

struct UIService {
    using Interface = TestInterface<UIService, UIServiceOps::kOperationCount>;
    uint32_t uiThread = 0;
    ObjectPtr threadUI;
    static void Fill(Operation* ops) {
        SetOperation<UIServiceOps::GetThreadUIObject>(
            ops, [](ServiceObject* self, uint32_t threadId, ServiceObject** out) {
                UIService& service = Interface::Of(self);
                *out =
                    threadId == service.uiThread ? ObjectPtr(service.threadUI).Detach() : nullptr;
                return kOk;
            });
    }
};

ObjectPtr gUIService;

uint32_t ShareUIService(void*, ServiceObject** out) {
    *out = ObjectPtr(gUIService).Detach();
    return kOk;
}

// --- A view the user may not annotate -------------------------------------------

struct Locked : LockedView {
    using Interface = TestInterface<Locked, BLDocumentViewOps::kOperationCount>;
    static void Fill(Operation* ops) {
        namespace O = BLDocumentViewOps;
        SetOperation<O::GetViewState>(ops, [](ServiceObject* self, uint32_t* state) {
            *state = Interface::Of(self).viewState;
            return kOk;
        });
        SetOperation<O::IsOperationAllowed>(
            ops, [](ServiceObject* self, uint32_t, uint32_t, bool, bool, bool* allowed) {
                *allowed = Interface::Of(self).allowed;
                return kOk;
            });
        SetOperation<O::GetActiveTool>(ops, [](ServiceObject*, SLAtom* tool) {
            *tool = 0;
            return kOk;
        });
        SetOperation<O::EndActiveTool>(ops, [](ServiceObject* self, bool) {
            ++Interface::Of(self).toolCalls;
            return kOk;
        });
        SetOperation<O::SetActiveTool>(ops, [](ServiceObject* self, SLAtom, ServiceObject*) {
            ++Interface::Of(self).toolCalls;
            return kOk;
        });
        EventEntries<Locked, BLDocumentViewEvents::OnViewStateChanged,
                     &Locked::viewStateChanged>::Fill(ops);
    }
};

// --- The host's services and the markup tool ------------------------------------

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

template <class T, std::size_t Count> const char* const TestInterface<T, Count>::kName = "Test";

ObjectPtr TestWindow::Make() {
    return NewObject<Window>();
}
TestWindow& TestWindow::Of(const ObjectPtr& window) {
    return Window::Interface::Of(window.get());
}

ObjectPtr MakeDocumentView(ObjectPtr blView) {
    ObjectPtr view = NewObject<DocumentView>();
    DocumentView::Interface::Of(view.get()).held = std::move(blView);
    return view;
}

ObjectPtr TestCollection::Make() {
    return NewObject<Collection>();
}
TestCollection& TestCollection::Of(const ObjectPtr& collection) {
    return Collection::Interface::Of(collection.get());
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

ObjectPtr TestMainFrame::Make() {
    return NewObject<MainFrame>();
}
TestMainFrame& TestMainFrame::Of(const ObjectPtr& frame) {
    return MainFrame::Interface::Of(frame.get());
}

void TestMainFrame::CreateChildFrame(ObjectPtr frameCollection) {
    ObjectPtr frame = NewObject<DocumentFrame>();
    DocumentFrame::Interface::Of(frame.get()).held = std::move(frameCollection);
    childFrameCreated.Raise(frame.get());
}

void RegisterUIService(uint32_t uiThread, ObjectPtr mainFrame) {
    gUIService = NewObject<UIService>();
    UIService& service = UIService::Interface::Of(gUIService.get());
    service.uiThread = uiThread;
    service.threadUI = NewObject<ThreadUI>();
    ThreadUI::Interface::Of(service.threadUI.get()).mainFrame = std::move(mainFrame);
    ServiceProviderRegHostService("UIService", &ShareUIService, nullptr, "multiple");
}

void UnregisterUIService() {
    ServiceProviderUnregHostService("UIService");
    gUIService.Reset();
}

ObjectPtr LockedView::Make() {
    return NewObject<Locked>();
}
LockedView& LockedView::Of(const ObjectPtr& view) {
    return Locked::Interface::Of(view.get());
}

ObjectPtr NewTextDocument() {
    std::vector<testsupport::Page> pages;
    for (int n = 1; n <= 5; ++n)
        pages.push_back({{0, 0, 300, 200},
                         {0, 0, 300, 200},
                         0,
                         {{20, 150, 12, "Page " + std::to_string(n) + " has some words"}}});
    testsupport::Document document = testsupport::BuildInMemory(pages);
    return HostBL::WrapDocument(document.get());
}

RibbonTest::RibbonTest() {
    // A settings store of this test's own: the handlers store last colours.
    setenv("VELLUM_SETTINGS", scratch.Path("settings.sqlite3").c_str(), 1);
    UseHostServices();
    tree = UIEngine::ElementTree::Load(UIEngine::ElementTree::ResourcePath("ribbon.html"));
    TestWindow& w = TestWindow::Of(window);
    w.dispatcher = UIEngine::CreateDispatcher(thread);
    w.collection = collection;
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
    TestWindow::Of(window).root = tree->Root();
    OnUI([this] {
        UIEngine::AttachHandler(One("#Markup"), markupHandler.get(), window.get());
        UIEngine::AttachHandler(One("#Font"), fontHandler.get(), window.get());
    });
    thread->WaitIdle();
}

ObjectPtr RibbonTest::ShowDocument(const ObjectPtr& document) {
    ObjectPtr view = HostBL::CreateView(document.get(), 400, 1200, 1.0f);
    ObjectPtr uiView = MakeDocumentView(view);
    OnUI([&] { TestCollection::Of(collection).Activate(uiView); });
    thread->WaitIdle();
    return view;
}

} // namespace uitest
