// Elements a UI handler found by a lookup, and what it does to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "service-common/ServiceObject.h"
#include "ui-engine/UIElementApi.h"

namespace SOImpl {

// An ordered list of (element, the engine's element API) pairs, as a lookup
// found them. Lookups on a set start from its first element; state changes
// apply to every element, each shown at once.
//
// The element API records a failing call for the calling thread, and
// `errors` (any service object of this module: the handler itself) answers
// GetErrorInfo with that record, so a failing call is thrown by CheckResult
// as a ServiceObjectException that describes it. `errors` must outlive the
// set; a handler's sets live within one of its operations.
class UIElementSet {
public:
    struct Entry {
        HELEMENT element;
        const UIElementApi* api;
    };

    UIElementSet() = default;
    // The element alone; empty for a null element or without an API.
    static UIElementSet Of(HELEMENT element, const UIElementApi* api, ServiceObject* errors);

    bool Empty() const { return entries_.empty(); }
    std::size_t Size() const { return entries_.size(); }
    const std::vector<Entry>& Entries() const { return entries_; }
    // The first element, or null.
    HELEMENT First() const { return entries_.empty() ? nullptr : entries_.front().element; }

    // The elements below the first that match `selector`, in document order.
    UIElementSet Select(const char* selector) const;
    // Whether the first element matches `selector` (false for an empty set).
    bool Matches(const char* selector) const;
    // Whether some element below the first matches `selector`.
    bool Contains(const char* selector) const;
    // The first element's parent (empty for the root).
    UIElementSet Parent() const;
    // The nearest element matching `selector` among the first element and
    // its ancestors, looking at no more than `depth` of them.
    UIElementSet Nearest(const char* selector, uint32_t depth) const;

    // Whether the first element has all of `bits` set.
    bool HasState(uint32_t bits) const;
    // Sets and clears state bits on every element, each repainted at once.
    void ChangeState(uint32_t setBits, uint32_t clearBits) const;
    // Sets `bits` on every element when `on`, else clears them.
    void SwitchState(uint32_t bits, bool on) const { ChangeState(on ? bits : 0, on ? 0 : bits); }

    // Sends an event to every element (target and source alike); the
    // engine's answers are not examined.
    void SendEvent(uint32_t code, uintptr_t data) const;

    std::wstring Text(const Entry& entry) const;
    void SetText(const Entry& entry, const std::wstring& text) const;

private:
    UIElementSet(std::vector<Entry> entries, ServiceObject* errors)
        : entries_(std::move(entries)), errors_(errors) {}
    void Check(uint32_t code) const;
    const UIElementApi* FirstApi() const { return entries_.front().api; }

    std::vector<Entry> entries_;
    ServiceObject* errors_ = nullptr;
};

} // namespace SOImpl
