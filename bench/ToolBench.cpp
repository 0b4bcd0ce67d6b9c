// The markup tool under the host's mouse events on the long sample document:
// one pointer move of a drag, with and without the repaint it asks for, and
// the release of a drag over 100 pages that marks them all up in one edit
// group. Beside each, MuPDF doing the same work.
//
// Every benchmark comes in two halves named ".../ours" and ".../mupdf".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

#include "BenchSupport.h"
#include "PageSubject.h"
#include "hostbl/HostBL.h"

namespace {

using bench::ObjectPtr;
using bench::PageSubject;
namespace Ev = BLInputEventTypes;

constexpr int kReleasePages = 100;

const bench::PaintColor kPaint{{1.0f, float(0xD4) / 255, 0.0f}, float(0x80) / 255};

// --- One move of a drag ------------------------------------------------------

// The densest page, with a tool that has been pressed at the start of the
// first column, and MuPDF's text of the same page.
struct DragScene {
    std::unique_ptr<PageSubject> subject;
    ObjectPtr tool;
    ObjectPtr plainView; // the same page, with no tool painting on it
    fz_stext_page* text = nullptr;
    SL::PointI press{};
    fz_point pressMupdf{};
};

DragScene* gDrag = nullptr;

// Where a move goes: between two paragraphs ("gap": the hit test misses and
// the nearest character in the swept rectangle is searched), or onto the
// character halfway through the page ("char": the hit test finds it).
SL::PointI Target(const DragScene& scene, bool gap) {
    const bench::PagePlaces& places = scene.subject->places;
    return scene.subject->Device(gap ? places.gap : places.middleChar);
}

// One move event: the tool's hit test, the nearest-character search when it
// misses, the caret update, the view's Invalidate and the cursor. MuPDF:
// fz_highlight_selection from the press point to the pointer, which finds
// both ends on the page and makes the selection's quads.
void MoveOurs(benchmark::State& state, bool gap) {
    bench::Run(state, [&] {
        const SL::PointI target = Target(*gDrag, gap);
        ServiceObject* tool = gDrag->tool.get();
        if (!bench::Send(tool, Ev::kMouseMove, target)) {
            state.SkipWithError("the move was not handled");
            return;
        }
        for (auto _ : state)
            bench::Send(tool, Ev::kMouseMove, target);
        state.counters["caret"] = double(bench::TrackerOf(tool).Caret().Caret().index);
    });
}

void MoveMupdf(benchmark::State& state, bool gap) {
    const fz_point target = gDrag->subject->MupdfPoint(Target(*gDrag, gap));
    fz_context* ctx = gDrag->subject->mupdf->Context();
    fz_quad quads[2048];
    int n = 0;
    for (auto _ : state) {
        n = fz_highlight_selection(ctx, gDrag->text, gDrag->pressMupdf, target, quads, 2048);
        benchmark::DoNotOptimize(quads);
    }
    state.counters["quads"] = double(n);
}

// The plug-in's own share of a repaint: the selected characters' quads of
// the page and the fill geometry built from them with the host's graphics
// factory, for the selection a move to the gap leaves. MuPDF:
// fz_highlight_selection and a path of its quads; this side also finds the
// two ends on the page, which ours has from the move.
void LiveGeometryOurs(benchmark::State& state) {
    bench::Run(state, [&] {
        ServiceObject* tool = gDrag->tool.get();
        bench::Send(tool, Ev::kMouseMove, Target(*gDrag, true));
        BL::TextSelectionTracker& tracker = bench::TrackerOf(tool);
        const ObjectPtr factory = HostBL::NewService("GraphicsFactory");
        const uint64_t page = uint64_t(gDrag->subject->page);
        size_t chars = 0;
        for (auto _ : state) {
            const std::vector<SL::Quad> quads = tracker.GetCharQuads(page);
            const ObjectPtr geometry = BL::BuildSelectionGeometry(factory.get(), quads);
            benchmark::DoNotOptimize(geometry.get());
            chars = quads.size();
        }
        state.counters["chars"] = double(chars);
    });
}

void LiveGeometryMupdf(benchmark::State& state) {
    PageSubject& s = *gDrag->subject;
    const fz_point target = s.MupdfPoint(Target(*gDrag, true));
    int quads = 0;
    for (auto _ : state) {
        if (!bench::SelectionPath(*s.mupdf, gDrag->text, gDrag->pressMupdf, target, &quads)) {
            state.SkipWithError(s.mupdf->Error().c_str());
            break;
        }
    }
    state.counters["quads"] = double(quads);
}

// The move and the repaint it asks for, as the host's Draw does it: the
// page rendered by folio into the view's image, then the tool's
// OnDrawPageView handler, which reads the selected characters' quads,
// builds the selection geometry and fills it. MuPDF: render the page at
// zoom 1, fz_highlight_selection, fill the quads over the page.
void MoveRepaintOurs(benchmark::State& state) {
    bench::Run(state, [&] {
        const SL::PointI target = Target(*gDrag, true);
        ServiceObject* tool = gDrag->tool.get();
        ServiceObject* view = gDrag->subject->view.get();
        // The selection must show: at the press point the page differs from
        // the same page drawn without the tool.
        bench::Send(tool, Ev::kMouseMove, target);
        const HostBL::Image painted = HostBL::Draw(view);
        const HostBL::Image plain = HostBL::Draw(gDrag->plainView.get());
        const SL::PointI at = gDrag->press;
        if (painted.Pixel(at.x, at.y) == plain.Pixel(at.x, at.y)) {
            state.SkipWithError("the repaint shows no selection");
            return;
        }
        for (auto _ : state) {
            bench::Send(tool, Ev::kMouseMove, target);
            const HostBL::Image image = HostBL::Draw(view);
            benchmark::DoNotOptimize(image.rgba.data());
        }
    });
}

void MoveRepaintMupdf(benchmark::State& state, bool selection) {
    PageSubject& s = *gDrag->subject;
    const fz_point target = s.MupdfPoint(Target(*gDrag, true));
    int quads = 0;
    for (auto _ : state) {
        if (!bench::RenderWithSelection(*s.mupdf, s.page, gDrag->text, gDrag->pressMupdf, target,
                                        kPaint, selection, &quads)) {
            state.SkipWithError(s.mupdf->Error().c_str());
            break;
        }
    }
    state.counters["quads"] = double(quads);
}

// The repaint alone with no selection painted: what the host's drawing
// costs by itself, for reading the two above.
void RepaintOurs(benchmark::State& state) {
    bench::Run(state, [&] {
        ServiceObject* view = gDrag->plainView.get();
        for (auto _ : state) {
            const HostBL::Image image = HostBL::Draw(view);
            benchmark::DoNotOptimize(image.rgba.data());
        }
    });
}

// --- The release of a drag over 100 pages ------------------------------------

// Press at the start of the first page's first column, pointer at the
// character halfway through page 100.
struct ReleaseScene {
    std::unique_ptr<PageSubject> subject; // page 1 of the long document
    ObjectPtr tool;
    SL::PointI press{};
    SL::PointI end{};
    std::vector<SL::PointI> across; // the middle of each page in between
    std::vector<bench::PageSelection> mupdf;
    std::vector<fz_stext_page*> texts;
    int mupdfBase = 0; // MuPDF's undo position before any release
};

ReleaseScene* gRelease = nullptr;

// The drag before the release, untimed. `warm`: the pointer crosses every
// page in between, and each move reads that page's text into the tool's
// cache as a real drag (and its live painting) would; otherwise it jumps
// from page 1 to page 100 and the release reads the pages in between.
void Drag(const ReleaseScene& scene, bool warm) {
    ServiceObject* tool = scene.tool.get();
    if (!bench::Send(tool, Ev::kButtonDown, scene.press))
        throw std::runtime_error("the press on page 1 was not handled");
    if (warm) {
        for (const SL::PointI& point : scene.across)
            bench::Send(tool, Ev::kMouseMove, point);
    }
    bench::Send(tool, Ev::kMouseMove, scene.end);
}

void ReleaseOurs(benchmark::State& state, bool warm) {
    bench::Run(state, [&] {
        ReleaseScene& scene = *gRelease;
        ServiceObject* document = scene.subject->document.get();
        ServiceObject* tool = scene.tool.get();
        bool checked = false;
        for (auto _ : state) {
            state.PauseTiming();
            Drag(scene, warm);
            state.ResumeTiming();
            bench::Send(tool, Ev::kButtonUp, scene.end);
            state.PauseTiming();
            // The first release is checked: one annotation a page, all of
            // them gone with one undo.
            std::vector<HostBL::AnnotRecord> annots;
            if (!checked)
                annots = HostBL::ListAnnots(document);
            const bool undone = HostBL::Undo(document);
            if (!checked) {
                uint64_t quads = 0;
                for (const HostBL::AnnotRecord& annot : annots)
                    quads += annot.quads.size();
                state.counters["annots"] = double(annots.size());
                state.counters["quads"] = double(quads);
                if (!undone || annots.size() != size_t(kReleasePages) ||
                    !HostBL::ListAnnots(document).empty()) {
                    state.SkipWithError(
                        "the release did not make one annotation a page in one undo step");
                    break;
                }
                checked = true;
            }
            state.ResumeTiming();
        }
    });
}

// MuPDF, in one operation (one undo step), for each page: the selection's
// quads with fz_highlight_selection (the first page from the press point
// on, the last up to the pointer, the others whole), then pdf_create_annot
// (Highlight), the quad points, colour, opacity and author, and
// pdf_update_annot for its appearance. `warm`: the text of every page is
// at hand; otherwise that of the pages in between is read in the release.
void ReleaseMupdf(benchmark::State& state, bool warm) {
    ReleaseScene& scene = *gRelease;
    bench::MupdfDocument& mupdf = *scene.subject->mupdf;
    std::vector<bench::PageSelection> pages = scene.mupdf;
    if (!warm) {
        for (size_t i = 1; i + 1 < pages.size(); ++i)
            pages[i].text = nullptr;
    }
    int annots = 0;
    int quads = 0;
    for (auto _ : state) {
        if (!bench::HighlightPages(mupdf, pages, kPaint, bench::kAuthor, &annots, &quads)) {
            state.SkipWithError(mupdf.Error().c_str());
            break;
        }
        state.PauseTiming();
        const bool oneStep = mupdf.UndoPosition() == scene.mupdfBase + 1;
        const bool undone = mupdf.UndoTo(scene.mupdfBase);
        state.ResumeTiming();
        if (!oneStep || annots != kReleasePages) {
            state.SkipWithError("MuPDF did not make one annotation a page in one undo step");
            break;
        }
        if (!undone) {
            state.SkipWithError(mupdf.Error().c_str());
            break;
        }
    }
    state.counters["annots"] = double(annots);
    state.counters["quads"] = double(quads);
}

// --- Set-up --------------------------------------------------------------------

std::unique_ptr<DragScene> MakeDragScene() {
    auto scene = std::make_unique<DragScene>();
    scene->subject = bench::OpenSubject("large", "large.pdf", -1, 1 << 20);
    PageSubject& s = *scene->subject;
    if (!s.places.haveGap)
        throw std::runtime_error("no gap between paragraphs on " + s.label);
    scene->text = s.mupdf->NewText(s.page);
    if (!scene->text)
        throw std::runtime_error(s.mupdf->Error());
    const fz_irect shown = fz_round_rect(s.bounds);
    scene->plainView = bench::ViewOfPage(s.document.get(), uint64_t(s.page), shown.x1 - shown.x0,
                                         shown.y1 - shown.y0);
    scene->tool = bench::NewTool(s.view.get());
    scene->press = s.Device(s.places.columnStart);
    scene->pressMupdf = s.MupdfPoint(scene->press);
    if (!bench::Send(scene->tool.get(), Ev::kButtonDown, scene->press))
        throw std::runtime_error("the press at the start of the column was not handled");
    return scene;
}

std::unique_ptr<ReleaseScene> MakeReleaseScene() {
    auto scene = std::make_unique<ReleaseScene>();
    scene->subject = bench::OpenSubject("large", "large.pdf", 0);
    PageSubject& s = *scene->subject;
    bench::MupdfDocument& mupdf = *s.mupdf;
    if (mupdf.PageCount() < kReleasePages)
        throw std::runtime_error(s.path + " has fewer than 100 pages");
    const int last = kReleasePages - 1;
    bench::PagePlaces lastPlaces;
    fz_rect lastBounds;
    fz_matrix lastTransform;
    if (!bench::FindPlaces(mupdf, last, &lastPlaces) ||
        !mupdf.PageGeometry(last, &lastBounds, &lastTransform))
        throw std::runtime_error(mupdf.Error());

    ServiceObject* view = s.view.get();
    scene->tool = bench::NewTool(view);
    scene->press = s.Device(s.places.columnStart);
    const SL::PointF lastUser{lastPlaces.middleChar.x, lastPlaces.middleChar.y};
    scene->end = bench::ToDevice(view, uint64_t(last), lastUser);
    for (int page = 1; page < last; ++page) {
        fz_rect bounds;
        fz_matrix userToPage;
        if (!mupdf.PageGeometry(page, &bounds, &userToPage))
            throw std::runtime_error(mupdf.Error());
        const fz_point middle = fz_transform_point(
            fz_make_point((bounds.x0 + bounds.x1) / 2, (bounds.y0 + bounds.y1) / 2),
            fz_invert_matrix(userToPage));
        scene->across.push_back(
            bench::ToDevice(view, uint64_t(page), SL::PointF{middle.x, middle.y}));
    }

    // MuPDF's selections: the same two end points, the pages in between whole.
    const SL::PointF endUser = bench::ToPage(view, uint64_t(last), scene->end);
    const fz_point endMupdf =
        fz_transform_point(fz_make_point(endUser.x, endUser.y), lastTransform);
    for (int page = 0; page <= last; ++page) {
        fz_rect bounds;
        fz_matrix userToPage;
        if (!mupdf.PageGeometry(page, &bounds, &userToPage))
            throw std::runtime_error(mupdf.Error());
        fz_stext_page* text = mupdf.NewText(page);
        if (!text)
            throw std::runtime_error(mupdf.Error());
        scene->texts.push_back(text);
        bench::PageSelection selection{page, fz_make_point(bounds.x0, bounds.y0),
                                       fz_make_point(bounds.x1, bounds.y1), text};
        if (page == 0)
            selection.a = s.MupdfPoint(scene->press);
        if (page == last)
            selection.b = endMupdf;
        scene->mupdf.push_back(selection);
    }
    scene->mupdfBase = mupdf.UndoPosition();
    return scene;
}

void Register(const char* name, void (*body)(benchmark::State&, bool), bool arg, int iterations) {
    bench::RunLength(benchmark::RegisterBenchmark(name, body, arg), iterations)
        ->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char** argv) {
    if (!bench::Start(argc, argv))
        return 1;

    std::unique_ptr<DragScene> drag;
    std::unique_ptr<ReleaseScene> release;
    try {
        bench::UseHostServices();
        drag = MakeDragScene();
        release = MakeReleaseScene();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot set up the benchmarks: %s\n", e.what());
        return 1;
    }
    gDrag = drag.get();
    gRelease = release.get();

    const std::string page = drag->subject->label;
    Register(("Move/" + page + "/gap/ours").c_str(), MoveOurs, true, 0);
    Register(("Move/" + page + "/gap/mupdf").c_str(), MoveMupdf, true, 0);
    Register(("Move/" + page + "/char/ours").c_str(), MoveOurs, false, 0);
    Register(("Move/" + page + "/char/mupdf").c_str(), MoveMupdf, false, 0);
    benchmark::RegisterBenchmark(("LiveGeometry/" + page + "/gap/ours").c_str(), LiveGeometryOurs)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("LiveGeometry/" + page + "/gap/mupdf").c_str(), LiveGeometryMupdf)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("MoveRepaint/" + page + "/gap/ours").c_str(), MoveRepaintOurs)
        ->Unit(benchmark::kMicrosecond);
    Register(("MoveRepaint/" + page + "/gap/mupdf").c_str(), MoveRepaintMupdf, true, 0);
    benchmark::RegisterBenchmark(("Repaint/" + page + "/plain/ours").c_str(), RepaintOurs)
        ->Unit(benchmark::kMicrosecond);
    Register(("Repaint/" + page + "/plain/mupdf").c_str(), MoveRepaintMupdf, false, 0);
    Register("Release100/warm/ours", ReleaseOurs, true, 12);
    Register("Release100/warm/mupdf", ReleaseMupdf, true, 12);
    Register("Release100/cold/ours", ReleaseOurs, false, 6);
    Register("Release100/cold/mupdf", ReleaseMupdf, false, 6);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    for (fz_stext_page* text : release->texts)
        release->subject->mupdf->DropText(text);
    drag->subject->mupdf->DropText(drag->text);
    return 0;
}
