// vellum markup: marks up text in a PDF with the plug-in's markup tool,
// dragging across the text as a user would, and saves the result.
#include <cstdio>
#include <optional>

#include "ArgumentValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DocumentText.h"
#include "HostOptions.h"
#include "HostSession.h"
#include "JsonWriter.h"
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
    uint32_t defaultColor;
};
// The colours a fresh installation starts with.
constexpr Kind kKinds[] = {
    {"highlight", kPDAtomHighlight, 0xFFFFEA3Bu},
    {"underline", kPDAtomUnderline, 0xFF44DC5Eu},
    {"strikeout", kPDAtomStrikeOut, 0xFFFF3724u},
};

// One --from/--to pair: the points as given, and as read.
struct DragRequest {
    std::string fromText, toText;
    PagePoint from, to;
};

// What one run is asked to do.
struct MarkupRequest {
    std::string input, output, snapshot;
    const Kind* kind = nullptr;
    uint32_t color = 0;
    bool colorGiven = false;
    std::wstring phrase;
    bool all = false, json = false;
    std::vector<DragRequest> drags;
};

// One drag as it was made.
struct DragReport {
    PagePoint from{}, to{};
    DragOutcome outcome;
    std::string problem; // why the drag does not count, or empty
};

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
    const CommandLine line(
        args, {"--all", "--json"},
        {"-o", "--output", "--kind", "--color", "--text", "--from", "--to", "--snapshot"});
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
    const auto color = line.Value("--color");
    request.color = color ? ParseColor(*color) : request.kind->defaultColor;
    request.colorGiven = color.has_value();
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

std::vector<DragReport> MarkPhrase(MarkupDriver& driver, DocumentText& text,
                                   const MarkupRequest& request, SnapshotFiles& snapshots) {
    std::vector<PhraseMatch> matches;
    {
        ProgressLine progress("searching page", text.PageCount());
        matches = FindPhrase(text, request.phrase, request.all, &progress);
    }
    if (matches.empty())
        throw std::runtime_error("the phrase \"" + Shortened(SLText::ToNarrow(request.phrase)) +
                                 "\" is not in " + request.input);
    snapshots.Check(matches.size());
    const std::wstring wanted = NormalisedText(request.phrase);
    std::vector<DragReport> reports;
    ProgressLine progress("marking occurrence", matches.size());
    for (const PhraseMatch& match : matches) {
        DragReport report;
        report.outcome = driver.DragOver(match, snapshots.Next());
        report.from = {match.first.page, {}};
        report.to = {match.last.page, {}};
        const std::wstring covered = report.outcome.CoveredText();
        if (covered != wanted) {
            report.problem = "the drag covered \"" + SLText::ToNarrow(covered) +
                             "\", not the phrase; it was undone";
            if (!report.outcome.annots.empty())
                driver.UndoLastDrag();
        }
        reports.push_back(std::move(report));
        progress.Update(reports.size());
    }
    return reports;
}

std::vector<DragReport> MarkBetweenPoints(MarkupDriver& driver, DocumentText& text,
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
        report.outcome = driver.Drag(report.from, report.to, snapshots.Next());
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

void PrintJson(const MarkupRequest& request, const std::vector<DragReport>& reports, bool written) {
    char color[16];
    std::snprintf(color, sizeof color, "%08X", request.color);
    JsonWriter json;
    json.BeginObject();
    json.Key("input").String(request.input);
    json.Key("output").String(request.output);
    json.Key("written").Bool(written);
    json.Key("kind").String(SubtypeName(request.kind->subtype));
    json.Key("color").String(color);
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

int Run(HostSession& session, MarkupRequest request) {
    SnapshotFiles snapshots(request.snapshot, request.input, request.output);
    CheckOutputs(request, snapshots);
    request.color = MarkupColor(session, request.kind->option,
                                request.colorGiven ? std::optional(request.color) : std::nullopt);
    if ((request.color >> 24) == 0)
        std::fprintf(stderr, "vellum markup: warning: the colour's alpha is 00, so the "
                             "annotations will be invisible\n");
    const std::optional<FileOut::EditLock> lock = LockIfInPlace(request);
    HostBL::ObjectPtr document = HostBL::OpenDocument(request.input);
    DocumentText text(document.get());
    // A repaired file is written whole, as it was rebuilt: over itself, that
    // would lose whatever the repair could not recover.
    if (lock && text.WasRepaired())
        throw std::runtime_error(request.input +
                                 " is damaged (it was repaired on opening); write the result to "
                                 "another file so that the original stays as it is");
    WarnIfRepaired("vellum markup", request.input, text);
    // The plug-ins register their tools as they start.
    session.Plugins();
    request.color = MarkupColor(session, request.kind->option,
                                request.colorGiven ? std::optional(request.color) : std::nullopt);

    std::vector<DragReport> reports;
    {
        MarkupDriver driver(document.get(), text, request.kind->subtype, request.color);
        reports = request.phrase.empty() ? MarkBetweenPoints(driver, text, request, snapshots)
                                         : MarkPhrase(driver, text, request, snapshots);
        driver.Finish();
    }
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
    if (made > 0) {
        HostBL::Save(document.get(), request.output, /*incremental=*/true);
        snapshots.Commit();
    }
    if (request.json)
        PrintJson(request, reports, made > 0);
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
