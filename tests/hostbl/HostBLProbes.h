// In-memory documents of rows of characters, and event probes, for the
// business-logic tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "TestSupport.h"
#include "bl/BLDocument.h"
#include "bl/BLDocumentView.h"
#include "hostbl/HostBL.h"

namespace HostBLTest {

using HostBL::ObjectPtr;

// A page of the in-memory backend with a row of `chars` characters, each
// 10 units wide and 12 high, from (x0 + 10, y1 - 30) in page space.
struct PageSpec {
    PDRectF crop;
    int32_t rotate;
    int chars;
};

// The quad of a character as MakeDocument lays it out.
inline PDQuadF CharQuad(const PDRectF& crop, int index) {
    const float left = crop.x0 + 10 + 10.0f * index, top = crop.y1 - 30;
    return testsupport::FolioBox(left, top - 12, left + 10, top);
}

// An in-memory document of the given pages wrapped as a document object.
inline ObjectPtr MakeDocument(const std::vector<PageSpec>& pages) {
    const testsupport::Document document = testsupport::InMemory(0);
    for (const PageSpec& spec : pages) {
        uint64_t index = 0;
        FolioMemoryAddPage(document.get(), &spec.crop, spec.rotate, &index);
        for (int c = 0; c < spec.chars; ++c) {
            const wchar_t text[2] = {static_cast<wchar_t>(L'a' + c % 26), 0};
            const PDQuadF quad = CharQuad(spec.crop, c);
            FolioMemoryAddChar(document.get(), index, text, &quad);
        }
    }
    return HostBL::WrapDocument(document.get());
}

// Counts what an event source does with a context.
struct Probe {
    std::atomic<int> calls{0};
    std::atomic<int> destroyed{0};
    static void Destroy(void* context) { ++static_cast<Probe*>(context)->destroyed; }
};

template <class Slot> struct ProbeEntry;
template <std::size_t Position, class... Args>
struct ProbeEntry<SOEvent::EventSlot<Position, Args...>> {
    static void Invoke(Args..., void* context) { ++static_cast<Probe*>(context)->calls; }
};

// Subscribes `probe` to the event `Slot` of `source` through its table;
// `counting` false passes no invoke function.
template <class Slot>
uint64_t SubscribeProbe(ServiceObject* source, Probe& probe, bool counting = true) {
    auto handle = SODetails::TryCall<typename Slot::Subscribe>(
        source, counting ? &ProbeEntry<Slot>::Invoke : nullptr, &Probe::Destroy,
        static_cast<void*>(&probe));
    return handle.value_or(0);
}

template <class Slot> uint32_t UnsubscribeProbe(ServiceObject* source, uint64_t handle) {
    return SODetails::TryCall<typename Slot::Unsubscribe>(source, handle).value_or(99);
}

} // namespace HostBLTest
