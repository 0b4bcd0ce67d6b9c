#include "HostUITestSupport.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "service-common/ServiceObjectCall.h"
#include "ui/UIService.h"
#include "uiengine/Dispatcher.h"

namespace HostUITest {

ObjectPtr NewTextDocument() {
    std::vector<testsupport::Page> pages;
    const PDRectF box{0, 0, 300, 200};
    for (int n = 1; n <= 5; ++n)
        pages.push_back(
            {box, box, 0, {{20, 150, 12, "Page " + std::to_string(n) + " has some words"}}});
    return HostBL::WrapDocument(testsupport::BuildInMemory(pages).get());
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

void Desk::OpenDocumentArea() {
    OnUI([&] {
        documentWindow = HostUI::OpenWindow(nullptr, dispatcher.get(), mainWindow.get());
        documentFrame = HostUI::CreateDocumentFrame(mainFrame.get(), documentWindow.get());
    });
}

ObjectPtr Desk::ShowDocument(const ObjectPtr& document) {
    ObjectPtr view = HostBL::CreateView(document.get(), 400, 1200, 1);
    Show(view);
    return view;
}

ObjectPtr Desk::Show(const ObjectPtr& blView) {
    const ObjectPtr shown = OnUI([&] {
        ObjectPtr view = HostUI::CreateDocumentView(blView.get());
        HostUI::AddView(Collection().get(), view.get());
        HostUI::ActivateView(Collection().get(), view.get());
        return view;
    });
    thread->WaitIdle(); // what the activation's listeners left to the UI thread
    return shown;
}

} // namespace HostUITest
