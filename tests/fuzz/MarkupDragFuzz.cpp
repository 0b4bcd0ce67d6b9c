// Any sequence of presses, moves, releases and scrolls fed to the markup
// tool over the sample's pages, as a view hands them on. Nothing may crash
// or fail, and the tool's promises hold after every event: only a release
// adds annotations, at most one per page, and as one undo step exactly when
// it adds any; no edit group is left open.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "FuzzFiles.h"
#include "bl/BLInputHandler.h"
#include "hostbl/HostBL.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObjectCall.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
namespace Input = BLInputEventTypes;

constexpr int32_t kViewWidth = 700, kViewHeight = 900;
// Pointers may stray this far outside the viewport.
constexpr int32_t kStray = 40;
constexpr size_t kEventBytes = 5;

// The sample, opened once; every input's edits are undone after it.
ServiceObject* Sample() {
    static ObjectPtr document = [] {
        HostBL::RegisterServicesInProcess();
        return HostBL::OpenDocument(VELLUM_FUZZ_SAMPLE);
    }();
    return document.get();
}

// Annotations per page, then the undo steps.
std::vector<uint64_t> CountsOf(ServiceObject* document) {
    std::vector<uint64_t> counts;
    for (uint64_t page = 0; page < HostBL::PageCount(document); ++page)
        counts.push_back(HostBL::PageAnnotCount(document, page));
    counts.push_back(HostBL::UndoSteps(document));
    return counts;
}

void CheckEvent(const std::vector<uint64_t>& before, const std::vector<uint64_t>& after,
                bool release) {
    uint64_t pagesMarked = 0;
    for (size_t page = 0; page + 1 < before.size(); ++page) {
        fuzz::Require(after[page] >= before[page], "no annotation goes away");
        fuzz::Require(after[page] - before[page] <= 1, "at most one annotation per page and drag");
        pagesMarked += after[page] - before[page];
    }
    const uint64_t steps = after.back() - before.back();
    if (!release) {
        fuzz::Require(pagesMarked == 0 && steps == 0, "only a release changes the document");
        return;
    }
    fuzz::Require(steps == (pagesMarked > 0 ? 1u : 0u),
                  "one undo step for a drag that marked, none for one that did not");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ServiceObject* document = Sample();
    const ObjectPtr view = HostBL::CreateView(document, kViewWidth, kViewHeight, 1.0f);
    ObjectPtr tool;
    SODetails::CallChecked<BLInputHandlerFactoryOps::CreateInputHandler>(
        BLAddTextMarkupAnnotationInputHandlerImpl::Factory::Make().get(), tool.Receive());
    const MarkupToolParams params{kPDAtomHighlight, 0xFFFFEA3Bu};
    fuzz::Require(*SODetails::TryCall<BLInputHandlerOps::Initialize>(tool.get(), view.get(),
                                                                     &params) == SODetails::kOk,
                  "the tool starts");
    const uint32_t stepsAtStart = HostBL::UndoSteps(document);
    std::vector<uint64_t> counts = CountsOf(document);
    for (size_t at = 0; at + kEventBytes <= size; at += kEventBytes) {
        const uint8_t* e = data + at;
        const int32_t x = (e[1] | e[2] << 8) % (kViewWidth + 2 * kStray) - kStray;
        const int32_t y = (e[3] | e[4] << 8) % (kViewHeight + 2 * kStray) - kStray;
        const uint32_t pointerEvents[] = {Input::kButtonDown, Input::kMouseMove, Input::kButtonUp};
        if (e[0] % 4 < 3) {
            const BLInputEvent event{pointerEvents[e[0] % 4], Input::kLeftButton, {x, y}};
            bool handled = false;
            const auto result =
                SODetails::TryCall<BLInputHandlerOps::HandleEvent>(tool.get(), &event, &handled);
            fuzz::Require(result && *result == SODetails::kOk, "the tool takes every event");
        } else // the view scrolls under the pointer: by up to a page and a half
            HostBL::ScrollTo(view.get(), HostBL::ScrollPosition(view.get()) + (y - x) * 2);
        const std::vector<uint64_t> now = CountsOf(document);
        CheckEvent(counts, now, e[0] % 4 == 2);
        fuzz::Require(HostBL::EditGroupDepth(document) == 0, "no edit group left open");
        counts = now;
    }
    SODetails::TryCall<BLInputHandlerOps::Terminate>(tool.get());
    while (HostBL::UndoSteps(document) > stepsAtStart)
        fuzz::Require(HostBL::Undo(document), "every step can be undone");
    return 0;
}
