// The element operations behind both doors of the engine: the flat table
// that UI handlers call (ElementApi.cpp) and the host's C++ functions
// (Elements.cpp). Each takes the engine lock for itself, never holds it
// while calling a handler or a listener, and answers with a result code:
// kOk, kBadArgument (null handle or pointer), kStaleElement, kBadSelector
// (the reason in *detail when given).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Element.h"
#include "ui-engine/UIHandlerOps.h"

namespace UIEngine::Detail {

uint32_t SelectElements(HELEMENT from, const char* selector, std::vector<HELEMENT>* found,
                        std::string* detail);
uint32_t MatchesSelector(HELEMENT element, const char* selector, bool* matches,
                         std::string* detail);
uint32_t FindNearestAncestor(HELEMENT element, const char* selector, uint32_t depth,
                             HELEMENT* found, std::string* detail);
uint32_t GetParent(HELEMENT element, HELEMENT* parent);
uint32_t GetState(HELEMENT element, uint32_t* state);
uint32_t SetState(HELEMENT element, uint32_t setBits, uint32_t clearBits, bool updateNow);
uint32_t GetText(HELEMENT element, std::wstring* text);
uint32_t SetText(HELEMENT element, const wchar_t* text);
uint32_t Describe(HELEMENT element, ElementInfo* info);

// An event on its way: the record the handlers receive and the handlers it
// goes to, nearest first.
struct EventRoute {
    UIEventRecord record{};
    std::vector<std::pair<HELEMENT, ObjectPtr>> handlers;
    bool handledByEngine = false;
};

// Checks the event's elements and finds its handlers; an event the engine
// handles itself (a colour popup request) is taken care of here.
uint32_t PrepareEvent(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data,
                      EventRoute* route);

struct DeliveryResult {
    uint32_t code = SODetails::kOk;
    bool handled = false;
    ObjectPtr failedHandler; // the handler whose code is a failure
};
// Hands the event to each handler in turn, skipping one that was detached
// meanwhile, until one marks it handled or fails. A handler's exception
// leaves this function unchanged.
DeliveryResult DeliverEvent(const EventRoute& route);

} // namespace UIEngine::Detail
