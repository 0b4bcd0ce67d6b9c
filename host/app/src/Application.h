// The host application: one UI thread, and on it everything the user works
// with: the main window with the ribbon, the document area with its views,
// the documents, and the plug-ins. Every host object and every plug-in call
// lives on that thread; the front ends (the commands of `vellum`) run on
// another and hand their work over with Invoke, waiting for the answer.
//
// A front end reaches the plug-ins only as a user does: through gestures on
// the ribbon's elements (clicks, popups, colour choices) and input events
// on a view (press, moves, release).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "PluginHost.h"
#include "ViewGeometry.h"
#include "hostui/HostUI.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SLGeometry.h"
#include "uiengine/UIThread.h"

namespace UIEngine {
class ElementTree;
}

class Application {
public:
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    // Starts the UI thread and, on it, makes the main window with the ribbon
    // (the host's resource "ribbon.html") and its document area, loads the
    // plug-ins of the host's folder and announces the ribbon, so that they
    // place their handlers. Returns once the handlers have settled. Throws
    // std::runtime_error when the ribbon resource cannot be read.
    explicit Application(const std::string& hostFolder);
    // Closes the documents and the windows (the handlers are detached) and
    // stops the plug-ins, on the UI thread, then ends the thread.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs `f` on the UI thread and returns its result, or throws what it
    // threw.
    template <class F> std::invoke_result_t<F&> Invoke(F&& f) {
        return thread_->Invoke(std::forward<F>(f));
    }
    // Waits until the UI thread has done everything handed to it so far,
    // including the work that handlers hand over from other threads.
    void Settle();

    // A document shown in a view of the document area.
    struct Shown {
        ObjectPtr document;
        ObjectPtr blView; // "BLDocumentView"
        ObjectPtr view;   // "UIDocumentView"
        ViewGeometry geometry;
    };
    // Opens a document and shows it in a new view, which becomes the active
    // one (so that the ribbon's handlers follow it); a read-only view lets
    // nothing be added. Throws std::runtime_error naming the file when it
    // cannot be opened.
    Shown Open(const std::string& path, bool readOnly = false);
    void Close(const Shown& shown);

    // The ribbon, as the main window holds it.
    UIEngine::ElementTree& Ribbon() const;
    // The ribbon's panel of a group ("Markup", "Font"), or null.
    HELEMENT Panel(const std::wstring& group);
    // The panels that hold a handler.
    std::vector<HostUI::Placement> RibbonPlacements();

    const PluginHost& Plugins() const { return *plugins_; }

private:
    void Start(const std::string& hostFolder);
    void Stop();

    std::shared_ptr<UIEngine::UIThread> thread_;
    ObjectPtr dispatcher_;
    ObjectPtr mainWindow_, mainFrame_;
    ObjectPtr documentWindow_, documentFrame_;
    ObjectPtr ribbonBar_;
    std::unique_ptr<PluginHost> plugins_;
    std::vector<Shown> shown_;
};
