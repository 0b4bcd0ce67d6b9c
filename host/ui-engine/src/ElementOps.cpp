#include "ElementOps.h"

#include <optional>

#include "EngineLock.h"
#include "Selector.h"

namespace UIEngine::Detail {

using SODetails::kBadArgument;
using SODetails::kBadSelector;
using SODetails::kOk;
using SODetails::kStaleElement;

namespace {

// Runs `operation` on the live element with the lock held.
template <class Operation> uint32_t WithElement(HELEMENT handle, Operation&& operation) {
    if (!handle)
        return kBadArgument;
    EngineLock lock(EngineMutex());
    Element* element = Handles().Find(handle);
    if (!element)
        return kStaleElement;
    return operation(*element);
}

// Like WithElement, for a change that the tree's listeners hear of once the
// lock is released.
template <class Change> uint32_t ChangeElement(HELEMENT handle, Change&& change) {
    PendingChange pending;
    uint32_t code = WithElement(handle, [&](Element& element) {
        pending = change(element);
        return kOk;
    });
    pending.Deliver();
    return code;
}

std::optional<Selector> ParseSelector(const char* text, uint32_t* code, std::string* detail) {
    if (!text) {
        *code = kBadArgument;
        return std::nullopt;
    }
    try {
        return Selector::Parse(text);
    } catch (const SelectorError& e) {
        if (detail)
            *detail = e.what();
        *code = kBadSelector;
        return std::nullopt;
    }
}

// Parses the selector and checks the out-pointer, then runs `operation`
// with the live element, the selector and the out-value, with the lock held.
template <class Out, class Operation>
uint32_t WithSelector(HELEMENT handle, const char* text, Out* out, std::string* detail,
                      Operation&& operation) {
    uint32_t code = kOk;
    std::optional<Selector> selector = ParseSelector(text, &code, detail);
    if (!selector)
        return code;
    if (!out)
        return kBadArgument;
    return WithElement(handle, [&](Element& element) {
        operation(element, *selector, *out);
        return kOk;
    });
}

void CollectMatches(const Element& from, const Selector& selector, std::vector<HELEMENT>* found) {
    for (const Element* child : from.children) {
        if (selector.Matches(*child))
            found->push_back(child->handle);
        CollectMatches(*child, selector, found);
    }
}

ColorPopupRecord ReadColorPopupRequest(const UIColorPopupRequest& request, uint64_t received) {
    ColorPopupRecord record;
    record.colorText = request.colorText ? request.colorText : L"";
    record.allowCustom = request.allowCustom;
    record.markCurrent = request.markCurrent;
    if (request.opacity)
        record.opacity = *request.opacity;
    record.received = received;
    return record;
}

} // namespace

uint32_t SelectElements(HELEMENT from, const char* selectorText, std::vector<HELEMENT>* found,
                        std::string* detail) {
    return WithSelector(from, selectorText, found, detail,
                        [](Element& element, const Selector& selector, std::vector<HELEMENT>& out) {
                            out.clear();
                            CollectMatches(element, selector, &out);
                        });
}

uint32_t MatchesSelector(HELEMENT handle, const char* selectorText, bool* matches,
                         std::string* detail) {
    return WithSelector(handle, selectorText, matches, detail,
                        [](Element& element, const Selector& selector, bool& out) {
                            out = selector.Matches(element);
                        });
}

uint32_t FindNearestAncestor(HELEMENT handle, const char* selectorText, uint32_t depth,
                             HELEMENT* found, std::string* detail) {
    return WithSelector(handle, selectorText, found, detail,
                        [depth](Element& element, const Selector& selector, HELEMENT& out) {
                            out = nullptr;
                            uint32_t looked = 0;
                            for (const Element* e = &element; e && (depth == 0 || looked < depth);
                                 e = e->parent, ++looked)
                                if (selector.Matches(*e)) {
                                    out = e->handle;
                                    break;
                                }
                        });
}

uint32_t GetParent(HELEMENT handle, HELEMENT* parent) {
    if (!parent)
        return kBadArgument;
    return WithElement(handle, [&](Element& element) {
        *parent = element.parent ? element.parent->handle : nullptr;
        return kOk;
    });
}

uint32_t GetState(HELEMENT handle, uint32_t* state) {
    if (!state)
        return kBadArgument;
    return WithElement(handle, [&](Element& element) {
        *state = element.state;
        return kOk;
    });
}

uint32_t SetState(HELEMENT handle, uint32_t setBits, uint32_t clearBits, bool updateNow) {
    return ChangeElement(handle, [&](Element& element) {
        uint32_t state = (element.state & ~clearBits) | setBits;
        if (state == element.state)
            return PendingChange();
        element.state = state;
        return PendingChange::Record(element, ChangeKind::kState, updateNow);
    });
}

uint32_t GetText(HELEMENT handle, std::wstring* text) {
    if (!text)
        return kBadArgument;
    return WithElement(handle, [&](Element& element) {
        *text = element.text;
        return kOk;
    });
}

uint32_t SetText(HELEMENT handle, const wchar_t* text) {
    if (!text)
        return kBadArgument;
    return ChangeElement(handle, [&](Element& element) {
        if (element.text == text)
            return PendingChange();
        element.text = text;
        return PendingChange::Record(element, ChangeKind::kText, true);
    });
}

uint32_t Describe(HELEMENT handle, ElementInfo* info) {
    if (!info)
        return kBadArgument;
    return WithElement(handle, [&](Element& element) {
        info->index = element.index;
        info->tag = element.tag;
        info->id = element.id;
        info->classes = element.classes;
        info->attributes = element.attributes;
        info->text = element.text;
        info->state = element.state;
        info->parent = element.parent ? element.parent->handle : nullptr;
        info->revision = element.revision;
        info->hasHandler = static_cast<bool>(element.handler);
        info->popupRequest = element.popupRequest;
        return kOk;
    });
}

uint32_t PrepareEvent(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data,
                      EventRoute* route) {
    route->record = UIEventRecord{code, target, source, data};
    route->handlers.clear();
    route->handledByEngine = false;
    if (code == UIEventCode::kColorPopupRequest && !data)
        return kBadArgument;
    PendingChange pending;
    uint32_t result = WithElement(target, [&](Element& element) {
        if (source && !Handles().Find(source))
            return kStaleElement;
        if (code == UIEventCode::kColorPopupRequest) {
            uint64_t received = element.popupRequest ? element.popupRequest->received + 1 : 1;
            element.popupRequest = ReadColorPopupRequest(
                *reinterpret_cast<const UIColorPopupRequest*>(data), received);
            route->handledByEngine = true;
            pending = PendingChange::Record(element, ChangeKind::kPopupRequest, true);
            return kOk;
        }
        for (Element* e = &element; e; e = e->parent)
            if (e->handler)
                route->handlers.emplace_back(e->handle, e->handler);
        return kOk;
    });
    pending.Deliver();
    return result;
}

DeliveryResult DeliverEvent(const EventRoute& route) {
    DeliveryResult result;
    result.handled = route.handledByEngine;
    for (const auto& [element, handler] : route.handlers) {
        if (result.handled)
            break;
        bool stillAttached = WithElement(element, [&](Element& e) {
                                 return e.handler == handler ? kOk : kBadArgument;
                             }) == kOk;
        if (!stillAttached)
            continue;
        uint32_t handled = 0;
        uint32_t code = SODetails::TryCall<UIHandlerOps::HandleEvent>(handler.get(), &handled,
                                                                      element, &route.record)
                            .value_or(SODetails::kDeclined);
        if (SODetails::IsFailure(code)) {
            result.code = code;
            result.failedHandler = handler;
            break;
        }
        result.handled = handled != 0;
    }
    return result;
}

} // namespace UIEngine::Detail
