// "UIMainFrame": the top-level frame that holds the ribbon and the document
// frames, and announces each new document frame.
#include "Objects.h"

namespace HostUIImpl {

namespace {

using Object = MainFrameInterface::Object;
constexpr const wchar_t* kWideName = MainFrameInterface::kWideName;

MainFrameImpl& MainFrameOf(ServiceObject* frame) {
    return ImplOf<MainFrameInterface>(frame, "main frame");
}

ObjectPtr ActiveFrame(MainFrameImpl& frame) {
    std::lock_guard<std::mutex> lock(frame.mutex);
    return frame.documentFrames.empty() ? nullptr : frame.documentFrames.back();
}

ObjectPtr ActiveCollection(MainFrameImpl& frame) {
    const ObjectPtr documentFrame = ActiveFrame(frame);
    return documentFrame ? HostUI::CollectionOf(documentFrame.get()) : nullptr;
}

struct MainFrameOperations {
    static uint32_t GetDocumentsCollection(ServiceObject* self, ServiceObject** out) {
        return HandOut(ActiveCollection(Object::ImplOf(self)), out, kWideName,
                       L"GetDocumentsCollection");
    }
    static uint32_t GetActiveDocumentFrame(ServiceObject* self, ServiceObject** out) {
        return HandOut(ActiveFrame(Object::ImplOf(self)), out, kWideName,
                       L"GetActiveDocumentFrame");
    }
    static uint32_t GetWindow(ServiceObject* self, ServiceObject** out) {
        return HandOut(Object::ImplOf(self).window, out, kWideName, L"GetWindow");
    }
};

} // namespace

void MainFrameInterface::FillOperations(SODetails::Operation* ops) {
    using O = MainFrameOperations;
    SODetails::SetOperation<UIMainFrameOps::GetDocumentsCollection>(ops, &O::GetDocumentsCollection);
    SODetails::SetOperation<UIMainFrameOps::GetActiveDocumentFrame>(ops, &O::GetActiveDocumentFrame);
    SODetails::SetOperation<UIMainFrameOps::GetWindow>(ops, &O::GetWindow);
    SODetails::EventEntries<MainFrameInterface, UIMainFrameEvents::OnChildDocumentFrameCreated,
                            &MainFrameImpl::onChildDocumentFrameCreated>::Fill(ops);
}

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

ObjectPtr CreateMainFrame(ServiceObject* window) {
    ImplOf<WindowInterface>(window, "window");
    ObjectPtr frame =
        ObjectPtr::Adopt(MainFrameInterface::Object::New(ObjectPtr::Share(window)));
    // The window asks the frame through a weak reference: the frame owns the
    // window, not the other way round.
    auto weakFrame = std::make_shared<WeakRefPtr>(WeakRefPtr::Of(frame.get()));
    SetServiceLookup(window, [weakFrame](uint32_t id) -> ObjectPtr {
        ObjectPtr frame = weakFrame->Lock();
        if (!frame)
            return nullptr;
        if (id == IdOf(MainFrameInterface::kName))
            return frame;
        if (id == IdOf(CollectionInterface::kName))
            return ActiveCollection(MainFrameOf(frame.get()));
        return nullptr;
    });
    return frame;
}

ObjectPtr ActiveDocumentFrame(ServiceObject* mainFrame) {
    return ActiveFrame(MainFrameOf(mainFrame));
}

ObjectPtr CreateDocumentFrame(ServiceObject* mainFrame, ServiceObject* window) {
    MainFrameImpl& main = MainFrameOf(mainFrame);
    ImplOf<WindowInterface>(window, "window");
    ObjectPtr frame = ObjectPtr::Adopt(
        DocumentFrameInterface::Object::New(ObjectPtr::Share(window), NewCollection()));
    const ObjectPtr collection = CollectionOf(frame.get());
    auto weakFrame = std::make_shared<WeakRefPtr>(WeakRefPtr::Of(frame.get()));
    auto weakCollection = std::make_shared<WeakRefPtr>(WeakRefPtr::Of(collection.get()));
    SetServiceLookup(window, [weakFrame, weakCollection](uint32_t id) -> ObjectPtr {
        if (id == IdOf(DocumentFrameInterface::kName))
            return weakFrame->Lock();
        if (id == IdOf(CollectionInterface::kName))
            return weakCollection->Lock();
        return nullptr;
    });
    {
        std::lock_guard<std::mutex> lock(main.mutex);
        main.documentFrames.push_back(frame);
    }
    main.onChildDocumentFrameCreated.Raise(frame.get());
    return frame;
}

} // namespace HostUI
