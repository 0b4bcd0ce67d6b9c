// vellum action: runs the UI action "UiAction_AddTextMarkupAnnotation" as a
// host script does. The text is selected first with the host's text tool;
// then the action is made through "UIService"'s registry, given its
// parameters and properties, and executed. Every call's result is shown, and
// the document is written only when every call succeeded.
#include <cstdio>
#include <optional>

#include "ArgumentValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "CreatedAnnotText.h"
#include "DocumentText.h"
#include "HostSession.h"
#include "MarkupDriver.h"
#include "PhraseSearch.h"
#include "ProgressLine.h"
#include "fileout/EditLock.h"
#include "fileout/OutputTarget.h"
#include "hostbl/HostBL.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "ui-engine/UIActionOps.h"

namespace {

constexpr const char* kCommand = "vellum action";
constexpr const char* kActionName = "UiAction_AddTextMarkupAnnotation";
constexpr const char* kWindowParam = "HWND";
constexpr const char* kElementParam = "HELEMENT";

struct NamedValue {
    std::string name;
    std::string text;    // the value as given
    std::wstring wide;   // a property's value
    uint64_t number = 0; // a parameter's value
};

struct ActionRequest {
    std::string input;
    std::optional<std::string> output;
    std::wstring phrase;
    std::optional<PagePoint> from, to;
    std::vector<NamedValue> params, properties;
};

// One call of the action and what it answered.
struct CallRecord {
    std::string call; // "PushParam HWND", "Execute"
    uint32_t code = 0;
    std::string failure; // what the host reported when the call threw
};

// "NAME=VALUE", split at the first '='; the name may be anything the
// action should be tried with, the empty name included.
NamedValue SplitNamedValue(const std::string& text, const std::string& option) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        throw UsageError(option + " takes NAME=VALUE, not " + Quoted(text));
    NamedValue value;
    value.name = text.substr(0, equals);
    value.text = text.substr(equals + 1);
    ParseText(value.name, option + "'s name");
    return value;
}

// A parameter's value: a decimal number or 0x and hexadecimal digits, up to
// 64 bits.
uint64_t ParseParamValue(const std::string& text, const std::string& name) {
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    const std::string digits = hex ? text.substr(2) : text;
    const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    std::size_t used = 0;
    uint64_t value = 0;
    bool valid = !digits.empty() && digits.find_first_not_of(allowed) == std::string::npos;
    try {
        if (valid)
            value = std::stoull(digits, &used, hex ? 16 : 10);
    } catch (const std::out_of_range&) {
        valid = false;
    }
    if (!valid || used != digits.size())
        throw UsageError("the value of parameter " + Quoted(name) +
                         " must be a number (decimal, or 0x and hexadecimal digits) that fits 64 "
                         "bits, not " +
                         Quoted(text));
    return value;
}

ActionRequest ParseRequest(const std::vector<std::string>& args) {
    const CommandLine line(args, {},
                           {"-o", "--output", "--text", "--from", "--to", "--param", "--property"});
    ActionRequest request;
    request.input = ParseInputFile(line);
    request.output = ParseOutputFile(line);

    const auto text = line.Value("--text"), from = line.Value("--from"), to = line.Value("--to");
    if (text && (from || to))
        throw UsageError("--text and --from/--to do not go together");
    if (!text && !from && !to)
        throw UsageError("say what to select: --text PHRASE or --from PAGE:X,Y --to PAGE:X,Y");
    if (!text && (!from || !to))
        throw UsageError("--from and --to go together");
    if (text) {
        request.phrase = ParseText(*text, "the phrase");
        if (NormalisedText(request.phrase).empty())
            throw UsageError("the phrase is empty");
    } else {
        request.from = ParsePagePoint(*from, "--from");
        request.to = ParsePagePoint(*to, "--to");
    }
    for (const std::string& given : line.Values("--param")) {
        NamedValue param = SplitNamedValue(given, "--param");
        param.number = ParseParamValue(param.text, param.name);
        request.params.push_back(std::move(param));
    }
    for (const std::string& given : line.Values("--property")) {
        NamedValue property = SplitNamedValue(given, "--property");
        property.wide = ParseText(property.text, "the value of property " + Quoted(property.name));
        request.properties.push_back(std::move(property));
    }
    return request;
}

bool Names(const std::vector<NamedValue>& params, const char* name) {
    for (const NamedValue& param : params)
        if (param.name == name)
            return true;
    return false;
}

// The calls a script makes, in order: where the action comes from (the main
// window and the ribbon's Markup group unless given), the given parameters
// and properties, then Execute. A call that throws ends the script there.
class ActionScript {
public:
    ActionScript(ServiceObject* action, const ActionRequest& request, uint64_t window,
                 HELEMENT element)
        : action_(action) {
        if (!Names(request.params, kWindowParam))
            params_.push_back({kWindowParam, {}, {}, window});
        if (!Names(request.params, kElementParam))
            params_.push_back({kElementParam, {}, {}, reinterpret_cast<uint64_t>(element)});
        params_.insert(params_.end(), request.params.begin(), request.params.end());
        properties_ = request.properties;
    }

    // On the UI thread.
    void Run() {
        for (const NamedValue& param : params_) {
            const std::wstring name = SLText::ToWide(param.name);
            if (!Call("PushParam " + param.name, [&] {
                    return SODetails::TryCall<UIActionOps::PushParam>(action_, name.c_str(),
                                                                      param.number);
                }))
                return;
        }
        for (const NamedValue& property : properties_) {
            const std::wstring name = SLText::ToWide(property.name);
            if (!Call("PushProperty " + property.name, [&] {
                    return SODetails::TryCall<UIActionOps::PushProperty>(
                        action_, name.c_str(), property.wide.c_str());
                }))
                return;
        }
        Call("Execute", [&] { return SODetails::TryCall<UIActionOps::Execute>(action_); });
    }

