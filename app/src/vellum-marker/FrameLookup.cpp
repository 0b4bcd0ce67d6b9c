#include "ui/FrameLookup.h"

#include "platform/Platform.h"
#include "service-common/Atom.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceProvider.h"
#include "ui/UIDocumentFrame.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIMainFrame.h"
#include "ui/UIService.h"
#include "ui/UIWndServiceObjectRequester.h"

namespace SOImpl {

namespace {

using SODetails::CallChecked;

SODetails::BasicServiceObjectPtr<> MainFrameOfThisThread() {
    static const SODetails::AtomStatic kUIService("UIService");
    const SODetails::BasicServiceObjectPtr<> service =
        SP::GetServiceObject(kUIService, "UIService");
    SODetails::BasicServiceObjectPtr<> threadUI, mainFrame;
    CallChecked<UIServiceOps::GetThreadUIObject>(service.get(), Platform::CurrentThreadId(),
                                                 threadUI.Receive());
    CallChecked<UIThreadObjectOps::GetMainFrame>(threadUI.get(), mainFrame.Receive());
    return mainFrame;
}

} // namespace

FrameLookup::ObjectPtr FrameLookup::MainFrame(ServiceObject* window) {
    SODetails::BasicServiceObjectPtr<UIMainFrame> mainFrame;
    if (UIWndServiceObjectRequester::QueryServiceObjectFromUIWnd(window, mainFrame))
        return ObjectPtr(mainFrame);
    return MainFrameOfThisThread();
}

FrameLookup::ObjectPtr FrameLookup::DocumentsCollection(ServiceObject* window) {
    SODetails::BasicServiceObjectPtr<UIDocumentsCollection> collection;
    if (UIWndServiceObjectRequester::QueryServiceObjectFromUIWnd(window, collection))
        return ObjectPtr(collection);
    const ObjectPtr mainFrame = MainFrame(window);
    ObjectPtr frame, found;
    CallChecked<UIMainFrameOps::GetActiveDocumentFrame>(mainFrame.get(), frame.Receive());
    CallChecked<UIDocumentFrameOps::QueryServiceObject>(
        frame.get(), SODetails::InterfaceId<UIDocumentsCollection>(), found.Receive());
    return found;
}

} // namespace SOImpl
