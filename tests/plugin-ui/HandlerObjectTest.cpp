// The UI handler object as the engine meets it: its table, attachment to a
// window, queries forwarded to the window, and work handed over to the UI
// thread.
#include <mutex>
#include <thread>

#include "RibbonTestHost.h"
#include "platform/Platform.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectException.h"
#include "ui/UIDocumentsCollection.h"
#include "uiengine/Dispatcher.h"

namespace uitest {
namespace {

using namespace UIHandlerOps;

template <class Slot, class... Args> uint32_t Call(const ObjectPtr& handler, Args... args) {
    return SODetails::TryCall<Slot>(handler.get(), args...).value_or(0xDEAD);
}

template <class... Slots> void ExpectInputDeclined(const ObjectPtr& handler) {
    uint32_t handled = 0;
    for (uint32_t code : {Call<Slots>(handler, &handled, HELEMENT(nullptr), nullptr)...})
        EXPECT_EQ(code, SODetails::kDeclined);
    EXPECT_EQ(handled, 0u);
}

template <class... Slots> void ExpectNoticesDeclined(const ObjectPtr& handler) {
    for (uint32_t code : {Call<Slots>(handler)...})
        EXPECT_EQ(code, SODetails::kDeclined);
}

HELEMENT AttachedTo(const ObjectPtr& handler) {
    HELEMENT element = reinterpret_cast<HELEMENT>(1);
    EXPECT_EQ(Call<GetElementAttachedTo>(handler, &element), SODetails::kOk);
    return element;
}

// The handler's failure when it forwards `id` to its window.
ServiceObjectException QueryFailure(const ObjectPtr& handler, uint32_t id) {
    ServiceObject* out = nullptr;
    try {
        Call<QueryServiceObject>(handler, id, &out, uint8_t{1}, uint8_t{0});
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(out, nullptr);
        return e;
    }
    ADD_FAILURE() << "no exception";
    return ServiceObjectException(0, L"", "", "", 0);
}

TEST_F(RibbonTest, EveryOperationAnswersAndOnlyEventsAreTaken) {
    for (const ObjectPtr& handler : {markupHandler, fontHandler}) {
        ExpectInputDeclined<HandleMouse, HandleKey, HandleFocus, HandleTimer, HandleSize,
                            HandleScroll, HandleDraw, HandleMethodCall, HandleScriptCall,
                            HandleDataArrived, HandleGesture, HandleExchange>(handler);
        ExpectNoticesDeclined<OnDocumentComplete, OnInplacePluginsInitialized, OnInitComplete,
                              OnLocaleChanged>(handler);
        EXPECT_EQ(AttachedTo(handler), nullptr);
    }
    AttachHandlers();
    EXPECT_EQ(AttachedTo(markupHandler), One("#Markup"));
    EXPECT_EQ(AttachedTo(fontHandler), One("#Font"));
    uint32_t events = 0;
    EXPECT_EQ(Call<GetSubscribedEvents>(fontHandler, &events), SODetails::kOk);
    EXPECT_EQ(events, 0x100u);
}

// A second Attached takes the new window's dispatcher and element (the
// root, for element 0) and lets the first dispatcher go.
TEST_F(RibbonTest, AttachedTwiceReplacesDispatcherAndElement) {
    const ObjectPtr first = desk.dispatcher;
    const uint32_t held = first->common.GetRefCount(first.get());
    const ObjectPtr second = OnUI([&] {
        return HostUI::OpenWindow(UIEngine::ElementTree::Parse("<p>"),
                                  UIEngine::CreateDispatcher(desk.thread).get(), nullptr);
    });

    OnUI([&] { Call<Attached>(markupHandler, desk.mainWindow.get(), One("#Markup")); });
    EXPECT_EQ(first->common.GetRefCount(first.get()), held + 1);
    OnUI([&] { Call<Attached>(markupHandler, second.get(), HELEMENT(nullptr)); });
    EXPECT_EQ(first->common.GetRefCount(first.get()), held);
    EXPECT_EQ(AttachedTo(markupHandler), HostUI::WindowTree(second.get())->Root());
    EXPECT_EQ(Markup().Window(), second);

    OnUI([&] { Call<Detached>(markupHandler); });
    EXPECT_EQ(AttachedTo(markupHandler), nullptr);
    EXPECT_FALSE(Markup().Window());
    OnUI([&] { HostUI::CloseWindow(second.get()); });
}

// A window that gives no dispatcher: the handler is attached, but the
// binding it would leave to the UI thread is dropped (run at once, it would
// bind through the UI thread's main frame). Without the window's error
// record, the handler describes a failed query itself.
TEST_F(RibbonTest, WindowWithoutDispatcherNeverBindsAndQueriesFailWithTheHandlersText) {
    const ObjectPtr window = ObjectPtr::Adopt(BareWindow::Object::New());
    BareWindow::Object::ImplOf(window.get()).root = desk.Tree().Root();
    OnUI([&] { Call<Attached>(markupHandler, window.get(), One("#Markup")); });
    desk.thread->WaitIdle();
    EXPECT_EQ(AttachedTo(markupHandler), One("#Markup"));
    desk.ShowDocument();
    EXPECT_FALSE(Markup().LockCollection());
    EXPECT_TRUE(StateOf("#Highlight-split-item") & UIElementState::kDisabled);

    const uint32_t unknown = SODetails::SequenceHash("UINothing");
    const ServiceObjectException e = QueryFailure(markupHandler, unknown);
    EXPECT_EQ(e.Code(), SODetails::kNoSuchServiceObject);
    EXPECT_EQ(e.Message(),
              L"Failed to query service object ID:" + std::to_wstring(unknown) + L" from UIWnd!");
    EXPECT_EQ(e.Function(), "SOImpl::UIHandlerStdImpl<class MarkupGroupHandler,class "
                            "UIEngineTraits>::OnQueryServiceObject");
    EXPECT_EQ(e.Line(), 276u);
    OnUI([&] { Call<Detached>(markupHandler); });
}

// Forwarded, the window answers; not forwarded, the handler declines; the
// window's own failure record travels with the exception.
TEST_F(RibbonTest, QueriesTheHandlerCannotAnswerGoToTheWindow) {
    AttachHandlers();
    const uint32_t collectionId = SODetails::InterfaceId<UIDocumentsCollection>();
    ServiceObject* out = nullptr;
    EXPECT_EQ(Call<QueryServiceObject>(markupHandler, collectionId, &out, uint8_t{1}, uint8_t{0}),
              SODetails::kOk);
    EXPECT_EQ(ObjectPtr::Adopt(out), desk.Collection());
    out = nullptr;
    EXPECT_EQ(Call<QueryServiceObject>(markupHandler, collectionId, &out, uint8_t{0}, uint8_t{0}),
              SODetails::kDeclined);
    EXPECT_EQ(out, nullptr);

    const ServiceObjectException e =
        QueryFailure(markupHandler, SODetails::SequenceHash("BLDocumentView"));
    EXPECT_EQ(e.Code(), SODetails::kNotAvailable);
    EXPECT_EQ(e.Message(), L"the window has no \"BLDocumentView\" service object");
}

// A view event raised on another thread than the UI thread changes the
// elements on the UI thread, after the raising thread handed it over.
TEST_F(DocumentShown, ViewEventsFromAnotherThreadAreHandedOver) {
    std::mutex mutex;
    std::vector<uint32_t> changedOn;
    desk.Tree().AddListener([&](const UIEngine::ElementChange&) {
        std::lock_guard<std::mutex> lock(mutex);
        changedOn.push_back(Platform::CurrentThreadId());
    });

    std::thread([&] { HostBL::SetReadOnly(view.get(), true); }).join();
    desk.thread->WaitIdle();
    EXPECT_TRUE(StateOf("#Underline-split-item") & UIElementState::kDisabled);
    EXPECT_TRUE(StateOf("div .font-strike-icon") & UIElementState::kDisabled);
    HostBL::SetReadOnly(view.get(), false);
    desk.thread->WaitIdle();
    EXPECT_FALSE(StateOf("div .font-strike-icon") & UIElementState::kDisabled);
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(changedOn.size(), 12u); // three drop-down parts, three icons: off, then on
    for (uint32_t id : changedOn)
        EXPECT_EQ(id, desk.thread->ThreadId());
}

} // namespace
} // namespace uitest
