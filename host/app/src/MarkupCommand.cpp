// vellum markup: marks up text in a PDF as a user does: the kind's control
// on the ribbon starts the plug-in's markup tool, and drags across the text
// make the annotations; or the text is selected first with the host's text
// tool and the control marks the selection up. Then the result is saved.
#include <cstdio>
#include <optional>

#include "ArgumentValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DocumentText.h"
#include "HostOptions.h"
#include "HostSession.h"
#include "JsonWriter.h"
#include "MarkupControls.h"
#include "MarkupDriver.h"
#include "PhraseSearch.h"
#include "ProgressLine.h"
#include "SnapshotFiles.h"
#include "fileout/EditLock.h"
#include "fileout/OutputTarget.h"
#include "hostbl/HostBL.h"
#include "service-common/TextConversion.h"

namespace {

struct Kind {
    const char* option;
    uint32_t subtype;
};
constexpr Kind kKinds[] = {
    {"highlight", kPDAtomHighlight},
    {"underline", kPDAtomUnderline},
    {"strikeout", kPDAtomStrikeOut},
};

// The name of the plug-in's markup tool, which the ribbon starts.
constexpr const char* kMarkupTool = "AddTextMarkupAnnot";

// One --from/--to pair: the points as given, and as read.
struct DragRequest {
    std::string fromText, toText;
    PagePoint from, to;
};

// What one run is asked to do.
struct MarkupRequest {
    std::string input, output, snapshot;
    const Kind* kind = nullptr;
    std::optional<uint32_t> givenColor;
    uint32_t color = 0; // the colour used: given, or the kind's last colour
    RibbonGroup group = RibbonGroup::kMarkup;
    bool onSelection = false;
    std::wstring phrase;
    bool all = false, json = false;
    std::vector<DragRequest> drags;
};

// What the ribbon showed while the markup tool was active.
struct RibbonReport {
    std::string checkedButton; // the split button's id, or empty
};

// One drag as it was made.
struct DragReport {
    PagePoint from{}, to{};
    DragOutcome outcome;
    std::string problem; // why the drag does not count, or empty
};

RibbonGroup ParseGroup(const std::string& text) {
    if (text == "markup")
        return RibbonGroup::kMarkup;
    if (text == "font")
        return RibbonGroup::kFont;
    throw UsageError("--group must be markup or font, not " + Quoted(text));
}

const Kind& ParseKind(const std::string& text) {
    for (const Kind& kind : kKinds)
        if (text == kind.option)
            return kind;
    throw UsageError("--kind must be highlight, underline or strikeout, not " + Quoted(text));
}

uint32_t ParseColor(const std::string& given) {
    std::string text = given;
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)
        text = text.substr(2);
    else if (text.rfind('#', 0) == 0)
        text = text.substr(1);
    const bool valid = (text.size() == 8 || text.size() == 6) &&
                       text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!valid)
        throw UsageError("--color takes AARRGGBB (or RRGGBB) in hexadecimal, not " + Quoted(given));
    const uint32_t value = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    return text.size() == 6 ? 0xFF000000u | value : value;
}

// "PAGE:X,Y" with the page counted from 1 and finite coordinates in page
// space.
PagePoint ParsePagePoint(const std::string& text, const std::string& option) {
    const std::size_t colon = text.find(':'), comma = text.find(',', colon + 1);
    PagePoint point{};
    if (colon == std::string::npos || comma == std::string::npos ||
        !ParsePageNumber(text.substr(0, colon), &point.page) ||
        !ParseCoordinate(text.substr(colon + 1, comma - colon - 1), &point.point.x) ||
        !ParseCoordinate(text.substr(comma + 1), &point.point.y))
        throw UsageError(option + " takes PAGE:X,Y, a page counted from 1 and two finite " +
                         "numbers (for example 1:72,700), not " + Quoted(text));
    return point;
}

