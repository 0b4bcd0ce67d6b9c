// Shared ground of the benchmarks: the sample documents, the host's services
// and views, the markup tool driven as the host drives it, and the run
// lengths of the slower benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "bl/InputHandler.h"
#include "bl/internal/TextSelectionTracker.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SLGeometry.h"

namespace bench {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// The author name both sides write into their annotations.
constexpr const char* kAuthor = "Bench";
// The tool's colour: a half-transparent yellow.
constexpr uint32_t kToolColor = 0x80FFD400u;

// A sample document: from $VELLUM_SAMPLES_DIR when set, else from the
// build's samples folder.
std::string SamplePath(const std::string& name);

// Registers the host's "BLService", "GraphicsFactory" and "BLAuthor" with
// the service provider (once) and fixes the author name.
void UseHostServices();

// A view at zoom 1 whose viewport shows `page` whole and nothing of the
// pages around it. `pageWidth` and `pageHeight` are the page's size in
// pixels.
ObjectPtr ViewOfPage(ServiceObject* document, uint64_t page, int32_t pageWidth, int32_t pageHeight);
// The view's device point of a page point, and the page point the view
// gives back for a device point (the centre of that pixel).
SL::PointI ToDevice(ServiceObject* view, uint64_t page, const SL::PointF& point);
SL::PointF ToPage(ServiceObject* view, uint64_t page, const SL::PointI& device);

// A markup tool from the module's factory, initialised for Highlight in
// kToolColor over the view. Throws std::runtime_error on failure.
ObjectPtr NewTool(ServiceObject* view);
// Hands the tool one input event as the view does; returns "handled".
// Throws std::runtime_error when the operation fails.
bool Send(ServiceObject* tool, uint32_t type, const SL::PointI& point);
BL::TextSelectionTracker& TrackerOf(ServiceObject* tool);

// Runs a benchmark's body. A failure of the code measured stops that
// benchmark with a message, not the whole run.
void Run(benchmark::State& state, const std::function<void()>& body);

// Fixes the allocator's thresholds, so that memory freed stays with the
// process. With glibc's adaptive defaults a repaint, which allocates and
// frees several page-sized buffers, costs either ~2 ms or ~20 ms depending
// on the heap's history (freed buffers handed back to the system and
// faulted in again); fixed thresholds keep every run, and both sides, on
// the same footing. VELLUM_BENCH_DEFAULT_MALLOC=1 keeps the defaults.
void SteadyAllocator();

// The slower benchmarks fix their own iteration counts, unless the command
// line sets a minimum time (as the smoke tests do): then it decides.
void ReadCommandLine(int argc, char** argv);

// The start of every benchmark program: the steady allocator, our own
// options, then the library's; false when an argument is not understood.
bool Start(int& argc, char** argv);

// Fixes `b`'s iteration count, unless the command line decides run lengths
// (see ReadCommandLine) or `iterations` is 0 (the library's choice).
benchmark::internal::Benchmark* RunLength(benchmark::internal::Benchmark* b, int iterations);

} // namespace bench
