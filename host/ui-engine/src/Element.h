// An element of a tree, and the tree's shared state. Everything here is
// read and written only with the engine lock held (EngineLock.h).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service-common/BasicServiceObjectPtr.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"

namespace UIEngine::Detail {

struct TreeState;

struct Element {
    TreeState* tree = nullptr;
    Element* parent = nullptr;
    std::vector<Element*> children;
    uint32_t index = 0;
    HELEMENT handle = nullptr;

    std::string tag;
    std::string id;
    std::vector<std::string> classes;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::wstring text;
    uint32_t state = 0;
    uint64_t revision = 0;
    ObjectPtr handler;
    std::optional<ColorPopupRecord> popupRequest;

    bool HasClass(const std::string& name) const;
    const std::string* FindAttribute(const std::string& name) const;
};

struct TreeState {
    std::vector<std::unique_ptr<Element>> elements; // document order
    uint64_t revision = 0;
    std::condition_variable changed;
    std::vector<std::pair<uint64_t, std::shared_ptr<const ElementTree::Listener>>> listeners;
    uint64_t nextListenerId = 1;
};

// A change made with the lock held, to be told to the tree's listeners once
// the lock is released.
class PendingChange {
public:
    PendingChange() = default;
    // Counts the change on the element and its tree and wakes the waiters.
    static PendingChange Record(Element& element, uint32_t kind, bool updateNow);
    void Deliver() const;

private:
    std::vector<std::shared_ptr<const ElementTree::Listener>> listeners_;
    std::optional<ElementChange> change_;
};

} // namespace UIEngine::Detail
