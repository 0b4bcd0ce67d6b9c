// Objects the framework tests build: a probe made by this framework, flat
// objects laid out by hand as another module would, and a barrier that lines
// two threads up for a race; and the exception a call throws.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "platform/Platform.h"
#include "service-common/ServiceObjectCall.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"

namespace fwtest {

// Counts its destructions where its owner watches them.
struct Probe {
    explicit Probe(std::atomic<int>* destructions = nullptr) : destructions(destructions) {}
    ~Probe() {
        if (destructions)
            destructions->fetch_add(1);
    }
    std::atomic<int>* destructions;
};

struct ProbeInterface {
    static constexpr const char* kName = "FrameworkProbe";
    static constexpr std::size_t kOperationCount = 1;
    static void FillOperations(SODetails::Operation*) {}
};

using ProbeObject = SODetails::ServiceObjectCppTheConcrete<ProbeInterface, Probe>;

// A service object of another module, laid out by hand: no reference
// counting (the object is static or on the stack) and N operation slots.
template <std::size_t N> struct FlatObject {
    FlatObject(uint32_t tableSize = 8 * N) {
        object.header.interfaceTableSize = tableSize;
        object.header.interfaceName = "FlatObject";
    }
    template <class Slot> void Set(typename Slot::Function function) {
        SODetails::SetOperation<Slot>(object.operations, function);
    }
    ServiceObject* get() { return &object.header; }

    ServiceObjectTable<N> object{}; // no id, no common operations, empty slots
};

// Lines two threads up before each round of a race.
class SpinBarrier {
public:
    explicit SpinBarrier(unsigned parties) : parties_(parties) {}
    void Wait() {
        const unsigned generation = generation_.load();
        if (arrived_.fetch_add(1) + 1 == parties_) {
            arrived_.store(0);
            generation_.fetch_add(1);
            return;
        }
        for (unsigned spins = 0; generation_.load() == generation; ++spins) {
            if (spins < 1000)
                Platform::ProcessorPause();
            else
                std::this_thread::yield();
        }
    }

private:
    const unsigned parties_;
    std::atomic<unsigned> arrived_{0};
    std::atomic<unsigned> generation_{0};
};

// What `call` throws; an empty exception, and a failure, when it throws none.
template <class Call> ServiceObjectException Thrown(Call call) {
    try {
        call();
    } catch (const ServiceObjectException& e) {
        return e;
    }
    ADD_FAILURE() << "no exception";
    return {};
}

} // namespace fwtest