MarkupRequest ParseRequest(const std::vector<std::string>& args) {
    const CommandLine line(args, {"--all", "--json", "--on-selection"},
                           {"-o", "--output", "--kind", "--color", "--group", "--text", "--from",
                            "--to", "--snapshot"});
    MarkupRequest request;
    if (line.Positional().size() != 1)
        throw UsageError(line.Positional().empty() ? "no input file" : "one input file only");
    request.input = ParseFileName(line.Positional().front(), "the input");
    const auto shortOutput = line.Value("-o"), longOutput = line.Value("--output");
    if (shortOutput && longOutput)
        throw UsageError("option -o is given more than once");
    if (!shortOutput && !longOutput)
        throw UsageError("no output file (-o OUT.pdf)");
    request.output = ParseFileName(shortOutput ? *shortOutput : *longOutput, "the output");
    const auto kind = line.Value("--kind");
    if (!kind)
        throw UsageError("no kind (--kind highlight|underline|strikeout)");
    request.kind = &ParseKind(*kind);
    if (const auto color = line.Value("--color"))
        request.givenColor = ParseColor(*color);
    if (const auto group = line.Value("--group"))
        request.group = ParseGroup(*group);
    request.onSelection = line.Has("--on-selection");
    request.all = line.Has("--all");
    request.json = line.Has("--json");
    if (const auto snapshot = line.Value("--snapshot"))
        request.snapshot = ParseFileName(*snapshot, "the snapshot");

    const auto text = line.Value("--text");
    const std::vector<std::string> from = line.Values("--from"), to = line.Values("--to");
    if (text && !from.empty())
        throw UsageError("--text and --from/--to do not go together");
    if (!text && from.empty())
        throw UsageError("say what to mark: --text PHRASE or --from PAGE:X,Y --to PAGE:X,Y");
    if (from.size() != to.size())
        throw UsageError("every --from needs its --to");
    if (request.all && !text)
        throw UsageError("--all goes with --text");
    if (text) {
        request.phrase = ParseText(*text, "the phrase");
        if (NormalisedText(request.phrase).empty())
            throw UsageError("the phrase is empty");
    }
    for (std::size_t i = 0; i < from.size(); ++i)
        request.drags.push_back(
            {from[i], to[i], ParsePagePoint(from[i], "--from"), ParsePagePoint(to[i], "--to")});
    return request;
}

// The output may be the input itself (an edit in place); the snapshots may
// be neither. All are checked before any work is done.
void CheckOutputs(const MarkupRequest& request, const SnapshotFiles& snapshots) {
    FileOut::CheckOutputTarget(request.output);
    snapshots.Check(1);
}

// An edit in place holds the document from before it is read until the
// result has replaced it, so that concurrent edits wait instead of losing
// each other's annotations.
std::optional<FileOut::EditLock> LockIfInPlace(const MarkupRequest& request) {
    if (!FileOut::SameFile(request.input, request.output))
        return std::nullopt;
    return std::optional<FileOut::EditLock>(std::in_place, request.output, [&] {
        std::fprintf(stderr, "vellum markup: waiting while another run edits %s\n",
                     request.output.c_str());
    });
}

std::string SubtypeName(uint32_t subtype) {
    const char* name = nullptr;
    return PDAtomGetString(subtype, &name) == kPDOk && name ? name : "?";
}

// The drags of one run, each made on the UI thread as the user's own, after
// which the application settles (the handlers' handed-over work has run).
class UserDrags {
public:
    UserDrags(Application& app, MarkupDriver& driver, std::function<void()> afterRelease)
        : app_(app), driver_(driver), afterRelease_(std::move(afterRelease)) {}

    template <class F> std::invoke_result_t<F&> OnUIThread(F&& f) {
        return app_.Invoke(std::forward<F>(f));
    }
    DragOutcome Over(const PhraseMatch& match, FileOut::OutputFile* snapshot) {
        return Settled(app_.Invoke([&] { return driver_.DragOver(match, snapshot, afterRelease_); }));
    }
    DragOutcome Between(const PagePoint& from, const PagePoint& to, FileOut::OutputFile* snapshot) {
        return Settled(app_.Invoke([&] { return driver_.Drag(from, to, snapshot, afterRelease_); }));
    }
    void UndoLast() {
        app_.Invoke([&] { driver_.UndoLastDrag(); });
    }

private:
    DragOutcome Settled(DragOutcome outcome) {
        app_.Settle();
        return outcome;
    }

