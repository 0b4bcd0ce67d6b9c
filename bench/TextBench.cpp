// Reading a page's text and finding characters on it: the plug-in's page
// text and selection caret over folio, beside MuPDF's structured text, on
// the densest page of each sample document.
//
// Every benchmark comes in two halves named ".../ours" and ".../mupdf".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "PageSubject.h"
#include "bl/internal/SelectCaret.h"
#include "hostbl/HostBL.h"
#include "service-common/BoundingRect.h"

namespace {

using bench::PageSubject;

// Reading the page's text. Ours: a new caret's GetPageText, which asks the
// document for the page object, loads the page text through folio and
// caches it; the caret is made untimed, and let go (with the text) timed.
// MuPDF: load the page, fz_new_stext_page_from_page with folio's options,
// drop both.
void PageTextOurs(benchmark::State& state, PageSubject* s) {
    bench::Run(state, [&] {
        uint64_t chars = 0;
        // The document keeps the text of the pages read last: each iteration
        // reads from a document of its own, as the first read of a page does
        // (the document before it goes, untimed, with the text it kept).
        bench::ObjectPtr document;
        for (auto _ : state) {
            state.PauseTiming();
            document = HostBL::OpenDocument(s->path);
            auto caret = std::make_unique<BL::SelectCaret>(document.get());
            state.ResumeTiming();
            chars = caret->GetPageText(uint64_t(s->page)).GetNumChars();
            caret.reset();
        }
        state.counters["chars"] = double(chars);
    });
}

void PageTextMupdf(benchmark::State& state, PageSubject* s) {
    int chars = 0;
    for (auto _ : state) {
        if (!s->mupdf->LoadText(s->page, &chars)) {
            state.SkipWithError(s->mupdf->Error().c_str());
            break;
        }
    }
    state.counters["chars"] = double(chars);
}

// One hit test at a device point on the character halfway through the
// page's text, the page text already cached. Ours: SelectCaret::HitTestChar
// (page under the point, page point, cached text, walk to the first quad
// that holds the point). MuPDF: walk the structured text to the first
// character quad that holds the same page point.
void HitTestOurs(benchmark::State& state, PageSubject* s) {
    bench::Run(state, [&] {
        BL::SelectCaret caret(s->document.get());
        caret.GetPageText(uint64_t(s->page));
        const SL::PointI point = s->Device(s->places.middleChar);
        BL::TextPosition hit;
        if (!caret.HitTestChar(s->view.get(), point, &hit) || hit.page != uint64_t(s->page)) {
            state.SkipWithError("the point is on no character of the page");
            return;
        }
        for (auto _ : state) {
            const bool found = caret.HitTestChar(s->view.get(), point, &hit);
            benchmark::DoNotOptimize(found);
        }
        state.counters["scanned"] = double(hit.index + 1);
    });
}

// The first hit test on a page whose text was just cached: the same walk
// for MuPDF; ours also makes the page's run index, which later hit tests
// and nearest-character searches on the page reuse. The caret is made and
// its text cached untimed.
void FirstHitTestOurs(benchmark::State& state, PageSubject* s) {
    bench::Run(state, [&] {
        const SL::PointI point = s->Device(s->places.middleChar);
        BL::TextPosition hit;
        for (auto _ : state) {
            state.PauseTiming();
            auto caret = std::make_unique<BL::SelectCaret>(s->document.get());
            caret->GetPageText(uint64_t(s->page));
            state.ResumeTiming();
            const bool found = caret->HitTestChar(s->view.get(), point, &hit);
            benchmark::DoNotOptimize(found);
            state.PauseTiming();
            caret.reset();
            state.ResumeTiming();
        }
        state.counters["scanned"] = double(hit.index + 1);
    });
}

void HitTestMupdf(benchmark::State& state, PageSubject* s) {
    fz_stext_page* text = s->mupdf->NewText(s->page);
    if (!text) {
        state.SkipWithError(s->mupdf->Error().c_str());
        return;
    }
    const fz_point point = s->MupdfPoint(s->Device(s->places.middleChar));
    int scanned = 0;
    if (!bench::HitTest(text, point, &scanned))
        state.SkipWithError("the point is on no character of the page");
    for (auto _ : state) {
        const fz_stext_char* found = bench::HitTest(text, point, &scanned);
        benchmark::DoNotOptimize(found);
    }
    state.counters["scanned"] = double(scanned);
    s->mupdf->DropText(text);
}

// The character nearest to a point between two paragraphs, with the anchor
// at the start of the first column and the page text cached. Ours:
// SelectCaret::FindNearestChar over the rectangle swept from the press
// point to the point, as a drag on the anchor's page sweeps it. MuPDF:
// fz_snap_selection of the point to characters.
void NearestOurs(benchmark::State& state, PageSubject* s) {
    bench::Run(state, [&] {
        if (!s->places.haveGap) {
            state.SkipWithError("no gap between paragraphs on the page");
            return;
        }
        BL::SelectCaret caret(s->document.get());
        caret.GetPageText(uint64_t(s->page));
        const SL::PointI press = s->Device(s->places.columnStart);
        const SL::PointI gap = s->Device(s->places.gap);
        BL::TextPosition anchor;
        if (!caret.HitTestChar(s->view.get(), press, &anchor) ||
            caret.HitTestChar(s->view.get(), gap, nullptr)) {
            state.SkipWithError("the press misses text or the gap holds a character");
            return;
        }
        caret.SetAnchor(anchor);
        caret.SetCaret(anchor);
        const SL::PointF q = s->PagePoint(gap);
        const SL::PointF corners[2] = {q, s->PagePoint(press)};
        const SL::RectF swept = SL::BoundingRect(corners, 2);
        BL::TextPosition nearest;
        caret.FindNearestChar(uint64_t(s->page), q, swept, &nearest);
        if (!nearest.HasPage()) {
            state.SkipWithError("no character near the gap");
            return;
        }
        for (auto _ : state) {
            caret.FindNearestChar(uint64_t(s->page), q, swept, &nearest);
            benchmark::DoNotOptimize(nearest);
        }
        state.counters["index"] = double(nearest.index);
    });
}

void NearestMupdf(benchmark::State& state, PageSubject* s) {
    if (!s->places.haveGap) {
        state.SkipWithError("no gap between paragraphs on the page");
        return;
    }
    fz_stext_page* text = s->mupdf->NewText(s->page);
    if (!text) {
        state.SkipWithError(s->mupdf->Error().c_str());
        return;
    }
    fz_context* ctx = s->mupdf->Context();
    const fz_point point = s->MupdfPoint(s->Device(s->places.gap));
    for (auto _ : state) {
        fz_point a = point;
        fz_point b = point;
        const fz_quad snapped = fz_snap_selection(ctx, text, &a, &b, FZ_SELECT_CHARS);
        benchmark::DoNotOptimize(snapped);
    }
    s->mupdf->DropText(text);
}

using Body = void (*)(benchmark::State&, PageSubject*);

void Register(const std::string& name, Body body, PageSubject* subject, int iterations = 0) {
    bench::RunLength(benchmark::RegisterBenchmark(name.c_str(), body, subject), iterations)
        ->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char** argv) {
    if (!bench::Start(argc, argv))
        return 1;

    std::vector<std::unique_ptr<PageSubject>> subjects;
    try {
        bench::UseHostServices();
        // The sample's fifth page is its densest; the long document's
        // densest page is found.
        subjects.push_back(bench::OpenSubject("sample", "sample.pdf", 4));
        subjects.push_back(bench::OpenSubject("large", "large.pdf", -1, 1 << 20));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot set up the benchmarks: %s\n", e.what());
        return 1;
    }
    for (const auto& subject : subjects) {
        const std::string& label = subject->label;
        Register("PageText/" + label + "/ours", PageTextOurs, subject.get());
        Register("PageText/" + label + "/mupdf", PageTextMupdf, subject.get());
        Register("HitTestChar/" + label + "/ours", HitTestOurs, subject.get());
        Register("HitTestChar/" + label + "/mupdf", HitTestMupdf, subject.get());
        // Each iteration reads the page's text untimed first.
        Register("FirstHitTest/" + label + "/ours", FirstHitTestOurs, subject.get(), 400);
        Register("FirstHitTest/" + label + "/mupdf", HitTestMupdf, subject.get(), 400);
        Register("NearestChar/" + label + "/ours", NearestOurs, subject.get());
        Register("NearestChar/" + label + "/mupdf", NearestMupdf, subject.get());
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
