// The shipped ribbon and a UI handler that records what the engine does
// with it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Platform.h"
#include "ui-engine/UIHandler.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"

namespace UIEngineTest {

using UIEngine::ObjectPtr;

std::unique_ptr<UIEngine::ElementTree> LoadRibbon();

// The one element `selector` finds in the whole tree; fails the test when
// there is not exactly one.
HELEMENT One(const UIEngine::ElementTree& tree, const std::string& selector);

// The shipped ribbon and its two panels.
class RibbonTree : public testing::Test {
protected:
    std::unique_ptr<UIEngine::ElementTree> tree = LoadRibbon();
    HELEMENT markup = One(*tree, "#Markup");
    HELEMENT font = One(*tree, "#Font");
};

struct SeenEvent {
    uint32_t code;
    HELEMENT element; // the handler's element, as HandleEvent received it
    HELEMENT target;
    HELEMENT source;
    uintptr_t data;

    bool operator==(const SeenEvent& o) const {
        return std::tie(code, element, target, source, data) ==
               std::tie(o.code, o.element, o.target, o.source, o.data);
    }
};

class RecordingHandler {
public:
    static constexpr const char* kSignatureName = "class RecordingHandler";
    using Interface = SOImpl::CppUIHandlerBase<RecordingHandler, SODetails::ServiceObjectTraits>;

    static ObjectPtr Make() { return ObjectPtr::Adopt(Interface::Object::New()); }
    static RecordingHandler& Of(const ObjectPtr& h) { return Interface::Object::ImplOf(h.get()); }

    // What HandleEvent does: mark handled, fail with a code, or run a hook.
    bool markHandled = false;
    uint32_t failWith = SODetails::kOk;
    std::function<void(const UIEventRecord&)> onEvent;

    std::vector<SeenEvent> events;
    std::vector<std::pair<ServiceObject*, HELEMENT>> attachedCalls;
    uint32_t attachedOnThread = 0;
    int detachedCalls = 0;

    uint32_t OnQueryServiceObject(uint32_t, ServiceObject**, uint8_t, uint8_t) { return 1; }
    uint32_t GetHandlerName(const char** name) {
        *name = kSignatureName;
        return 0;
    }
    uint32_t GetElementAttachedTo(HELEMENT* element) {
        *element = element_;
        return 0;
    }
    uint32_t HandleEvent(uint32_t* handled, HELEMENT element, const UIEventRecord* event) {
        events.push_back({event->code, element, event->target, event->source, event->data});
        if (onEvent)
            onEvent(*event);
        if (failWith != SODetails::kOk)
            return failWith;
        if (markHandled && handled)
            *handled = 1;
        return markHandled ? 0 : 1;
    }
    uint32_t Attached(ServiceObject* window, HELEMENT element) {
        attachedCalls.emplace_back(window, element);
        attachedOnThread = Platform::CurrentThreadId();
        element_ = element;
        return 0;
    }
    uint32_t Detached() {
        ++detachedCalls;
        element_ = nullptr;
        return 0;
    }

private:
    HELEMENT element_ = nullptr;
};

} // namespace UIEngineTest
