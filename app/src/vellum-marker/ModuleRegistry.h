// The module's three registries, filled by static initialisers while the
// module loads and read by the exports and by RegisterObjects.
#pragma once

#include <boost/function.hpp>

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"

// A service object that CreateServiceObject can make by name.
struct ServiceObjectRegistration {
    using Factory = boost::function<SODetails::BasicServiceObjectPtr<>()>;

    // Puts the node in front of the list.
    ServiceObjectRegistration(const char* name, Factory factory);

    const char* name;
    SLAtom atom = SODetails::kUnresolvedAtom;
    Factory factory;
    ServiceObjectRegistration* next = nullptr;

    static ServiceObjectRegistration* Head();
};

// An input-handler factory to register with the business-logic service.
struct InputHandlerRegistration {
    // Puts the node in front of the list and clears the list's registered mark.
    InputHandlerRegistration(const char* name, SODetails::BasicServiceObjectPtr<> factory);

    const char* name;
    SLAtom atom = SODetails::kUnresolvedAtom;
    SODetails::BasicServiceObjectPtr<> factory;
    InputHandlerRegistration* next = nullptr;
    bool registered = false;

    static InputHandlerRegistration* Head();
    static bool ListRegistered();
    static void MarkListRegistered();
};

// A UI action to announce to the UI service.
struct UIActionRegistration {
    using Factory = uint32_t (*)(ServiceObject** out);

    UIActionRegistration(const char* name, Factory factory);

    SLAtom atom;
    Factory factory;
    UIActionRegistration* next = nullptr;

    static UIActionRegistration* Head();
};
