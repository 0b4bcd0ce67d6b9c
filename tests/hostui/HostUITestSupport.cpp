#include "HostUITestSupport.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "service-common/ServiceObjectCall.h"
#include "ui/UIService.h"
#include "uiengine/Dispatcher.h"
#include "uiengine/Elements.h"

namespace HostUITest {

ObjectPtr OnePageDocument() {
    testsupport::Document pdf = testsupport::InMemory(1);
    testsupport::AddChar(pdf.get(), 0, L"a", testsupport::Box(10, 170, 20, 182));
    return HostBL::WrapDocument(pdf.get());
}

Desk::Desk(bool withDocumentArea, const std::string& ribbonHtml)
    : dispatcher(UIEngine::CreateDispatcher(thread)) {
    OnUI([&] {
        using UIEngine::ElementTree;
        mainWindow = HostUI::OpenWindow(
            ribbonHtml.empty() ? ElementTree::Load(ElementTree::ResourcePath("ribbon.html"))
                               : ElementTree::Parse(ribbonHtml),
            dispatcher.get(), nullptr);
        mainFrame = HostUI::CreateMainFrame(mainWindow.get());
        HostUI::SetThreadMainFrame(thread->ThreadId(), mainFrame.get());
        if (withDocumentArea)
            OpenDocumentArea();
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

HELEMENT Desk::Ribbon(const std::string& selector) const {
    std::vector<HELEMENT> found = UIEngine::Select(Tree().Root(), selector);
    EXPECT_EQ(found.size(), 1u) << selector;
    return found.empty() ? nullptr : found.front();
}

void Desk::OpenDocumentArea() {
    OnUI([&] {
        documentWindow = HostUI::OpenWindow(nullptr, dispatcher.get(), mainWindow.get());
        documentFrame = HostUI::CreateDocumentFrame(mainFrame.get(), documentWindow.get());
    });
}

ObjectPtr Desk::ShowDocument(const ObjectPtr& document) {
    return Show(HostBL::CreateView(document.get(), 400, 1200, 1));
}

ObjectPtr Desk::Show(const ObjectPtr& blView) {
    return OnUI([&] {
        ObjectPtr view = HostUI::CreateDocumentView(blView.get());
        HostUI::AddView(Collection().get(), view.get());
        HostUI::ActivateView(Collection().get(), view.get());
        return view;
    });
}

uint32_t Desk::Place(const wchar_t* group, const ObjectPtr& handler) {
    return SODetails::TryCall<RibbonBarOps::Place>(ribbonBar.get(), group, handler.get())
        .value_or(~0u);
}

} // namespace HostUITest
