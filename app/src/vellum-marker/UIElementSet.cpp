#include "ui/UIElementSet.h"

#include "service-common/ErrorReporting.h"

namespace SOImpl {

namespace {

// Collects what SelectElements visits.
uint32_t AppendElement(void* context, HELEMENT element) {
    static_cast<std::vector<HELEMENT>*>(context)->push_back(element);
    return 0;
}

void AppendText(void* context, const wchar_t* text, uint32_t length) {
    static_cast<std::wstring*>(context)->assign(text, length);
}

} // namespace

UIElementSet UIElementSet::Of(HELEMENT element, const UIElementApi* api, ServiceObject* errors) {
    std::vector<Entry> entries;
    if (element && api)
        entries.push_back({element, api});
    return UIElementSet(std::move(entries), errors);
}

void UIElementSet::Check(uint32_t code) const {
    CheckResult(errors_, code);
}

UIElementSet UIElementSet::Select(const char* selector) const {
    if (Empty() || !UI_ELEMENT_API_HAS(FirstApi(), SelectElements))
        return UIElementSet({}, errors_);
    std::vector<HELEMENT> found;
    Check(FirstApi()->SelectElements(First(), selector, &AppendElement, &found));
    std::vector<Entry> entries;
    entries.reserve(found.size());
    for (HELEMENT element : found)
        entries.push_back({element, FirstApi()});
    return UIElementSet(std::move(entries), errors_);
}

bool UIElementSet::Matches(const char* selector) const {
    if (Empty() || !UI_ELEMENT_API_HAS(FirstApi(), MatchesSelector))
        return false;
    uint32_t matches = 0;
    Check(FirstApi()->MatchesSelector(First(), selector, &matches));
    return matches != 0;
}

bool UIElementSet::Contains(const char* selector) const {
    return !Select(selector).Empty();
}

UIElementSet UIElementSet::Parent() const {
    HELEMENT parent = nullptr;
    if (!Empty() && UI_ELEMENT_API_HAS(FirstApi(), GetParent))
        Check(FirstApi()->GetParent(First(), &parent));
    return Of(parent, Empty() ? nullptr : FirstApi(), errors_);
}

UIElementSet UIElementSet::Nearest(const char* selector, uint32_t depth) const {
    HELEMENT found = nullptr;
    if (!Empty() && UI_ELEMENT_API_HAS(FirstApi(), FindNearestAncestor))
        Check(FirstApi()->FindNearestAncestor(First(), selector, depth, &found));
    return Of(found, Empty() ? nullptr : FirstApi(), errors_);
}

bool UIElementSet::HasState(uint32_t bits) const {
    uint32_t state = 0;
    if (Empty() || !UI_ELEMENT_API_HAS(FirstApi(), GetState))
        return false;
    Check(FirstApi()->GetState(First(), &state));
    return (state & bits) == bits;
}

void UIElementSet::ChangeState(uint32_t setBits, uint32_t clearBits) const {
    constexpr uint32_t kUpdateNow = 1;
    for (const Entry& entry : entries_)
        if (UI_ELEMENT_API_HAS(entry.api, SetState))
            Check(entry.api->SetState(entry.element, setBits, clearBits, kUpdateNow));
}

void UIElementSet::SendEvent(uint32_t code, uintptr_t data) const {
    for (const Entry& entry : entries_)
        if (UI_ELEMENT_API_HAS(entry.api, SendEvent))
            entry.api->SendEvent(entry.element, code, entry.element, data, nullptr);
}

std::wstring UIElementSet::Text(const Entry& entry) const {
    std::wstring text;
    if (UI_ELEMENT_API_HAS(entry.api, GetText))
        Check(entry.api->GetText(entry.element, &AppendText, &text));
    return text;
}

void UIElementSet::SetText(const Entry& entry, const std::wstring& text) const {
    if (UI_ELEMENT_API_HAS(entry.api, SetText))
        Check(entry.api->SetText(entry.element, text.c_str()));
}

} // namespace SOImpl
