// vellum ribbon: the ribbon's Markup and Font groups as the UI engine holds
// them once the plug-ins' handlers are attached (and, with a document, once
// its view is the active one): every element that has an id or one of the
// classes the handlers act on, with its states, its text and the last colour
// popup request it received.
#include <algorithm>
#include <cstdio>
#include <map>

#include "ArgumentValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "HostSession.h"
#include "JsonWriter.h"
#include "service-common/TextConversion.h"
#include "ui-engine/UIHandlerOps.h"
#include "uiengine/Elements.h"

namespace {

const wchar_t* const kGroups[] = {L"Markup", L"Font"};

// The classes the ribbon's handlers look for.
const char* const kHandlerClasses[] = {
    "ribbon-item-split", "split-button",        "popup",
    "highlight-popup",   "underline-popup",     "strikethrough-popup",
    "cmd-base-name",     "font-underline-icon", "font-strike-icon",
    "font-highlight-icon"};

bool Shown(const UIEngine::ElementInfo& info) {
    return !info.id.empty() ||
           std::any_of(info.classes.begin(), info.classes.end(), [](const std::string& c) {
               return std::find(std::begin(kHandlerClasses), std::end(kHandlerClasses), c) !=
                      std::end(kHandlerClasses);
           });
}

struct ShownElement {
    uint32_t depth; // below the panel
    UIEngine::ElementInfo info;
};

struct GroupView {
    std::wstring name;
    std::string handler; // the attached handler's name, or empty
    std::vector<ShownElement> elements;
};

GroupView Describe(Application& app, const std::wstring& group) {
    GroupView view{group, {}, {}};
    HELEMENT panel = app.Panel(group);
    if (!panel)
        return view;
    app.Invoke([&] {
        if (const UIEngine::ObjectPtr handler = UIEngine::HandlerOf(panel)) {
            const char* name = nullptr;
            SODetails::TryCall<UIHandlerOps::GetHandlerName>(handler.get(), &name);
            view.handler = name ? name : handler->interfaceName;
        }
        std::map<HELEMENT, uint32_t> depths{{panel, 0}};
        std::vector<HELEMENT> elements{panel};
        for (HELEMENT e : UIEngine::Select(panel, "*"))
            elements.push_back(e);
        for (HELEMENT e : elements) {
            UIEngine::ElementInfo info = UIEngine::Describe(e);
            const uint32_t depth = e == panel ? 0 : depths[info.parent] + 1;
            depths[e] = depth;
            if (Shown(info))
                view.elements.push_back({depth, std::move(info)});
        }
    });
    return view;
}

std::string Label(const UIEngine::ElementInfo& info) {
    std::string label = info.tag;
    if (!info.id.empty())
        label += "#" + info.id;
    for (const std::string& c : info.classes)
        label += "." + c;
    return label;
}

std::string PopupText(const UIEngine::ColorPopupRecord& request) {
    const std::string color = SLText::ToNarrow(request.colorText);
    char text[160];
    std::snprintf(text, sizeof text, "popup request #%llu: colour %s",
                  static_cast<unsigned long long>(request.received),
                  color.empty() ? "(none)" : color.c_str());
    std::string out = text;
    if (request.opacity) {
        std::snprintf(text, sizeof text, ", opacity %.2f", *request.opacity);
        out += text;
    }
    return out;
}

void PrintText(const std::string& document, const std::vector<GroupView>& groups) {
    std::printf("ribbon%s%s\n", document.empty() ? " (no document)" : " with ",
                document.c_str());
    for (const GroupView& group : groups) {
        std::printf("%s  %s\n", SLText::ToNarrow(group.name).c_str(),
                    group.handler.empty() ? "(no handler)" : group.handler.c_str());
        for (const auto& [depth, info] : group.elements) {
            std::string line = std::string(2 + 2 * depth, ' ') + Label(info);
            if (info.state & UIElementState::kChecked)
                line += "  checked";
            if (info.state & UIElementState::kDisabled)
                line += "  disabled";
            if (!info.text.empty())
                line += "  \"" + SLText::ToNarrow(info.text) + "\"";
            if (info.popupRequest)
                line += "  " + PopupText(*info.popupRequest);
            std::printf("%s\n", line.c_str());
        }
    }
}

void PrintJson(const std::string& document, const std::vector<GroupView>& groups) {
    JsonWriter json;
    json.BeginObject();
    json.Key("document").StringOrNull(document);
    json.Key("groups").BeginArray();
    for (const GroupView& group : groups) {
        json.BeginObject();
        json.Key("group").String(SLText::ToNarrow(group.name));
        json.Key("handler").StringOrNull(group.handler);
        json.Key("elements").BeginArray();
        for (const auto& [depth, info] : group.elements) {
            json.BeginObject();
            json.Key("depth").Integer(depth);
            json.Key("tag").String(info.tag);
            json.Key("id").String(info.id);
            json.Key("classes").BeginArray();
            for (const std::string& c : info.classes)
                json.String(c);
            json.EndArray();
            json.Key("checked").Bool(info.state & UIElementState::kChecked);
            json.Key("disabled").Bool(info.state & UIElementState::kDisabled);
            json.Key("text").String(SLText::ToNarrow(info.text));
            json.Key("popupRequest");
            if (!info.popupRequest) {
                json.Null();
            } else {
                const UIEngine::ColorPopupRecord& request = *info.popupRequest;
                json.BeginObject();
                json.Key("color").String(SLText::ToNarrow(request.colorText));
                json.Key("allowCustom").Integer(request.allowCustom);
                json.Key("markCurrent").Integer(request.markCurrent);
                json.Key("opacity");
                if (request.opacity)
                    json.Number(*request.opacity);
                else
                    json.Null();
                json.Key("received").Integer(request.received);
                json.EndObject();
            }
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::fputs(json.Text().c_str(), stdout);
}

int Run(HostSession& session, const std::vector<std::string>& args) {
    const CommandLine line(args, {"--json", "--read-only"}, {});
    if (line.Positional().size() > 1)
        throw UsageError("one document at most");
    if (line.Has("--read-only") && line.Positional().empty())
        throw UsageError("--read-only goes with a document");
    std::string document;
    if (!line.Positional().empty())
        document = ParseFileName(line.Positional().front(), "the document");
    Application& app = session.App();
    if (!document.empty())
        app.Open(document, line.Has("--read-only"));
    std::vector<GroupView> groups;
    for (const wchar_t* group : kGroups)
        groups.push_back(Describe(app, group));
    if (line.Has("--json"))
        PrintJson(document, groups);
    else
        PrintText(document, groups);
    return kExitDone;
}

} // namespace

int RunRibbon(HostSession& session, const std::vector<std::string>& args) {
    return RunReportingFailures("vellum ribbon", [&] { return Run(session, args); });
}
