// vellum markup: marks up text in a PDF with the plug-in's markup tool,
// dragging across the text as a user would, and saves the result.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "CommandLine.h"
#include "Commands.h"
#include "DocumentText.h"
#include "HostSession.h"
#include "JsonWriter.h"
#include "MarkupDriver.h"
#include "PhraseSearch.h"
#include "ProgressLine.h"
#include "hostbl/HostBL.h"
#include "service-common/TextConversion.h"

namespace fs = std::filesystem;

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

// What one run is asked to do.
struct MarkupRequest {
    std::string input, output, snapshot;
    const Kind* kind = nullptr;
    uint32_t color = 0;
    std::wstring phrase;
    bool all = false, json = false;
    // --from/--to pairs as given: page counted from 1, point in page space.
    std::vector<std::pair<std::string, std::string>> drags;
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
    throw UsageError("--kind must be highlight, underline or strikeout, not '" + text + "'");
}

uint32_t ParseColor(std::string text) {
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)
        text = text.substr(2);
    else if (text.rfind('#', 0) == 0)
        text = text.substr(1);
    const bool valid = (text.size() == 8 || text.size() == 6) &&
                       text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!valid)
        throw UsageError("--color takes AARRGGBB (or RRGGBB) in hexadecimal, not '" + text + "'");
    const uint32_t value = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    return text.size() == 6 ? 0xFF000000u | value : value;
}

// "PAGE:X,Y" with the page counted from 1.
PagePoint ParsePagePoint(const std::string& text, uint64_t pageCount) {
    unsigned long long page = 0;
    double x = 0, y = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%llu:%lf,%lf%c", &page, &x, &y, &end) != 3)
        throw UsageError("a point is PAGE:X,Y (for example 1:72,700), not '" + text + "'");
    if (page < 1 || page > pageCount)
        throw std::out_of_range("page " + std::to_string(page) +
                                " is out of range: the document has " + std::to_string(pageCount) +
                                " page" + (pageCount == 1 ? "" : "s"));
    return {page - 1, {static_cast<float>(x), static_cast<float>(y)}};
}

MarkupRequest ParseRequest(const std::vector<std::string>& args) {
    const CommandLine line(
        args, {"--all", "--json"},
        {"-o", "--output", "--kind", "--color", "--text", "--from", "--to", "--snapshot"});
    MarkupRequest request;
    if (line.Positional().size() != 1)
        throw UsageError(line.Positional().empty() ? "no input file" : "one input file only");
    request.input = line.Positional().front();
    const auto output = line.Value("-o") ? line.Value("-o") : line.Value("--output");
    if (!output)
        throw UsageError("no output file (-o OUT.pdf)");
    request.output = *output;
    const auto kind = line.Value("--kind");
    if (!kind)
        throw UsageError("no kind (--kind highlight|underline|strikeout)");
    request.kind = &ParseKind(*kind);
    const auto color = line.Value("--color");
    request.color = color ? ParseColor(*color) : request.kind->defaultColor;
    request.all = line.Has("--all");
    request.json = line.Has("--json");
    request.snapshot = line.Value("--snapshot").value_or("");

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
        request.phrase = SLText::ToWide(*text);
        if (NormalisedText(request.phrase).empty())
            throw UsageError("the phrase is empty");
    }
    for (std::size_t i = 0; i < from.size(); ++i)
        request.drags.emplace_back(from[i], to[i]);
    return request;
}

// The output must be writable before any work is done; the file itself is
// replaced only at the end, through a temporary file and a rename.
void CheckWritable(const std::string& output) {
    const fs::path path = fs::absolute(output);
    if (fs::is_directory(path))
        throw std::runtime_error("cannot write " + output + ": it is a folder");
    const fs::path folder = path.parent_path();
    if (!fs::is_directory(folder))
        throw std::runtime_error("cannot write " + output + ": the folder " + folder.string() +
                                 " does not exist");
    std::random_device random;
    const fs::path probe = folder / (".vellum-write-check-" + std::to_string(random()));
    { std::ofstream(probe).put('\n'); }
    std::error_code ignored;
    const bool written = fs::exists(probe, ignored);
    fs::remove(probe, ignored);
    if (!written)
        throw std::runtime_error("cannot write " + output + ": the folder " + folder.string() +
                                 " is not writable");
}

// The snapshot of the n-th drag: as named for the first, numbered after it.
std::string SnapshotPath(const std::string& snapshot, std::size_t n) {
    if (snapshot.empty() || n == 0)
        return snapshot;
    fs::path path(snapshot);
    const std::string stem = path.stem().string() + "-" + std::to_string(n + 1);
    return (path.parent_path() / (stem + path.extension().string())).string();
}

std::string SubtypeName(uint32_t subtype) {
    const char* name = nullptr;
    return PDAtomGetString(subtype, &name) == kPDOk && name ? name : "?";
}

std::vector<DragReport> MarkPhrase(MarkupDriver& driver, DocumentText& text,
                                   const MarkupRequest& request) {
    std::vector<PhraseMatch> matches;
    {
        ProgressLine progress("searching page", text.PageCount());
        matches = FindPhrase(text, request.phrase, request.all, &progress);
    }
    if (matches.empty())
        throw std::runtime_error("the phrase \"" + SLText::ToNarrow(request.phrase) +
                                 "\" is not in " + request.input);
    const std::wstring wanted = NormalisedText(request.phrase);
    std::vector<DragReport> reports;
    ProgressLine progress("marking occurrence", matches.size());
    for (const PhraseMatch& match : matches) {
        DragReport report;
        report.outcome = driver.DragOver(match, SnapshotPath(request.snapshot, reports.size()));
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
                                          const MarkupRequest& request) {
    std::vector<DragReport> reports;
    for (const auto& [fromText, toText] : request.drags) {
        DragReport report;
        report.from = ParsePagePoint(fromText, text.PageCount());
        report.to = ParsePagePoint(toText, text.PageCount());
        report.outcome =
            driver.Drag(report.from, report.to, SnapshotPath(request.snapshot, reports.size()));
        if (!report.outcome.pressedOnText)
            report.problem = "no text under " + fromText + ": nothing to drag from";
        else if (report.outcome.annots.empty())
            report.problem = "the drag from " + fromText + " to " + toText + " selected no text";
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

int Run(HostSession& session, const MarkupRequest& request) {
    CheckWritable(request.output);
    HostBL::ObjectPtr document = HostBL::OpenDocument(request.input);
    DocumentText text(document.get());
    WarnIfRepaired("vellum markup", request.input, text);
    // The plug-ins register their tools as they start.
    session.Plugins();

    std::vector<DragReport> reports;
    {
        MarkupDriver driver(document.get(), text, request.kind->subtype, request.color);
        reports = request.phrase.empty() ? MarkBetweenPoints(driver, text, request)
                                         : MarkPhrase(driver, text, request);
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
    if (made > 0)
        HostBL::Save(document.get(), request.output, /*incremental=*/true);
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