    Application& app_;
    MarkupDriver& driver_;
    std::function<void()> afterRelease_;
};

std::vector<DragReport> MarkPhrase(UserDrags& drags, DocumentText& text,
                                   const MarkupRequest& request, SnapshotFiles& snapshots) {
    const std::vector<PhraseMatch> matches = drags.OnUIThread([&] {
        ProgressLine progress("searching page", text.PageCount());
        return FindPhrase(text, request.phrase, request.all, &progress);
    });
    if (matches.empty())
        throw std::runtime_error("the phrase \"" + Shortened(SLText::ToNarrow(request.phrase)) +
                                 "\" is not in " + request.input);
    snapshots.Check(matches.size());
    const std::wstring wanted = NormalisedText(request.phrase);
    std::vector<DragReport> reports;
    ProgressLine progress("marking occurrence", matches.size());
    for (const PhraseMatch& match : matches) {
        DragReport report;
        report.outcome = drags.Over(match, snapshots.Next());
        report.from = {match.first.page, {}};
        report.to = {match.last.page, {}};
        const std::wstring covered = report.outcome.CoveredText();
        if (covered != wanted) {
            report.problem = "the drag covered \"" + SLText::ToNarrow(covered) +
                             "\", not the phrase; it was undone";
            if (!report.outcome.annots.empty())
                drags.UndoLast();
        }
        reports.push_back(std::move(report));
        progress.Update(reports.size());
    }
    return reports;
}

std::vector<DragReport> MarkBetweenPoints(UserDrags& drags, DocumentText& text,
                                          const MarkupRequest& request, SnapshotFiles& snapshots) {
    for (const DragRequest& drag : request.drags) {
        CheckPageInRange(drag.from.page, text.PageCount());
        CheckPageInRange(drag.to.page, text.PageCount());
    }
    snapshots.Check(request.drags.size());
    std::vector<DragReport> reports;
    for (const DragRequest& drag : request.drags) {
        DragReport report;
        report.from = drag.from;
        report.to = drag.to;
        report.outcome = drags.Between(report.from, report.to, snapshots.Next());
        const std::string from = Shortened(drag.fromText), to = Shortened(drag.toText);
        if (!report.outcome.pressedOnText)
            report.problem = "no text under " + from + ": nothing to drag from";
        else if (report.outcome.annots.empty())
            report.problem = "the drag from " + from + " to " + to + " selected no text";
        reports.push_back(std::move(report));
    }
    return reports;
}

void PrintText(const std::vector<DragReport>& reports) {
    for (const DragReport& report : reports) {
        if (!report.problem.empty()) {
            std::fprintf(stderr, "vellum markup: page %llu: %s\n",
                         static_cast<unsigned long long>(report.from.page + 1),
                         report.problem.c_str());
            continue;
        }
        for (const CreatedAnnot& annot : report.outcome.annots) {
            const PDRectF& r = annot.info.rect;
            std::printf("page %llu  %-9s  rect [%.2f %.2f %.2f %.2f]  \"%s\"\n",
                        static_cast<unsigned long long>(annot.page + 1),
                        SubtypeName(annot.info.subtype).c_str(), r.x0, r.y0, r.x1, r.y1,
                        SLText::ToNarrow(NormalisedText(annot.text)).c_str());
        }
    }
}

