#include "HostUITestSupport.h"

#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "bl/BLDocumentView.h"
#include "platform/Platform.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "ui-engine/UIDispatcher.h"
#include "ui/UIDocumentFrame.h"
#include "ui/UIDocumentView.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIMainFrame.h"
#include "ui/UIService.h"
#include "ui/UIWnd.h"
#include "uiengine/Dispatcher.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"

namespace HostUITest {

using SODetails::CallChecked;
using SODetails::TryCall;

uint32_t IdOf(const char* interfaceName) {
    return SODetails::SequenceHash(interfaceName);
}

Desk::Desk(bool withDocumentArea) : dispatcher(UIEngine::CreateDispatcher(thread)) {
    OnUI([&] {
        using UIEngine::ElementTree;
        mainWindow = HostUI::OpenWindow(
            ElementTree::Load(ElementTree::ResourcePath("ribbon.html")), dispatcher.get(), nullptr);
        mainFrame = HostUI::CreateMainFrame(mainWindow.get());
        HostUI::SetThreadMainFrame(thread->ThreadId(), mainFrame.get());
        if (withDocumentArea) {
            documentWindow = HostUI::OpenWindow(nullptr, dispatcher.get(), mainWindow.get());
            documentFrame = HostUI::CreateDocumentFrame(mainFrame.get(), documentWindow.get());
        }
        ribbonBar = HostUI::CreateRibbonBar(mainWindow.get(), thread);
    });
}

Desk::~Desk() {
    OnUI([&] {
        for (const ObjectPtr& window : {mainWindow, documentWindow})
            if (window)
                HostUI::CloseWindow(window.get());
        HostUI::SetThreadMainFrame(thread->ThreadId(), nullptr);
        ribbonBar = documentFrame = documentWindow = mainFrame = mainWindow = nullptr;
    });
    thread->Shutdown();
}

ObjectPtr Desk::ShowDocument() {
    testsupport::Document pdf = testsupport::InMemory(1);
    testsupport::AddChar(pdf.get(), 0, L"a", testsupport::Box(10, 170, 20, 182));
    const ObjectPtr document = HostBL::WrapDocument(pdf.get());
    return OnUI([&] {
        const ObjectPtr blView = HostBL::CreateView(document.get(), 300, 300, 1);
        ObjectPtr view = HostUI::CreateDocumentView(blView.get());
        HostUI::AddView(Collection().get(), view.get());
        HostUI::ActivateView(Collection().get(), view.get());
        return view;
    });
}

HELEMENT Desk::Ribbon(const std::string& selector) const {
    return UIEngine::SelectFirst(HostUI::WindowTree(mainWindow.get())->Root(), selector);
}

// ---------------------------------------------------------------------------

namespace {

struct Work {
    std::function<void()> run;
};
void RunWork(void* block) {
    static_cast<Work*>(block)->run();
}
void DestroyWork(void* block) {
    static_cast<Work*>(block)->~Work();
}

template <class Slot, class Handler>
boost::shared_ptr<SOEvent::SubscriptionBase> Subscribe(ServiceObject* source, Handler handler) {
    return SOEvent::Subscribe<Slot>(source, std::move(handler));
}

} // namespace

ObjectPtr FollowingHandler::Make() {
    return ObjectPtr::Adopt(Interface::Object::New());
}

FollowingHandler& FollowingHandler::Of(const ObjectPtr& handler) {
    return Interface::Object::ImplOf(handler.get());
}

uint32_t FollowingHandler::GetHandlerName(const char** name) {
    *name = kSignatureName;
    return 0;
}

uint32_t FollowingHandler::GetElementAttachedTo(HELEMENT* element) {
    *element = element_;
    return 0;
}

uint32_t FollowingHandler::Attached(ServiceObject* window, HELEMENT element) {
    attachedOnThread = Platform::CurrentThreadId();
    attachedTo = element_ = element;
    attachedWindow = window;
    window_ = SODetails::WeakRefPtr::Of(window);
    CallChecked<UIWndOps::GetDispatcher>(window, dispatcher_.Receive());
    CallChecked<UIWndOps::GetElementApi>(window, &api_);
    Post([this] { Bind(); });
    return 0;
}

uint32_t FollowingHandler::Detached() {
    ++detached;
    viewSubscriptions_.clear();
    subscriptions_.clear();
    dispatcher_.Reset();
    window_.Reset();
    element_ = nullptr;
    return 0;
}

void FollowingHandler::Post(std::function<void()> work) {
    uint64_t handle = 0;
    void* block = nullptr;
    CallChecked<UIDispatcherOps::AllocateBlock>(dispatcher_.get(), uint64_t(sizeof(Work)),
                                                &DestroyWork, &handle, &block);
    new (block) Work{std::move(work)};
    CallChecked<UIDispatcherOps::Post>(dispatcher_.get(), &RunWork, handle);
}

// Through the window's documents collection, or else through the main frame
// of this thread, once it has a document frame.
void FollowingHandler::Bind() {
    ++bindings;
    const ObjectPtr window = window_.Lock();
    ObjectPtr collection;
    void* record = nullptr;
    const uint32_t code = TryCall<UIWndOps::QueryServiceObject>(
                              window.get(), IdOf("UIDocumentsCollection"), UIWndOps::kForward,
                              collection.Receive(), &record)
                              .value_or(SODetails::kNotAvailable);
    auto bindTo = [this](ServiceObject* documents) {
        namespace E = UIDocumentsCollectionEvents;
        subscriptions_.push_back(Subscribe<E::OnDocumentViewActivated>(
            documents, [this](ServiceObject* view) { Follow(view); }));
        subscriptions_.push_back(
            Subscribe<E::OnDocumentViewDeactivated>(documents, [this](ServiceObject*, ServiceObject*) {
                viewSubscriptions_.clear();
                ShowState(BLViewState::kReadOnly);
            }));
        ObjectPtr active;
        CallChecked<UIDocumentsCollectionOps::GetActiveView>(documents, active.Receive());
        if (active)
            Follow(active.get());
    };
    if (code == SODetails::kOk) {
        bindTo(collection.get());
        return;
    }
    if (record)
        bindingFailure = static_cast<const ServiceObjectException*>(record)->Message();
    ObjectPtr service = SP::GetServiceObject(SODetails::AtomFromString("UIService"), "UIService");
    ObjectPtr threadObject, mainFrame;
    CallChecked<UIServiceOps::GetThreadUIObject>(service.get(), Platform::CurrentThreadId(),
                                                 threadObject.Receive());
    CallChecked<UIThreadObjectOps::GetMainFrame>(threadObject.get(), mainFrame.Receive());
    subscriptions_.push_back(Subscribe<UIMainFrameEvents::OnChildDocumentFrameCreated>(
        mainFrame.get(), [bindTo](ServiceObject* frame) {
            ObjectPtr documents;
            CallChecked<UIDocumentFrameOps::QueryServiceObject>(
                frame, IdOf("UIDocumentsCollection"), documents.Receive());
            bindTo(documents.get());
        }));
}

void FollowingHandler::Follow(ServiceObject* uiView) {
    ObjectPtr view;
    CallChecked<UIDocumentViewOps::QueryServiceObject>(uiView, IdOf("BLDocumentView"),
                                                      view.Receive());
    viewSubscriptions_.push_back(Subscribe<BLDocumentViewEvents::OnViewStateChanged>(
        view.get(), [this](uint32_t state) { ShowState(state); }));
    uint32_t state = 0;
    CallChecked<BLDocumentViewOps::GetViewState>(view.get(), &state);
    ShowState(state);
}

void FollowingHandler::ShowState(uint32_t viewState) {
    uint32_t mustHandOver = 0;
    CallChecked<UIDispatcherOps::MustHandOver>(dispatcher_.get(), &mustHandOver);
    if (mustHandOver) {
        Post([this, viewState] { ShowState(viewState); });
        return;
    }
    elementChangeThreads.push_back(Platform::CurrentThreadId());
    HELEMENT dropDown = nullptr;
    api_->SelectElements(
        element_, "#Highlight-split-item",
        [](void* context, HELEMENT found) -> uint32_t {
            *static_cast<HELEMENT*>(context) = found;
            return 1;
        },
        &dropDown);
    const bool disable = viewState & BLViewState::kReadOnly;
    api_->SetState(dropDown, disable ? UIElementState::kDisabled : 0,
                   disable ? 0 : UIElementState::kDisabled, 1);
}

} // namespace HostUITest
