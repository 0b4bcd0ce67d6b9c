#include "EngineLock.h"

namespace UIEngine::Detail {

namespace {

constexpr uint64_t kTag = 0xE1;
constexpr uint64_t kGenerationMask = 0xFFFFFF;

HELEMENT Encode(uint32_t slot, uint32_t generation) {
    uint64_t value = kTag << 56 | (generation & kGenerationMask) << 32 | (uint64_t(slot) + 1);
    return reinterpret_cast<HELEMENT>(static_cast<uintptr_t>(value));
}

bool Decode(HELEMENT handle, uint32_t* slot, uint32_t* generation) {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    if (value >> 56 != kTag || (value & 0xFFFFFFFF) == 0)
        return false;
    *slot = static_cast<uint32_t>(value & 0xFFFFFFFF) - 1;
    *generation = static_cast<uint32_t>(value >> 32 & kGenerationMask);
    return true;
}

} // namespace

static_assert(sizeof(HELEMENT) == 8, "element handles carry 64 bits");

std::mutex& EngineMutex() {
    // Never destroyed: a tree that outlives the static destructors of this
    // module can still lock it.
    static auto* mutex = new std::mutex;
    return *mutex;
}

HandleTable& Handles() {
    static auto* table = new HandleTable;
    return *table;
}

HELEMENT HandleTable::Add(Element* element) {
    uint32_t slot;
    if (!free_.empty()) {
        slot = free_.back();
        free_.pop_back();
    } else {
        slot = static_cast<uint32_t>(slots_.size());
        slots_.emplace_back();
    }
    slots_[slot].element = element;
    return Encode(slot, slots_[slot].generation);
}

void HandleTable::Remove(HELEMENT handle) {
    uint32_t slot, generation;
    if (!Decode(handle, &slot, &generation) || slot >= slots_.size())
        return;
    Slot& s = slots_[slot];
    if (!s.element || s.generation != generation)
        return;
    s.element = nullptr;
    if (++s.generation <= kGenerationMask)
        free_.push_back(slot);
}

Element* HandleTable::Find(HELEMENT handle) const {
    uint32_t slot, generation;
    if (!Decode(handle, &slot, &generation) || slot >= slots_.size())
        return nullptr;
    const Slot& s = slots_[slot];
    return s.generation == generation ? s.element : nullptr;
}

} // namespace UIEngine::Detail