void PrintJson(const MarkupRequest& request, const RibbonReport& ribbon,
               const std::vector<DragReport>& reports, bool written) {
    char color[16];
    std::snprintf(color, sizeof color, "%08X", request.color);
    JsonWriter json;
    json.BeginObject();
    json.Key("input").String(request.input);
    json.Key("output").String(request.output);
    json.Key("written").Bool(written);
    json.Key("kind").String(SubtypeName(request.kind->subtype));
    json.Key("color").String(color);
    json.Key("group").String(request.group == RibbonGroup::kMarkup ? "markup" : "font");
    json.Key("onSelection").Bool(request.onSelection);
    json.Key("checkedButton").StringOrNull(ribbon.checkedButton);
    json.Key("drags").BeginArray();
    for (const DragReport& report : reports) {
        json.BeginObject();
        json.Key("undoSteps").Integer(report.outcome.undoSteps);
        if (!report.problem.empty())
            json.Key("problem").String(report.problem);
        json.Key("annotations").BeginArray();
        for (const CreatedAnnot& annot : report.outcome.annots) {
            json.BeginObject();
            json.Key("page").Integer(annot.page + 1);
            json.Key("kind").String(SubtypeName(annot.info.subtype));
            json.Key("rect").BeginArray();
            for (const float v :
                 {annot.info.rect.x0, annot.info.rect.y0, annot.info.rect.x1, annot.info.rect.y1})
                json.Number(v);
            json.EndArray();
            json.Key("quads").BeginArray();
            for (const PDQuadF& q : annot.quads) {
                json.BeginArray();
                for (const PDPointF& p : {q.p0, q.p1, q.p2, q.p3})
                    json.Number(p.x).Number(p.y);
                json.EndArray();
            }
            json.EndArray();
            json.Key("text").String(SLText::ToNarrow(NormalisedText(annot.text)));
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::fputs(json.Text().c_str(), stdout);
}

// A document that takes no annotations is said plainly before any work.
void CheckAnnotationsAllowed(const MarkupRequest& request, ServiceObject* view) {
    switch (HostBL::AnnotationsBlocked(view)) {
    case HostBL::AnnotationBlock::kNone:
        return;
    case HostBL::AnnotationBlock::kForbiddenByDocument:
        throw std::runtime_error(request.input +
                                 " does not permit adding annotations (its permissions forbid "
                                 "it); nothing was written");
    case HostBL::AnnotationBlock::kReadOnlyView:
        throw std::runtime_error(request.input + " is open read-only; nothing was written");
    }
}

void WarnOfHandlerFailures(Application& app, MarkupControls& controls) {
    for (const std::string& warning : app.Invoke([&] { return controls.TakeWarnings(); }))
        std::fprintf(stderr, "vellum markup: warning: %s\n", warning.c_str());
}

// The user's way to the markup tool: the kind's control on the ribbon. The
// tool must then be the view's active tool.
RibbonReport StartMarkupTool(Application& app, MarkupControls& controls,
                             const MarkupRequest& request, ServiceObject* view) {
    app.Invoke([&] { controls.Apply(request.givenColor); });
    app.Settle();
    WarnOfHandlerFailures(app, controls);
    return app.Invoke([&] {
        if (HostBL::ActiveToolName(view) != kMarkupTool)
            throw std::runtime_error("the ribbon did not start the markup tool \"" +
                                     std::string(kMarkupTool) +
                                     "\"; 'vellum info' shows whether the plug-in started and "
                                     "placed its handlers");
        return RibbonReport{controls.CheckedButton()};
    });
}

// The way a user ends the markup tool: a click on the checked button, or,
// where there is none (the Font group checks nothing), the host's finishing
// button.
void EndMarkupTool(Application& app, MarkupControls& controls, MarkupDriver& driver) {
    app.Invoke([&] {
        if (!controls.ClickChecked())
            driver.Finish();
    });
    app.Settle();
}

// After the host's text tool selected the text: the kind's control marks the
// selection up, and leaves the tool as it was. Nothing selected, nothing to
// click.
std::function<void()> MarkSelection(MarkupControls& controls, const MarkupRequest& request,
                                    ServiceObject* view) {
    return [&controls, &request, view] {
        if (!HostBL::HasTextSelection(view))
            return;
        controls.Apply(request.givenColor);
        if (HostBL::ActiveToolName(view) != HostBL::kTextCopyTool)
            throw std::runtime_error("the ribbon started a tool instead of marking up the "
                                     "selection");
    };
}

int Run(HostSession& session, MarkupRequest request) {
    SnapshotFiles snapshots(request.snapshot, request.input, request.output);
    CheckOutputs(request, snapshots);
    const std::optional<FileOut::EditLock> lock = LockIfInPlace(request);
    Application& app = session.App();
    const Application::Shown shown = app.Open(request.input);
    ServiceObject* view = shown.blView.get();
    std::optional<DocumentText> text;
    app.Invoke([&] { text.emplace(shown.document.get()); });
    // A repaired file is written whole, as it was rebuilt: over itself, that
    // would lose whatever the repair could not recover.
    if (lock && text->WasRepaired())
        throw std::runtime_error(request.input +
                                 " is damaged (it was repaired on opening); write the result to "
                                 "another file so that the original stays as it is");
    WarnIfRepaired("vellum markup", request.input, *text);
    app.Invoke([&] { CheckAnnotationsAllowed(request, view); });

    // The Font group's icons only offer colours: its user picks the last one.
    request.color = request.givenColor.value_or(LastMarkupColor(session, request.kind->option));
    if (request.group == RibbonGroup::kFont)
        request.givenColor = request.color;
    if ((request.color >> 24) == 0)
        std::fprintf(stderr, "vellum markup: warning: the colour's alpha is 00, so the "
                             "annotations will be invisible\n");

    MarkupControls controls(app.Ribbon(), request.group, request.kind->option);
    MarkupDriver driver(shown.document.get(), *text, view, shown.geometry);
    RibbonReport ribbon;
    std::function<void()> afterRelease;
    if (request.onSelection) {
        app.Invoke([&] { HostBL::ActivateTool(view, HostBL::kTextCopyTool, MarkupToolParams{}); });
        afterRelease = MarkSelection(controls, request, view);
    } else {
        ribbon = StartMarkupTool(app, controls, request, view);
    }
    UserDrags drags(app, driver, afterRelease);
    const std::vector<DragReport> reports =
        request.phrase.empty() ? MarkBetweenPoints(drags, *text, request, snapshots)
                               : MarkPhrase(drags, *text, request, snapshots);
    if (request.onSelection)
        app.Invoke([&] { driver.Finish(); });
    else
        EndMarkupTool(app, controls, driver);
    WarnOfHandlerFailures(app, controls);

    std::size_t made = 0, failed = 0, annots = 0, undoSteps = 0;
    for (const DragReport& report : reports) {
        if (!report.problem.empty()) {
            ++failed;
            continue;
        }
        ++made;
        annots += report.outcome.annots.size();
        undoSteps += report.outcome.undoSteps;
    }
    if (made > 0)
        app.Invoke([&] {
            HostBL::Save(shown.document.get(), request.output, /*incremental=*/true);
            snapshots.Commit();
        });
    if (request.json)
        PrintJson(request, ribbon, reports, made > 0);
    else
        PrintText(reports);
    if (made == 0) {
        std::fprintf(stderr, "vellum markup: nothing was marked; %s was not written\n",
                     request.output.c_str());
        return kExitFailed;
    }
    if (!request.json)
        std::printf("%zu annotation%s in %zu drag%s, %zu undo step%s; wrote %s\n", annots,
                    annots == 1 ? "" : "s", made, made == 1 ? "" : "s", undoSteps,
                    undoSteps == 1 ? "" : "s", request.output.c_str());
    if (failed > 0) {
        std::fprintf(stderr, "vellum markup: %zu of %zu drags did not count (see above)\n", failed,
                     reports.size());
        return kExitPartly;
    }
    return kExitDone;
}

} // namespace

int RunMarkup(HostSession& session, const std::vector<std::string>& args) {
    return RunReportingFailures("vellum markup", [&] { return Run(session, ParseRequest(args)); });
}
