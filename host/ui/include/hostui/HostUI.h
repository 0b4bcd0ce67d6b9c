// The stand-in host's UI objects: windows over the UI engine's element
// trees, the main frame with its document frames, the documents collection
// with its views, the side-by-side view, the ribbon bar, and the services
// "UIService" and "UIEngine".
//
// The objects are service objects of the host's flat UI interfaces (the ui/
// interface headers); this API is what the host application and its tests
// use to make them and to drive them from the host's side: opening, showing
// and closing views, which raises the collection's events. The host calls
// all of it on its UI thread, where the objects raise their events.
// Functions that take a `ServiceObject*` expect an object made by this
// library and throw std::invalid_argument for anything else.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ModuleExport.h"
#include "ui-engine/UIElementApi.h"
#include "uiengine/ElementTree.h"

#ifdef HOSTUI_BUILD
#define HOSTUI_API SO_EXPORT
#else
#define HOSTUI_API SO_IMPORT
#endif

namespace UIEngine {
class UIThread;
} // namespace UIEngine

namespace HostUI {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// ---------------------------------------------------------------------------
// Windows ("UIWnd")

// A new open window that shows `tree` (null: a window without elements)
// and hands out `dispatcher`. `owner`, when given, is the window it belongs
// to: it answers the queries that this one cannot when they are forwarded.
// The window gets a handle that IsWindow recognises until it is closed.
HOSTUI_API ObjectPtr OpenWindow(std::unique_ptr<UIEngine::ElementTree> tree,
                                ServiceObject* dispatcher, ServiceObject* owner);

// What a window answers to QueryServiceObject beside itself ("UIWnd") and
// its dispatcher ("UIDispatcher"): the frame that owns the window installs
// it. The object for an interface id (a new reference), or null.
using ServiceLookup = std::function<ObjectPtr(uint32_t interfaceId)>;
HOSTUI_API void SetServiceLookup(ServiceObject* window, ServiceLookup lookup);

// Closes the window: its handle is no window any more, it answers as
// invalid, and its element tree goes (its UI handlers are detached first).
// Closing a closed window does nothing. A window closes itself when its
// last reference goes.
HOSTUI_API void CloseWindow(ServiceObject* window);
HOSTUI_API bool IsOpen(ServiceObject* window);
HOSTUI_API uint64_t WindowHandle(ServiceObject* window);
// The window's element tree, or null (none, or closed).
HOSTUI_API UIEngine::ElementTree* WindowTree(ServiceObject* window);
// The open window of a handle, or null.
HOSTUI_API ObjectPtr WindowOfHandle(uint64_t handle);

// ---------------------------------------------------------------------------
// Frames ("UIMainFrame", "UIDocumentFrame")

// The main frame over its window, which then answers "UIMainFrame" and the
// "UIDocumentsCollection" of the active document frame.
HOSTUI_API ObjectPtr CreateMainFrame(ServiceObject* window);

// A document frame with an empty documents collection, over its window
// (which then answers "UIDocumentFrame" and "UIDocumentsCollection"). It
// becomes the main frame's active document frame, and the main frame raises
// OnChildDocumentFrameCreated.
HOSTUI_API ObjectPtr CreateDocumentFrame(ServiceObject* mainFrame, ServiceObject* window);
HOSTUI_API ObjectPtr ActiveDocumentFrame(ServiceObject* mainFrame);
HOSTUI_API ObjectPtr CollectionOf(ServiceObject* documentFrame);
HOSTUI_API ObjectPtr WindowOfFrame(ServiceObject* frame); // either kind of frame

// The main frame that "UIService" gives for the UI object of a thread; null
// takes it away.
HOSTUI_API void SetThreadMainFrame(uint32_t threadId, ServiceObject* mainFrame);

// ---------------------------------------------------------------------------
// Document views ("UIDocumentView") and the documents collection

// The UI's view of a document, over the business-logic view that shows it.
HOSTUI_API ObjectPtr CreateDocumentView(ServiceObject* blView);
HOSTUI_API ObjectPtr BLViewOf(ServiceObject* documentView);

// Adds a view to the collection: OnDocumentViewCreated.
HOSTUI_API void AddView(ServiceObject* collection, ServiceObject* view);
// Makes a view of the collection the active one: OnDocumentViewDeactivated
// (the active view, this one) when another view was active, then
// OnDocumentViewActivated. Nothing when it is active already.
HOSTUI_API void ActivateView(ServiceObject* collection, ServiceObject* view);
// Closes a view: OnDocumentViewClose lets a handler keep it open (false is
// then returned). Otherwise an active view is deactivated in favour of the
// most recently added other view, which is activated, and the view leaves
// the collection: OnDocumentViewDestroyed.
HOSTUI_API bool CloseView(ServiceObject* collection, ServiceObject* view);
HOSTUI_API ObjectPtr ActiveView(ServiceObject* collection);
HOSTUI_API std::vector<ObjectPtr> Views(ServiceObject* collection);

// ---------------------------------------------------------------------------
// The side-by-side view ("UIDocumentViewSbS")

// A side-by-side view whose documents are shown in business-logic views of
// the given viewport and zoom. Its OpenDocument opens a document by path
// beside the one it shows; with two shown, the newer replaces the second.
HOSTUI_API ObjectPtr CreateSideBySideView(int32_t viewportWidth, int32_t viewportHeight,
                                          float zoom);
// The business-logic views it shows, in order.
HOSTUI_API std::vector<ObjectPtr> SideBySideViews(ServiceObject* sbsView);

// OnSbSViewCreated.
HOSTUI_API void AddSideBySideView(ServiceObject* collection, ServiceObject* sbsView);
// The collection enters side-by-side mode with this view: OnSbSViewActivated.
HOSTUI_API void ActivateSideBySideView(ServiceObject* collection, ServiceObject* sbsView);
// Leaves side-by-side mode: OnSbSViewDeactivated; nothing when not in it.
HOSTUI_API void DeactivateSideBySideView(ServiceObject* collection);
// Deactivates it when active, then OnSbSViewDestroyed.
HOSTUI_API void CloseSideBySideView(ServiceObject* collection, ServiceObject* sbsView);

// ---------------------------------------------------------------------------
// The ribbon bar

// The ribbon bar of a window whose element tree holds the ribbon's panels
// (elements with a "data-panel" attribute naming the group). Placing a UI
// handler into a group attaches it to the group's panel element, on
// `thread`, with the window: the handler's Attached receives both. A panel
// holds one handler; placing another detaches the first.
HOSTUI_API ObjectPtr CreateRibbonBar(ServiceObject* window,
                                     std::shared_ptr<UIEngine::UIThread> thread);

struct Placement {
    std::wstring group;
    HELEMENT panel;
    ObjectPtr handler;
};
// The panels that hold a handler, in document order.
HOSTUI_API std::vector<Placement> Placements(ServiceObject* ribbonBar);
// The panel element of a group, or null.
HOSTUI_API HELEMENT PanelOf(ServiceObject* ribbonBar, const std::wstring& group);

} // namespace HostUI