    bool Ran() const { return !calls_.empty(); }
    const std::vector<CallRecord>& Calls() const { return calls_; }
    bool AllDone() const {
        for (const CallRecord& call : calls_)
            if (call.code != SODetails::kOk)
                return false;
        return !calls_.empty() && calls_.back().call == "Execute";
    }

private:
    template <class F> bool Call(const std::string& what, F call) {
        CallRecord record{what, SODetails::kOk, {}};
        try {
            const std::optional<uint32_t> code = call();
            if (!code) {
                record.code = SODetails::kDeclined;
                record.failure = "the action has no such operation";
            } else {
                record.code = *code;
            }
        } catch (const ServiceObjectException& e) {
            record.code = e.Code() ? e.Code() : SODetails::kNotAvailable;
            record.failure = SLText::ToNarrow(e.Message());
        }
        calls_.push_back(record);
        return record.failure.empty();
    }

    ServiceObject* action_;
    std::vector<NamedValue> params_, properties_;
    std::vector<CallRecord> calls_;
};

// Selects the text with the host's text tool, then runs the script right
// after the release, while the selection is there: what the action creates
// is the drag's outcome.
DragOutcome SelectAndRun(Application& app, DocumentText& text, const ActionRequest& request,
                         const Application::Shown& shown, ActionScript& script) {
    ServiceObject* view = shown.blView.get();
    std::optional<PhraseMatch> phrase;
    PagePoint from{}, to{};
    if (!request.phrase.empty()) {
        const std::vector<PhraseMatch> matches = app.Invoke([&] {
            ProgressLine progress("searching page", text.PageCount());
            return FindPhrase(text, request.phrase, false, &progress);
        });
        if (matches.empty())
            throw std::runtime_error("the phrase \"" + Shortened(SLText::ToNarrow(request.phrase)) +
                                     "\" is not in " + request.input);
        phrase = matches.front();
    } else {
        CheckPageInRange(request.from->page, text.PageCount());
        CheckPageInRange(request.to->page, text.PageCount());
        from = *request.from;
        to = *request.to;
    }
    MarkupDriver driver(shown.document.get(), text, view, shown.geometry);
    const DragOutcome outcome = app.Invoke([&] {
        HostBL::ActivateTool(view, HostBL::kTextCopyTool, MarkupToolParams{});
        const auto runScript = [&] { script.Run(); };
        DragOutcome made = phrase ? driver.DragOver(*phrase, nullptr, runScript)
                                  : driver.Drag(from, to, nullptr, runScript);
        // A press beside the text ends the drag before its release: the
        // script runs all the same, on no selection.
        if (!script.Ran())
            script.Run();
        return made;
    });
    app.Settle();
    app.Invoke([&] { driver.Finish(); });
    app.Settle();
    return outcome;
}

void PrintCalls(const std::vector<CallRecord>& calls) {
    for (const CallRecord& call : calls) {
        std::printf("%s: %u\n", call.call.c_str(), call.code);
        if (!call.failure.empty())
            std::fprintf(stderr, "%s: %s failed: %s\n", kCommand, call.call.c_str(),
                         call.failure.c_str());
    }
}

int Run(HostSession& session, const ActionRequest& request) {
    if (request.output)
        FileOut::CheckOutputTarget(*request.output);
    const std::optional<FileOut::EditLock> lock =
        request.output ? LockIfEditInPlace(kCommand, request.input, *request.output)
                       : std::nullopt;
    Application& app = session.App();
    const Application::Shown shown = app.Open(request.input);
    std::optional<DocumentText> text;
    app.Invoke([&] { text.emplace(shown.document.get()); });
    CheckRepairedForEdit(kCommand, request.input, *text, lock.has_value());

    const SODetails::BasicServiceObjectPtr<> action =
        app.Invoke([&] { return app.Plugins().MakeUIAction(kActionName); });
    if (!action)
        throw std::runtime_error(std::string("no plug-in announced the UI action \"") +
                                 kActionName + "\"; 'vellum info' lists the UI actions");
    const uint64_t window = app.Invoke([&] { return app.MainWindowHandle(); });
    ActionScript script(action.get(), request, window, app.Panel(L"Markup"));
    const DragOutcome outcome = SelectAndRun(app, *text, request, shown, script);

    PrintCalls(script.Calls());
    if (!script.AllDone()) {
        const std::string unwritten = request.output ? *request.output + " was not written"
                                                     : "nothing was written";
        std::fprintf(stderr, "%s: not every call gave 0; %s\n", kCommand, unwritten.c_str());
        return kExitFailed;
    }
    for (const CreatedAnnot& annot : outcome.annots)
        std::printf("%s\n", AnnotLine(annot).c_str());
    if (!request.phrase.empty() && !outcome.annots.empty() &&
        outcome.CoveredText() != NormalisedText(request.phrase))
        std::fprintf(stderr, "%s: warning: the selection covered \"%s\", not the phrase\n",
                     kCommand, SLText::ToNarrow(outcome.CoveredText()).c_str());
    if (!request.output)
        return kExitDone;
    app.Invoke([&] { HostBL::Save(shown.document.get(), *request.output, /*incremental=*/true); });
    std::printf("%zu annotation%s; wrote %s\n", outcome.annots.size(),
                outcome.annots.size() == 1 ? "" : "s", request.output->c_str());
    return kExitDone;
}

} // namespace

int RunAction(HostSession& session, const std::vector<std::string>& args) {
    return RunReportingFailures(kCommand, [&] { return Run(session, ParseRequest(args)); });
}
