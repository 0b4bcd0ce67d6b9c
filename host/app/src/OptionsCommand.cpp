// vellum options: the user's options as the settings store keeps them, to
// look at and to change.
#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "HostOptions.h"
#include "JsonWriter.h"
#include "OptionCatalogue.h"
#include "support-proxy/UserOptions.h"

namespace {

const char* const kRoot = "Options";
constexpr std::size_t kSuggestions = 3;

// A path as given, with or without the root's "Options/" and a final "/".
std::string OptionPath(std::string text) {
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    if (text != kRoot && text.rfind(std::string(kRoot) + "/", 0) != 0)
        text = std::string(kRoot) + "/" + text;
    return text;
}

bool IsUnder(const std::string& path, const std::string& prefix) {
    return path == prefix || path.rfind(prefix + "/", 0) == 0;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (c == '\n')
            quoted += "\\n";
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::string Shown(const OptionEntry& entry, const std::string& text) {
    if (std::string(entry.type) == "string")
        return Quoted(text);
    return text.empty() ? "(none)" : text;
}

void PrintLine(const OptionEntry& entry) {
    std::printf("%s = %s  (%s, default %s)\n", entry.path.c_str(),
                Shown(entry, entry.value()).c_str(), entry.type,
                Shown(entry, entry.defaultValue()).c_str());
}

[[noreturn]] void Unknown(const std::vector<OptionEntry>& catalogue, const std::string& path,
                          const char* what) {
    std::string closest;
    for (const std::string& candidate : ClosestPaths(catalogue, path, kSuggestions))
        closest += "\n  " + candidate;
    throw UsageError(std::string("there is no ") + what + " '" + path +
                     "'; the closest are:" + closest);
}

const OptionEntry& Find(const std::vector<OptionEntry>& catalogue, const std::string& given) {
    const std::string path = OptionPath(given);
    std::size_t below = 0;
    for (const OptionEntry& entry : catalogue) {
        if (entry.path == path)
            return entry;
        below += IsUnder(entry.path, path);
    }
    if (below > 0)
        throw UsageError("'" + path + "' is a group of " + std::to_string(below) +
                         " options; 'vellum options list " + path + "' shows them");
    Unknown(catalogue, path, "option");
}

int List(const std::vector<std::string>& args) {
    const CommandLine line(args, {"--json"}, {});
    if (line.Positional().size() > 1)
        throw UsageError("list takes one path prefix at most");
    const std::vector<OptionEntry> catalogue = OptionCatalogue(LoadUserOptions());
    const std::string prefix = OptionPath(line.Positional().empty() ? kRoot : line.Positional()[0]);
    std::vector<const OptionEntry*> listed;
    for (const OptionEntry& entry : catalogue)
        if (IsUnder(entry.path, prefix))
            listed.push_back(&entry);
    if (listed.empty())
        Unknown(catalogue, prefix, "option or group");
    if (!line.Has("--json")) {
        for (const OptionEntry* entry : listed)
            PrintLine(*entry);
        return 0;
    }
    JsonWriter json;
    json.BeginArray();
    for (const OptionEntry* entry : listed) {
        json.BeginObject();
        json.Key("path").String(entry->path);
        json.Key("type").String(entry->type);
        json.Key("value").String(entry->value());
        json.Key("default").String(entry->defaultValue());
        json.EndObject();
    }
    json.EndArray();
    std::fputs(json.Text().c_str(), stdout);
    return 0;
}

int Get(const std::vector<std::string>& args) {
    if (args.size() != 1)
        throw UsageError("get takes one option path");
    const std::vector<OptionEntry> catalogue = OptionCatalogue(LoadUserOptions());
    std::printf("%s\n", Find(catalogue, args[0]).value().c_str());
    return 0;
}

// The value is taken as it is, even when it looks like an option ("-1").
int Set(const std::vector<std::string>& args) {
    if (args.size() != 2)
        throw UsageError("set takes an option path and its value");
    const std::vector<OptionEntry> catalogue = OptionCatalogue(LoadUserOptions());
    const OptionEntry& entry = Find(catalogue, args[0]);
    entry.set(args[1]);
    PrintLine(entry);
    return 0;
}

int Reset(const std::vector<std::string>& args) {
    if (args.size() != 1)
        throw UsageError("reset takes an option path, or --all");
    UsrOpt_Options& options = LoadUserOptions();
    const std::vector<OptionEntry> catalogue = OptionCatalogue(options);
    if (args[0] != "--all") {
        const OptionEntry& entry = Find(catalogue, args[0]);
        entry.reset();
        PrintLine(entry);
        return 0;
    }
    std::size_t changed = 0;
    for (const OptionEntry& entry : catalogue)
        changed += entry.value() != entry.defaultValue();
    // One deletion, so that the store either keeps every option or none.
    UserSettingsNode()->DeleteChildNode(options.GetName());
    options.ResetToDefault();
    std::printf("%zu option%s had a value of %s own; every option now has its default\n", changed,
                changed == 1 ? "" : "s", changed == 1 ? "its" : "their");
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty())
        throw UsageError("say what to do: list, get, set or reset");
    const std::string action = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (action == "list")
        return List(rest);
    if (action == "get")
        return Get(rest);
    if (action == "set")
        return Set(rest);
    if (action == "reset")
        return Reset(rest);
    throw UsageError("unknown action '" + action + "': list, get, set or reset");
}

} // namespace

int RunOptions(HostSession&, const std::vector<std::string>& args) {
    return RunReportingFailures("vellum options", [&] { return Run(args); });
}
