// Version-safe calls of another module's service objects.
//
// Interfaces grow by appending operations, so an older object has a shorter
// table. An operation at byte position p may be called only when the object
// is not null, its table is longer than p and the slot is not null; otherwise
// the operation counts as absent and the caller carries on without it.
//
// Operations are named by slots, which fix position and signature together:
//   using PageFromPoint = SODetails::OperationSlot<264, uint32_t(const SL::PointI*, uint64_t*)>;
//   SODetails::CallChecked<PageFromPoint>(view, &point, &page);
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObject.h"

namespace SODetails {

template <std::size_t Position, class Signature>
struct OperationSlot;

template <std::size_t Position, class R, class... Args>
struct OperationSlot<Position, R(Args...)> {
    static constexpr std::size_t kPosition = Position;
    static constexpr std::size_t kIndex = Position / 8;
    using Result = R;
    using Function = R (*)(ServiceObject* self, Args...);
    static_assert(Position % 8 == 0, "operations are 8 bytes apart");
};

// The operation at byte position `position`, or null when it is absent.
inline Operation FindOperation(const ServiceObject* object, std::size_t position) {
    if (!object || object->interfaceTableSize <= position)
        return nullptr;
    const auto* table = reinterpret_cast<const Operation*>(
        reinterpret_cast<const unsigned char*>(object) + kInterfaceTableOffset);
    return table[position / 8];
}

template <class Slot>
bool HasOperation(const ServiceObject* object) {
    return FindOperation(object, Slot::kPosition) != nullptr;
}

// Calls the operation if present; its result, or nothing when absent.
template <class Slot, class... Args>
std::optional<typename Slot::Result> TryCall(ServiceObject* object, Args&&... args) {
    Operation op = FindOperation(object, Slot::kPosition);
    if (!op)
        return std::nullopt;
    auto function = reinterpret_cast<typename Slot::Function>(op);
    return function(object, std::forward<Args>(args)...);
}

// Calls a u32-result operation if present and passes its result through
// CheckResult. Returns whether the operation was there.
template <class Slot, class... Args>
bool CallChecked(ServiceObject* object, Args&&... args) {
    static_assert(std::is_same<typename Slot::Result, uint32_t>::value,
                  "checked calls are for operations that return a result code");
    std::optional<uint32_t> code = TryCall<Slot>(object, std::forward<Args>(args)...);
    if (!code)
        return false;
    CheckResult(object, *code);
    return true;
}

// Puts an implementation into its slot of an operation table being filled.
// The function takes the object itself first, then the slot's arguments.
template <class Slot>
void SetOperation(Operation* operations, typename Slot::Function function) {
    operations[Slot::kIndex] = reinterpret_cast<Operation>(function);
}

} // namespace SODetails
