#include "BenchSupport.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "bl/BLDocumentView.h"
#include "hostbl/HostBL.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

#ifndef VELLUM_BENCH_SAMPLES_DIR
#define VELLUM_BENCH_SAMPLES_DIR "samples"
#endif

namespace bench {

namespace {

using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;

bool gOwnRunLengths = true;

} // namespace

std::string SamplePath(const std::string& name) {
    const char* folder = std::getenv("VELLUM_SAMPLES_DIR");
    return std::string(folder && *folder ? folder : VELLUM_BENCH_SAMPLES_DIR) + "/" + name;
}

void UseHostServices() {
    static bool registered = false;
    if (registered)
        return;
    setenv("VELLUM_AUTHOR", kAuthor, 1);
    HostBL::RegisterServicesInProcess();
    registered = true;
}

ObjectPtr ViewOfPage(ServiceObject* document, uint64_t page, int32_t pageWidth,
                     int32_t pageHeight) {
    ObjectPtr view = HostBL::CreateView(document, pageWidth + 2 * HostBL::kPageGap,
                                        pageHeight + 2 * HostBL::kPageGap, 1.0f);
    HostBL::ScrollToPage(view.get(), page);
    return view;
}

SL::PointI ToDevice(ServiceObject* view, uint64_t page, const SL::PointF& point) {
    SL::PointI device{-1, -1};
    SODetails::CallChecked<BLDocumentViewOps::PageToDevice>(view, page, &point, &device);
    return device;
}

SL::PointF ToPage(ServiceObject* view, uint64_t page, const SL::PointI& device) {
    SL::PointF point{0, 0};
    SODetails::CallChecked<BLDocumentViewOps::DeviceToPage>(view, page, &device, &point);
    return point;
}

ObjectPtr NewTool(ServiceObject* view) {
    ObjectPtr tool;
    SODetails::CallChecked<BLInputHandlerFactoryOps::CreateInputHandler>(
        Tool::Factory::Make().get(), tool.Receive());
    const MarkupToolParams params{kPDAtomHighlight, kToolColor};
    const auto code = SODetails::TryCall<BLInputHandlerOps::Initialize>(tool.get(), view, &params);
    if (!code || *code != 0)
        throw std::runtime_error("the markup tool cannot be initialised");
    return tool;
}

bool Send(ServiceObject* tool, uint32_t type, const SL::PointI& point) {
    const BLInputEvent event{type, BLInputEventTypes::kLeftButton, point};
    bool handled = false;
    const auto code = SODetails::TryCall<BLInputHandlerOps::HandleEvent>(tool, &event, &handled);
    if (!code || *code != 0)
        throw std::runtime_error("the markup tool failed an input event");
    return handled;
}

BL::TextSelectionTracker& TrackerOf(ServiceObject* tool) {
    BL::TextSelectionTracker* tracker = Tool::Object::ImplOf(tool).Tracker();
    if (!tracker)
        throw std::runtime_error("the markup tool has no tracker");
    return *tracker;
}

void Run(benchmark::State& state, const std::function<void()>& body) {
    std::string failure;
    try {
        body();
        return;
    } catch (const ServiceObjectException& e) {
        failure = e.Function() + ": " + SLText::ToNarrow(e.Message()) + " (" +
                  std::to_string(e.Code()) + ")";
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown exception";
    }
    state.SkipWithError(failure.c_str());
}

void SteadyAllocator() {
    const char* keep = std::getenv("VELLUM_BENCH_DEFAULT_MALLOC");
    if (keep && *keep && std::strcmp(keep, "0") != 0)
        return;
    constexpr int kThreshold = 256 << 20;
    mallopt(M_MMAP_THRESHOLD, kThreshold);
    mallopt(M_TRIM_THRESHOLD, kThreshold);
}

void ReadCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--benchmark_min_time", 20) == 0)
            gOwnRunLengths = false;
    }
}

benchmark::internal::Benchmark* RunLength(benchmark::internal::Benchmark* b, int iterations) {
    if (iterations > 0 && gOwnRunLengths)
        b->Iterations(iterations);
    return b;
}

} // namespace bench

namespace bench {

bool Start(int& argc, char** argv) {
    SteadyAllocator();
    ReadCommandLine(argc, argv);
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

} // namespace bench
