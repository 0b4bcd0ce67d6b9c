#include "uiengine/Elements.h"

#include <stdexcept>

#include "ElementOps.h"
#include "EngineLock.h"
#include "service-common/SequenceHash.h"

namespace UIEngine {

using namespace Detail;

namespace {

void ThrowIfFailed(uint32_t code, const std::string& detail = {}) {
    switch (code) {
    case SODetails::kOk:
        return;
    case SODetails::kBadSelector:
        throw std::invalid_argument(detail);
    case SODetails::kStaleElement:
        throw std::invalid_argument("the element handle is stale or was never the engine's");
    case SODetails::kBadArgument:
        throw std::invalid_argument("a null element handle or argument");
    default:
        throw std::runtime_error("the UI engine failed with code " + std::to_string(code));
    }
}

template <class Result, class Operation> Result Checked(Operation&& operation) {
    Result result{};
    std::string detail;
    ThrowIfFailed(operation(&result, &detail), detail);
    return result;
}

// Throws the failure as the object recorded it, or, when it recorded
// nothing, with the bare code.
[[noreturn]] void ThrowObjectFailure(ServiceObject* object, uint32_t code, const char* what) {
    CheckResult(object, code);
    throw std::runtime_error(std::string(what) + " failed with code " + std::to_string(code));
}

bool IsUIHandler(const ServiceObject* object) {
    static const uint32_t id = SODetails::SequenceHash("UIHandler");
    return object && object->interfaceId == id;
}

} // namespace

std::vector<HELEMENT> Select(HELEMENT from, const std::string& selector) {
    return Checked<std::vector<HELEMENT>>([&](std::vector<HELEMENT>* found, std::string* detail) {
        return SelectElements(from, selector.c_str(), found, detail);
    });
}

HELEMENT SelectFirst(HELEMENT from, const std::string& selector) {
    std::vector<HELEMENT> found = Select(from, selector);
    return found.empty() ? nullptr : found.front();
}

bool Matches(HELEMENT element, const std::string& selector) {
    return Checked<bool>([&](bool* matches, std::string* detail) {
        return MatchesSelector(element, selector.c_str(), matches, detail);
    });
}

HELEMENT FindNearest(HELEMENT element, const std::string& selector, uint32_t depth) {
    return Checked<HELEMENT>([&](HELEMENT* found, std::string* detail) {
        return FindNearestAncestor(element, selector.c_str(), depth, found, detail);
    });
}

HELEMENT Parent(HELEMENT element) {
    return Checked<HELEMENT>(
        [&](HELEMENT* parent, std::string*) { return GetParent(element, parent); });
}

uint32_t State(HELEMENT element) {
    return Checked<uint32_t>(
        [&](uint32_t* state, std::string*) { return GetState(element, state); });
}

void SetState(HELEMENT element, uint32_t setBits, uint32_t clearBits, bool updateNow) {
    ThrowIfFailed(Detail::SetState(element, setBits, clearBits, updateNow));
}

std::wstring Text(HELEMENT element) {
    return Checked<std::wstring>(
        [&](std::wstring* text, std::string*) { return GetText(element, text); });
}

void SetText(HELEMENT element, const std::wstring& text) {
    ThrowIfFailed(Detail::SetText(element, text.c_str()));
}

std::optional<std::string> Attribute(HELEMENT element, const std::string& name) {
    ElementInfo info = Describe(element);
    for (const auto& attribute : info.attributes)
        if (attribute.first == name)
            return attribute.second;
    return std::nullopt;
}

bool SendEvent(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data) {
    EventRoute route;
    ThrowIfFailed(PrepareEvent(target, code, source, data, &route));
    DeliveryResult result = DeliverEvent(route);
    if (SODetails::IsFailure(result.code))
        ThrowObjectFailure(result.failedHandler.get(), result.code, "the UI handler");
    return result.handled;
}

ElementInfo Describe(HELEMENT element) {
    return Checked<ElementInfo>(
        [&](ElementInfo* info, std::string*) { return Detail::Describe(element, info); });
}

bool IsLive(HELEMENT element) {
    EngineLock lock(EngineMutex());
    return Handles().Find(element) != nullptr;
}

void AttachHandler(HELEMENT element, ServiceObject* handler, ServiceObject* window) {
    if (!IsUIHandler(handler))
        throw std::invalid_argument("only a \"UIHandler\" service object can be attached");
    // End the handler's and the element's present attachments first.
    std::vector<HELEMENT> previous;
    {
        EngineLock lock(EngineMutex());
        Element* e = Handles().Find(element);
        if (!e)
            ThrowIfFailed(element ? SODetails::kStaleElement : SODetails::kBadArgument);
        for (const auto& other : e->tree->elements)
            if (other->handler.get() == handler || (other.get() == e && other->handler))
                previous.push_back(other->handle);
    }
    for (HELEMENT attachedTo : previous)
        DetachHandler(attachedTo);

    PendingChange pending;
    {
        EngineLock lock(EngineMutex());
        Element* e = Handles().Find(element);
        if (!e)
            ThrowIfFailed(SODetails::kStaleElement);
        e->handler = ObjectPtr::Share(handler);
        pending = PendingChange::Record(*e, ChangeKind::kHandler, false);
    }
    pending.Deliver();
    try {
        std::optional<uint32_t> code =
            SODetails::TryCall<UIHandlerOps::Attached>(handler, window, element);
        if (code && SODetails::IsFailure(*code))
            ThrowObjectFailure(handler, *code, "Attached");
    } catch (...) {
        ObjectPtr taken; // released without the lock
        EngineLock lock(EngineMutex());
        Element* e = Handles().Find(element);
        if (e && e->handler.get() == handler)
            taken = std::move(e->handler);
        lock.unlock();
        throw;
    }
}

void DetachHandler(HELEMENT element) {
    ObjectPtr handler;
    PendingChange pending;
    {
        EngineLock lock(EngineMutex());
        Element* e = Handles().Find(element);
        if (!e)
            ThrowIfFailed(element ? SODetails::kStaleElement : SODetails::kBadArgument);
        if (!e->handler)
            return;
        handler = std::move(e->handler);
        pending = PendingChange::Record(*e, ChangeKind::kHandler, false);
    }
    pending.Deliver();
    std::optional<uint32_t> code = SODetails::TryCall<UIHandlerOps::Detached>(handler.get());
    if (code && SODetails::IsFailure(*code))
        ThrowObjectFailure(handler.get(), *code, "Detached");
}

ObjectPtr HandlerOf(HELEMENT element) {
    EngineLock lock(EngineMutex());
    Element* e = Handles().Find(element);
    if (!e)
        ThrowIfFailed(element ? SODetails::kStaleElement : SODetails::kBadArgument);
    return e->handler;
}

} // namespace UIEngine
