// A service-object module for the broker tests. Object names: "Counter"
// makes a counter; "Nested" first asks the broker for "hostlibs.nested.inner"
// from another thread; "Failing" and "Unpublished" give the broker's codes
// for a factory that failed and a module that publishes nothing, any other
// name the code for an object the module does not make. Built with HOSTLIBS_ASK_AT_LOAD, its static
// initialisers ask for "hostlibs.hosted" on the loading thread and another.
#include <atomic>
#include <string>
#include <thread>

#include "service-common/ResultCodes.h"
#include "service-common/ServiceObject.h"
#include "strpool.h"
#include "svcbroker.h"

namespace {

// A minimal service object built by hand.
struct Counter {
    ServiceObjectTable<1> table{};
    std::atomic<uint32_t> refs{1};
};

std::atomic<uint32_t> liveCounters{0};

uint32_t AskBroker(const char* name, bool fromOtherThread) {
    uint32_t code = 0xFFFFFFFF;
    auto ask = [&] {
        uint32_t atom = 0, systemError = 0;
        SLGetAtomFromString(name, &atom);
        ServiceObject* object = nullptr;
        code = ServiceProviderGetServiceObject(atom, &object, &systemError);
        if (object)
            object->common.Release(object);
    };
    if (fromOtherThread)
        std::thread(ask).join();
    else
        ask();
    return code;
}

#ifdef HOSTLIBS_ASK_AT_LOAD
uint32_t loadSameThread = AskBroker("hostlibs.hosted", false);
// Windows runs a DLL's initialisers under the loader lock, which a new thread
// needs before it can start: there a module must not wait for a thread of
// its own while it loads, so only the loading thread asks.
#if defined(_WIN32)
uint32_t loadOtherThread = 0;
#else
uint32_t loadOtherThread = AskBroker("hostlibs.hosted", true);
#endif
#endif

} // namespace

extern "C" {

SO_EXPORT ServiceObject* TestModuleMakeCounter() {
    auto* counter = new Counter;
    ServiceObject& header = counter->table.header;
    header.interfaceTableSize = 8;
    header.interfaceName = "HostlibsCounter";
    header.common.AddRef = [](ServiceObject* self) {
        return ++reinterpret_cast<Counter*>(self)->refs;
    };
    header.common.Release = [](ServiceObject* self) {
        auto* counter = reinterpret_cast<Counter*>(self);
        const uint32_t left = --counter->refs;
        if (left == 0) {
            delete counter;
            --liveCounters;
        }
        return left;
    };
    header.common.GetRefCount = [](ServiceObject* self) {
        return reinterpret_cast<Counter*>(self)->refs.load();
    };
    ++liveCounters;
    return &header;
}

SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    const char* name = nullptr;
    if (!out || SLGetStringFromAtom(atom, &name) != SODetails::kOk)
        return SODetails::kBadArgument;
    const std::string object = name;
    if (object == "Nested") {
        if (uint32_t code = AskBroker("hostlibs.nested.inner", true))
            return code;
    } else if (object == "Failing" || object == "Unpublished") {
        return object == "Failing" ? kSPFactoryFailed : kSPNoPublicObjects;
    } else if (object != "Counter") {
        return kSPServiceNotSupportedByModule;
    }
    *out = TestModuleMakeCounter();
    return SODetails::kOk;
}

SO_EXPORT uint32_t TestModuleLiveObjects() {
    return liveCounters;
}

#ifdef HOSTLIBS_ASK_AT_LOAD
SO_EXPORT uint32_t TestModuleLoadResult() {
    return loadSameThread | loadOtherThread;
}
#endif
}
