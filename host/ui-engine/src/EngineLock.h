// The one lock of the engine and its table of element handles.
//
// Handles are not addresses: a handle carries a tag, the index of a slot in
// the table and the slot's generation. A slot's generation grows when its
// element goes away, so an old handle never names a new element; a slot
// whose generation would wrap is retired. A value that does not decode to a
// live slot is refused without being dereferenced.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "ui-engine/UIElementApi.h"

namespace UIEngine::Detail {

struct Element;

// Guards every element tree, every element and the handle table. Never held
// while a handler or a listener is called.
std::mutex& EngineMutex();
using EngineLock = std::unique_lock<std::mutex>;

class HandleTable {
public:
    HELEMENT Add(Element* element);
    void Remove(HELEMENT handle);
    // The live element, or null.
    Element* Find(HELEMENT handle) const;

private:
    struct Slot {
        Element* element = nullptr;
        uint32_t generation = 1;
    };
    std::vector<Slot> slots_;
    std::vector<uint32_t> free_;
};

HandleTable& Handles();

} // namespace UIEngine::Detail
