// The host's UI objects through their flat tables: what windows answer and
// forward, the documents collection's events, the main frame's document
// frames, "UIService", "UIEngine" and the side-by-side view.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "HostUITestSupport.h"
#include "platform/Platform.h"
#include "service-common/EventSubscription.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "ui/UIDocumentView.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIEngineService.h"
#include "ui/UIMainFrame.h"
#include "ui/UIService.h"
#include "ui/UIWnd.h"

namespace HostUITest {
namespace {

using SODetails::CallChecked;
using SODetails::kNotAvailable;
using SODetails::kOk;
using SODetails::TryCall;

struct Answer {
    uint32_t code;
    ObjectPtr object;
    std::wstring failure; // the error record's message
};

Answer Query(ServiceObject* window, const char* interfaceName, uint32_t flags = 0) {
    Answer answer;
    void* record = nullptr;
    answer.code =
        TryCall<UIWndOps::QueryServiceObject>(window, SODetails::SequenceHash(interfaceName), flags,
                                              answer.object.Receive(), &record)
            .value_or(~0u);
    if (record)
        answer.failure = static_cast<const ServiceObjectException*>(record)->Message();
    return answer;
}

ObjectPtr Service(const char* name) {
    return SP::GetServiceObject(SODetails::AtomFromString(name), name);
}

TEST(UIObjects, WindowsAnswerTheirFramesForwardWhatTheyLackAndCloseForGood) {
    Desk desk;
    desk.OnUI([&] {
        ServiceObject* documents = desk.documentWindow.get();
        EXPECT_EQ(Query(documents, "UIDocumentsCollection").object, desk.Collection());
        EXPECT_EQ(Query(documents, "UIDocumentFrame").object, desk.documentFrame);
        EXPECT_EQ(Query(documents, "UIWnd").object, desk.documentWindow);
        EXPECT_EQ(Query(documents, "UIDispatcher").object, desk.dispatcher);
        EXPECT_EQ(Query(documents, "UIMainFrame").code, kNotAvailable);
        EXPECT_EQ(Query(documents, "UIMainFrame", UIWndOps::kForward).object, desk.mainFrame);

        HELEMENT root = nullptr;
        CallChecked<UIWndOps::GetRootElement>(desk.mainWindow.get(), &root);
        EXPECT_EQ(root, HostUI::WindowTree(desk.mainWindow.get())->Root());
        EXPECT_EQ(TryCall<UIWndOps::GetRootElement>(documents, &root), kNotAvailable)
            << "a window without elements";
    });

    uint64_t handle = 0;
    CallChecked<UIWndOps::GetHandle>(desk.documentWindow.get(), &handle);
    const ObjectPtr engine = Service("UIEngine");
    ObjectPtr window;
    CallChecked<UIEngineServiceOps::GetWindow>(engine.get(), handle, window.Receive());
    EXPECT_EQ(window, desk.documentWindow);

    desk.OnUI([&] { HostUI::CloseWindow(desk.documentWindow.get()); });
    bool valid = true;
    CallChecked<UIWndOps::IsValid>(desk.documentWindow.get(), &valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(TryCall<UIEngineServiceOps::GetWindow>(engine.get(), handle, window.Receive()),
              kNotAvailable);
    const Answer closed = Query(desk.documentWindow.get(), "UIDocumentsCollection");
    EXPECT_EQ(closed.code, kNotAvailable);
    EXPECT_EQ(closed.failure, L"the window is closed");
}

TEST(UIObjects, TheCollectionRaisesItsEventsAsViewsComeActivateAndGo) {
    Desk desk;
    const ObjectPtr collection = desk.Collection();
    std::vector<std::tuple<const char*, ServiceObject*, ServiceObject*>> seen; // event, views
    auto note = [&](const char* event) {
        return [&seen, event](ServiceObject* view) { seen.emplace_back(event, view, nullptr); };
    };
    bool keepOpenOnce = true;
    namespace E = UIDocumentsCollectionEvents;
    using SOEvent::Subscribe;
    const std::vector<boost::shared_ptr<SOEvent::SubscriptionBase>> subscriptions = {
        Subscribe<E::OnDocumentViewCreated>(collection.get(), note("created")),
        Subscribe<E::OnDocumentViewActivated>(collection.get(), note("activated")),
        Subscribe<E::OnDocumentViewDeactivated>(collection.get(),
                                                [&](ServiceObject* view, ServiceObject* next) {
                                                    seen.emplace_back("deactivated", view, next);
                                                }),
        Subscribe<E::OnDocumentViewClose>(collection.get(),
                                          [&](ServiceObject* view, bool* keepOpen) {
                                              seen.emplace_back("close", view, nullptr);
                                              *keepOpen = std::exchange(keepOpenOnce, false);
                                          }),
        Subscribe<E::OnDocumentViewDestroyed>(collection.get(), note("destroyed")),
        Subscribe<E::OnSbSViewCreated>(collection.get(), note("sbs created")),
        Subscribe<E::OnSbSViewActivated>(collection.get(), note("sbs activated")),
        Subscribe<E::OnSbSViewDeactivated>(collection.get(), note("sbs deactivated")),
        Subscribe<E::OnSbSViewDestroyed>(collection.get(), note("sbs destroyed")),
    }; // a subscription that failed shows as its events missing below

    const ObjectPtr a = desk.Show(HostBL::CreateView(NewTextDocument().get(), 400, 1200, 1));
    const ObjectPtr b = desk.Show(HostBL::CreateView(NewTextDocument().get(), 400, 1200, 1));
    desk.OnUI([&] { HostUI::ActivateView(collection.get(), b.get()); }); // active already
    bool has = false;
    ObjectPtr active;
    CallChecked<UIDocumentsCollectionOps::HasActiveView>(collection.get(), &has);
    CallChecked<UIDocumentsCollectionOps::GetActiveView>(collection.get(), active.Receive());
    EXPECT_EQ(std::make_pair(has, active), std::make_pair(true, b));

    const ObjectPtr sbs = HostUI::CreateSideBySideView(100, 100, 1);
    desk.OnUI([&] {
        EXPECT_FALSE(HostUI::CloseView(collection.get(), b.get())) << "a handler kept it open";
        EXPECT_TRUE(HostUI::CloseView(collection.get(), b.get()));
        HostUI::AddSideBySideView(collection.get(), sbs.get());
        HostUI::ActivateSideBySideView(collection.get(), sbs.get());
        bool sideBySide = false;
        CallChecked<UIDocumentsCollectionOps::IsSideBySideMode>(collection.get(), &sideBySide);
        EXPECT_TRUE(sideBySide);
        HostUI::CloseSideBySideView(collection.get(), sbs.get());
        CallChecked<UIDocumentsCollectionOps::IsSideBySideMode>(collection.get(), &sideBySide);
        EXPECT_FALSE(sideBySide);
    });

    const std::map<ServiceObject*, std::string> names = {
        {nullptr, "-"}, {a.get(), "A"}, {b.get(), "B"}, {sbs.get(), "S"}};
    std::vector<std::string> lines;
    for (const auto& [event, view, other] : seen)
        lines.push_back(std::string(event) + " " + names.at(view) +
                        (other ? " for " + names.at(other) : ""));
    EXPECT_EQ(lines, (std::vector<std::string>{"created A", "activated A", "created B",
                                               "deactivated A for B", "activated B", "close B",
                                               "close B", "deactivated B for A", "activated A",
                                               "destroyed B", "sbs created S", "sbs activated S",
                                               "sbs deactivated S", "sbs destroyed S"}));
    EXPECT_EQ(HostUI::Views(collection.get()), std::vector<ObjectPtr>{a});
}

// Before its first document frame a main frame has no documents collection;
// the plug-in's handlers follow its announcement of that frame and bind to
// the new collection (WithoutDocumentArea.*), and its scripted action finds
// the view through UIService's main frame of the UI thread.
TEST(UIObjects, AMainFrameHasNoCollectionBeforeItsFirstDocumentFrameAndUIServiceFindsIt) {
    Desk desk(/*withDocumentArea=*/false);
    ObjectPtr collection;
    CallChecked<UIMainFrameOps::GetDocumentsCollection>(desk.mainFrame.get(), collection.Receive());
    EXPECT_FALSE(collection);
    EXPECT_EQ(Query(desk.mainWindow.get(), "UIDocumentsCollection").code, kNotAvailable);

    const ObjectPtr service = Service("UIService");
    ObjectPtr threadObject, mainFrame;
    CallChecked<UIServiceOps::GetThreadUIObject>(service.get(), desk.thread->ThreadId(),
                                                 threadObject.Receive());
    CallChecked<UIThreadObjectOps::GetMainFrame>(threadObject.get(), mainFrame.Receive());
    EXPECT_EQ(mainFrame, desk.mainFrame);
    CallChecked<UIServiceOps::GetThreadUIObject>(service.get(), Platform::CurrentThreadId(),
                                                 threadObject.Receive());
    EXPECT_FALSE(threadObject) << "this thread runs no windows";
}

TEST(UIObjects, TheSideBySideViewOpensDocumentsByPathBesideEachOther) {
    const ObjectPtr sbs = HostUI::CreateSideBySideView(400, 400, 0.5f);
    const std::wstring sample = SAMPLE_PDF;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(TryCall<UIDocumentViewSbSOps::OpenDocument>(sbs.get(), sample.c_str()), kOk);
    EXPECT_EQ(HostUI::SideBySideViews(sbs.get()).size(), 2u);

    const std::wstring missing = L"/nonexistent/missing.pdf";
    EXPECT_EQ(TryCall<UIDocumentViewSbSOps::OpenDocument>(sbs.get(), missing.c_str()),
              kNotAvailable);
    ErrorInfo info{};
    void* record = nullptr;
    sbs->common.GetErrorInfo(sbs.get(), &info, &record);
    EXPECT_NE(std::wstring(info.message).find(L"missing.pdf"), std::wstring::npos) << info.message;
}

} // namespace
} // namespace HostUITest
