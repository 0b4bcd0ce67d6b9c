#include "TestSupport.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace UIEngineTest {

std::unique_ptr<UIEngine::ElementTree> LoadRibbon() {
    return UIEngine::ElementTree::Load(UIEngine::ElementTree::ResourcePath("ribbon.html"));
}

HELEMENT One(const UIEngine::ElementTree& tree, const std::string& selector) {
    std::vector<HELEMENT> found = UIEngine::Select(tree.Root(), selector);
    EXPECT_EQ(found.size(), 1u) << selector;
    return found.empty() ? nullptr : found.front();
}

uint32_t RecordingHandler::HandleEvent(uint32_t* handled, HELEMENT element,
                                       const UIEventRecord* event) {
    events.push_back({event->code, element, event->target, event->source, event->data});
    if (onEvent)
        onEvent(*event);
    if (failWith != SODetails::kOk)
        return failWith;
    if (markHandled && handled)
        *handled = 1;
    return markHandled ? 0 : 1;
}

uint32_t RecordingHandler::Attached(ServiceObject* window, HELEMENT element) {
    attachedCalls.emplace_back(window, element);
    attachedOnThread = Platform::CurrentThreadId();
    element_ = element;
    return 0;
}

} // namespace UIEngineTest
