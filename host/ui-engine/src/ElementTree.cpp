#include "uiengine/ElementTree.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "EngineLock.h"
#include "HtmlParser.h"
#include "svcbroker.h"
#include "uiengine/Elements.h"

namespace UIEngine {

using namespace Detail;

ElementTree::ElementTree(std::unique_ptr<TreeState> state) : state_(std::move(state)) {
    EngineLock lock(EngineMutex());
    for (auto& element : state_->elements)
        element->handle = Handles().Add(element.get());
}

std::unique_ptr<ElementTree> ElementTree::Parse(const std::string& html) {
    return std::unique_ptr<ElementTree>(new ElementTree(ParseHtml(html)));
}

std::unique_ptr<ElementTree> ElementTree::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read the user-interface resource " + path);
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxFileSize)
        throw std::runtime_error("the user-interface resource " + path + " is larger than " +
                                 std::to_string(kMaxFileSize) + " bytes");
    in.seekg(0);
    std::string html(static_cast<std::size_t>(size), '\0');
    if (!in.read(&html[0], size))
        throw std::runtime_error("cannot read the user-interface resource " + path);
    try {
        return Parse(html);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("the user-interface resource " + path +
                                 " is not usable: " + e.what());
    }
}

std::string ElementTree::ResourcePath(const std::string& fileName) {
    return std::string(ServiceProviderGetHostFolder()) + "/resources/" + fileName;
}

ElementTree::~ElementTree() {
    std::vector<HELEMENT> attached;
    decltype(state_->listeners) listeners; // released without the lock
    {
        EngineLock lock(EngineMutex());
        listeners.swap(state_->listeners); // they hear nothing of the end
        for (auto& element : state_->elements)
            if (element->handler)
                attached.push_back(element->handle);
    }
    for (HELEMENT element : attached) {
        try {
            DetachHandler(element);
        } catch (...) {
            // A handler that fails to detach is let go all the same.
        }
    }
    std::vector<ObjectPtr> left; // released without the lock
    EngineLock lock(EngineMutex());
    for (auto& element : state_->elements) {
        Handles().Remove(element->handle);
        if (element->handler)
            left.push_back(std::move(element->handler));
    }
    lock.unlock();
}

HELEMENT ElementTree::Root() const {
    EngineLock lock(EngineMutex());
    return state_->elements.front()->handle;
}

std::vector<HELEMENT> ElementTree::Elements() const {
    EngineLock lock(EngineMutex());
    std::vector<HELEMENT> all;
    all.reserve(state_->elements.size());
    for (const auto& element : state_->elements)
        all.push_back(element->handle);
    return all;
}

bool ElementTree::Owns(HELEMENT handle) const {
    EngineLock lock(EngineMutex());
    const Element* element = Handles().Find(handle);
    return element && element->tree == state_.get();
}

uint64_t ElementTree::Revision() const {
    EngineLock lock(EngineMutex());
    return state_->revision;
}

uint64_t ElementTree::WaitForChange(uint64_t after, std::chrono::milliseconds timeout) const {
    EngineLock lock(EngineMutex());
    state_->changed.wait_for(lock, timeout, [&] { return state_->revision > after; });
    return state_->revision;
}

uint64_t ElementTree::AddListener(Listener listener) {
    auto shared = std::make_shared<const Listener>(std::move(listener));
    EngineLock lock(EngineMutex());
    uint64_t id = state_->nextListenerId++;
    state_->listeners.emplace_back(id, std::move(shared));
    return id;
}

void ElementTree::RemoveListener(uint64_t id) {
    std::shared_ptr<const Listener> removed; // destroyed without the lock
    EngineLock lock(EngineMutex());
    auto& listeners = state_->listeners;
    for (auto it = listeners.begin(); it != listeners.end(); ++it)
        if (it->first == id) {
            removed = std::move(it->second);
            listeners.erase(it);
            break;
        }
    lock.unlock();
}

} // namespace UIEngine
