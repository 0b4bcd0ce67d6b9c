// Interface ids and type ids: the host's sequence hash over a name.
#pragma once

#include <cstdint>
#include <string>
#include <typeinfo>

namespace SODetails {

// CalculateSequenceHash over the name's bytes (at most 8192), no terminator.
uint32_t SequenceHash(const char* name);

// The platform's readable spelling of a type, as its type information gives it.
std::string ReadableTypeName(const std::type_info& type);

// The id of an interface, computed once per module and interface.
template <class Interface>
uint32_t InterfaceId() {
    static const uint32_t id = SequenceHash(Interface::kName);
    return id;
}

} // namespace SODetails
