// The service-module entry of a host module that makes its services by
// name: the provider asks with the atom of an object name, and the module
// looks the name up in its table.
#pragma once

#include <cstddef>
#include <cstdint>

struct ServiceObject;

namespace SODetails {

struct NamedServiceFactory {
    const char* objectName;
    ServiceObject* (*make)(); // a new object with one reference
};

// What the module's CreateServiceObject answers: kBadArgument for atom 0 or
// a null out-pointer; kSPServiceNotSupportedByModule when no entry has the
// atom's name; otherwise the new object and kOk.
uint32_t CreateNamedServiceObject(uint32_t atom, ServiceObject** out,
                                  const NamedServiceFactory* factories, std::size_t count);

template <std::size_t N>
uint32_t CreateNamedServiceObject(uint32_t atom, ServiceObject** out,
                                  const NamedServiceFactory (&factories)[N]) {
    return CreateNamedServiceObject(atom, out, factories, N);
}

} // namespace SODetails
