#include "Application.h"

#include <algorithm>
#include <stdexcept>

#include "hostbl/HostBL.h"
#include "uiengine/Dispatcher.h"
#include "uiengine/ElementTree.h"

Application::Application(const std::string& hostFolder)
    : thread_(std::make_shared<UIEngine::UIThread>()),
      dispatcher_(UIEngine::CreateDispatcher(thread_)) {
    try {
        Invoke([&] { Start(hostFolder); });
    } catch (...) {
        Invoke([&] { Stop(); });
        thread_->Shutdown();
        throw;
    }
    Settle();
}

Application::~Application() {
    try {
        Invoke([&] { Stop(); });
    } catch (...) {
        // The thread has gone already; what it held went with it.
    }
    thread_->Shutdown();
}

void Application::Start(const std::string& hostFolder) {
    using UIEngine::ElementTree;
    mainWindow_ = HostUI::OpenWindow(ElementTree::Load(ElementTree::ResourcePath("ribbon.html")),
                                     dispatcher_.get(), nullptr);
    mainFrame_ = HostUI::CreateMainFrame(mainWindow_.get());
    HostUI::SetThreadMainFrame(thread_->ThreadId(), mainFrame_.get());
    // The document area is there from the start, empty until a document
    // opens, as the handlers find it when the ribbon is announced.
    documentWindow_ = HostUI::OpenWindow(nullptr, dispatcher_.get(), mainWindow_.get());
    documentFrame_ = HostUI::CreateDocumentFrame(mainFrame_.get(), documentWindow_.get());
    ribbonBar_ = HostUI::CreateRibbonBar(mainWindow_.get(), thread_);
    plugins_ = std::make_unique<PluginHost>(hostFolder);
    plugins_->LoadAll();
    plugins_->AnnounceRibbon(ribbonBar_.get());
}

// Documents first, so that the handlers see their views go; then the
// windows, which detach the handlers; then the plug-ins.
void Application::Stop() {
    if (documentFrame_) {
        const ObjectPtr collection = HostUI::CollectionOf(documentFrame_.get());
        for (const Shown& shown : shown_)
            HostUI::CloseView(collection.get(), shown.view.get());
    }
    shown_.clear();
    for (const ObjectPtr& window : {mainWindow_, documentWindow_})
        if (window)
            HostUI::CloseWindow(window.get());
    if (plugins_)
        plugins_->UnloadAll();
    HostUI::SetThreadMainFrame(thread_->ThreadId(), nullptr);
    ribbonBar_ = documentFrame_ = documentWindow_ = mainFrame_ = mainWindow_ = nullptr;
}

void Application::Settle() {
    thread_->WaitIdle();
}

Application::Shown Application::Open(const std::string& path, bool readOnly) {
    Shown shown = Invoke([&] {
        Shown opened;
        opened.document = HostBL::OpenDocument(path);
        opened.geometry = FitLargestPage(opened.document.get());
        opened.blView = HostBL::CreateView(opened.document.get(), opened.geometry.width,
                                           opened.geometry.height, opened.geometry.zoom);
        HostBL::SetReadOnly(opened.blView.get(), readOnly);
        opened.view = HostUI::CreateDocumentView(opened.blView.get());
        const ObjectPtr collection = HostUI::CollectionOf(documentFrame_.get());
        HostUI::AddView(collection.get(), opened.view.get());
        HostUI::ActivateView(collection.get(), opened.view.get());
        shown_.push_back(opened);
        return opened;
    });
    Settle();
    return shown;
}

void Application::Close(const Shown& shown) {
    Invoke([&] {
        auto it = std::find_if(shown_.begin(), shown_.end(),
                               [&](const Shown& s) { return s.view == shown.view; });
        if (it == shown_.end())
            return;
        const ObjectPtr collection = HostUI::CollectionOf(documentFrame_.get());
        if (HostUI::CloseView(collection.get(), shown.view.get()))
            shown_.erase(it);
    });
    Settle();
}

UIEngine::ElementTree& Application::Ribbon() const {
    UIEngine::ElementTree* tree = HostUI::WindowTree(mainWindow_.get());
    if (!tree)
        throw std::runtime_error("the main window is closed");
    return *tree;
}

HELEMENT Application::Panel(const std::wstring& group) {
    return Invoke([&] { return HostUI::PanelOf(ribbonBar_.get(), group); });
}

std::vector<HostUI::Placement> Application::RibbonPlacements() {
    return Invoke([&] { return HostUI::Placements(ribbonBar_.get()); });
}
