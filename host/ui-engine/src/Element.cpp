#include "Element.h"

#include <algorithm>

namespace UIEngine::Detail {

bool Element::HasClass(const std::string& name) const {
    return std::find(classes.begin(), classes.end(), name) != classes.end();
}

const std::string* Element::FindAttribute(const std::string& name) const {
    for (const auto& attribute : attributes)
        if (attribute.first == name)
            return &attribute.second;
    return nullptr;
}

PendingChange PendingChange::Record(Element& element, uint32_t kind, bool updateNow) {
    TreeState& tree = *element.tree;
    element.revision = ++tree.revision;
    tree.changed.notify_all();
    PendingChange pending;
    pending.change_ = ElementChange{element.handle, kind, tree.revision, updateNow};
    for (const auto& entry : tree.listeners)
        pending.listeners_.push_back(entry.second);
    return pending;
}

void PendingChange::Deliver() const {
    if (!change_)
        return;
    for (const auto& listener : listeners_)
        (*listener)(*change_);
}

} // namespace UIEngine::Detail
