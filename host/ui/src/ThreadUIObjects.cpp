// The UI objects of the threads that run the host's windows: what
// "UIService" gives a caller that knows its thread but not its window.
#include <map>

#include "Objects.h"
#include "ui/UIService.h"

namespace HostUIImpl {

namespace {

struct ThreadUIObjectImpl {
    explicit ThreadUIObjectImpl(WeakRefPtr frame) : mainFrame(std::move(frame)) {}
    const WeakRefPtr mainFrame; // the application owns its frame
};

struct ThreadUIObjectInterface
    : SODetails::InterfaceOf<ThreadUIObjectInterface, ThreadUIObjectImpl,
                             UIThreadObjectOps::kOperationCount> {
    static constexpr const char* kName = "UIThreadObject";
    static constexpr const wchar_t* kWideName = L"UIThreadObject";

    // Null once the frame has gone.
    static uint32_t GetMainFrame(ServiceObject* self, ServiceObject** out) {
        return HandOut(Object::ImplOf(self).mainFrame.Lock(), out, kWideName, L"GetMainFrame");
    }
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIThreadObjectOps::GetMainFrame>(ops, &GetMainFrame);
    }
};

struct Threads {
    std::mutex mutex;
    std::map<uint32_t, ObjectPtr> objects;
};

Threads& TheThreads() {
    static Threads* threads = new Threads; // outlives every thread object, at exit too
    return *threads;
}

} // namespace

ObjectPtr ThreadUIObject(uint32_t threadId) {
    Threads& threads = TheThreads();
    std::lock_guard<std::mutex> lock(threads.mutex);
    auto it = threads.objects.find(threadId);
    return it == threads.objects.end() ? nullptr : it->second;
}

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

void SetThreadMainFrame(uint32_t threadId, ServiceObject* mainFrame) {
    ObjectPtr object;
    if (mainFrame) {
        ImplOf<MainFrameInterface>(mainFrame, "main frame");
        object = ObjectPtr::Adopt(ThreadUIObjectInterface::Object::New(WeakRefPtr::Of(mainFrame)));
    }
    Threads& threads = TheThreads();
    std::lock_guard<std::mutex> lock(threads.mutex);
    ObjectPtr& slot = threads.objects[threadId];
    std::swap(slot, object); // the one replaced goes after the lock
    if (!slot)
        threads.objects.erase(threadId);
}

} // namespace HostUI
