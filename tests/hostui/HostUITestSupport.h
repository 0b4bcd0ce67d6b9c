// A desk of the host's UI objects as the application lays them out, on a UI
// thread of its own: the main window over the ribbon, the main frame, the
// document area and the ribbon bar.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "../ui-engine/TestSupport.h"
#include "hostbl/HostBL.h"
#include "hostui/HostUI.h"
#include "service-common/ServiceObjectCall.h"
#include "ui/UIService.h"
#include "uiengine/UIThread.h"

namespace HostUITest {

using HostUI::ObjectPtr;

// Five pages of text, "Page N has some words" each, in a host document.
ObjectPtr NewTextDocument();

struct Desk {
    // `ribbonHtml` replaces the shipped ribbon when given.
    explicit Desk(bool withDocumentArea = true, const std::string& ribbonHtml = "");
    ~Desk();

    template <class F> auto OnUI(F&& f) { return thread->Invoke(std::forward<F>(f)); }
    ObjectPtr Collection() const { return HostUI::CollectionOf(documentFrame.get()); }
    UIEngine::ElementTree& Tree() const { return *HostUI::WindowTree(mainWindow.get()); }
    // The ribbon's one element `selector` finds (the test fails otherwise).
    HELEMENT Ribbon(const std::string& selector) const {
        return UIEngineTest::One(Tree(), selector);
    }
    // The document window and frame, made on the UI thread.
    void OpenDocumentArea();
    // A new UI view over `blView`, added to the document area and made its
    // active view on the UI thread, once the UI thread is idle again; the
    // "UIDocumentView".
    ObjectPtr Show(const ObjectPtr& blView);
    // Shows a new view of `document` the same way; the business-logic view.
    ObjectPtr ShowDocument(const ObjectPtr& document = NewTextDocument());
    // Places `handler` into the ribbon's `group` through the ribbon bar.
    uint32_t Place(const wchar_t* group, const ObjectPtr& handler) {
        return SODetails::TryCall<RibbonBarOps::Place>(ribbonBar.get(), group, handler.get())
            .value_or(~0u);
    }

    std::shared_ptr<UIEngine::UIThread> thread = std::make_shared<UIEngine::UIThread>();
    ObjectPtr dispatcher;
    ObjectPtr mainWindow, mainFrame, documentWindow, documentFrame, ribbonBar;
};

} // namespace HostUITest
