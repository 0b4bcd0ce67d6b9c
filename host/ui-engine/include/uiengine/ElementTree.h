// An element tree: a window's user-interface resource (HTML) parsed into
// elements, with the change notifications a front end follows.
//
// The tree holds every element of the document, html, head and body
// included, in document order, as a browser's HTML parser builds them: the
// n-th element here is the n-th element of the same file in a browser, so a
// front end that serves the file can find an element by its index.
// Markup attributes "checked" and "disabled" become the state bits
// UIElementState::kChecked and kDisabled.
//
// Every element gets a handle (HELEMENT) when the tree is made; the handles
// stay valid until the tree is destroyed. All operations on elements are the
// free functions of uiengine/Elements.h and the flat table of
// ui-engine/UIElementApi.h.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui-engine/UIElementApi.h"
#include "uiengine/Export.h"

namespace UIEngine {

namespace Detail {
struct TreeState;
}

// What changed on an element.
namespace ChangeKind {
constexpr uint32_t kState = 1;
constexpr uint32_t kText = 2;
constexpr uint32_t kPopupRequest = 4;
constexpr uint32_t kHandler = 8;
} // namespace ChangeKind

struct ElementChange {
    HELEMENT element;
    uint32_t kind;     // ChangeKind
    uint64_t revision; // the tree's revision after the change
    bool updateNow;    // the change asked to be shown at once
};

class UIENGINE_API ElementTree {
public:
    using Listener = std::function<void(const ElementChange&)>;

    // The parser recovers from any markup as a browser does; only elements
    // nested more than 256 deep are refused (std::runtime_error). Resources
    // are the host's own files: the parser's time grows with the square of
    // the nesting depth, so untrusted markup is not for this engine.
    static std::unique_ptr<ElementTree> Parse(const std::string& html);
    // Reads and parses a file; std::runtime_error naming the file when it
    // cannot be read, is larger than kMaxFileSize or cannot be parsed.
    static std::unique_ptr<ElementTree> Load(const std::string& path);
    static constexpr uint64_t kMaxFileSize = 1u << 20;

    // Where the host keeps its user-interface resources: the folder
    // "resources" in the host's folder.
    static std::string ResourcePath(const std::string& fileName);

    // Drops the listeners, detaches every handler (calling Detached, in
    // document order) while the elements are still live, then every handle
    // of the tree goes stale.
    ~ElementTree();
    ElementTree(const ElementTree&) = delete;
    ElementTree& operator=(const ElementTree&) = delete;

    // The document's root element (html).
    HELEMENT Root() const;
    // Every element, in document order.
    std::vector<HELEMENT> Elements() const;
    bool Owns(HELEMENT element) const;

    // Grows by one with every change of any element of the tree.
    uint64_t Revision() const;
    // Waits until the revision exceeds `after` or the time is up; the
    // revision then.
    uint64_t WaitForChange(uint64_t after, std::chrono::milliseconds timeout) const;

    // Listeners are called on the thread that made the change, after it was
    // made, with no lock of the engine held; they may use the element API.
    // A listener being called on another thread while RemoveListener
    // returns may still finish that call.
    uint64_t AddListener(Listener listener);
    void RemoveListener(uint64_t id);

private:
    explicit ElementTree(std::unique_ptr<Detail::TreeState> state);
    std::unique_ptr<Detail::TreeState> state_;
};

} // namespace UIEngine
