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

} // namespace UIEngineTest
