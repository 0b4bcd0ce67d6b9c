// vellum: the stand-in host application. It loads the plug-ins of its
// "plugins" folder and drives them the way the editor would.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ArgumentValues.h"
#include "Commands.h"
#include "HostSession.h"

namespace {

void PrintUsage(FILE* out) {
    std::fputs(
        "usage: vellum <command> [options]\n"
        "\n"
        "commands:\n"
        "  info                       the loaded plug-ins and what they publish\n"
        "  text IN.pdf [--page N] [--json]\n"
        "                             a page's characters with their quads, as the plug-in sees "
        "them\n"
        "  markup IN.pdf -o OUT.pdf --kind highlight|underline|strikeout [--color AARRGGBB]\n"
        "         [--group markup|font] [--on-selection]\n"
        "         (--text PHRASE [--all] | --from PAGE:X,Y --to PAGE:X,Y ...)\n"
        "         [--json] [--snapshot PNG]\n"
        "                             mark up text the way a user does: the ribbon's button,\n"
        "                             then drags across the text (or select, then the button)\n"
        "  ribbon [IN.pdf [--read-only]] [--json]\n"
        "                             the ribbon's Markup and Font groups as the handlers left "
        "them\n"
        "  action IN.pdf [-o OUT.pdf] (--text PHRASE | --from PAGE:X,Y --to PAGE:X,Y)\n"
        "         [--param NAME=VALUE]... [--property NAME=VALUE]...\n"
        "                             select the text, then run the UI action\n"
        "                             UiAction_AddTextMarkupAnnotation as a host script does\n"
        "  serve IN.pdf [-o OUT.pdf] [--port N] [--read-only]\n"
        "                             edit in a browser: the ribbon, the pages, a real mouse\n"
        "  options list [PATH-PREFIX] [--json] | get PATH | set PATH VALUE | reset PATH|--all\n"
        "                             look at or change the user options\n",
        out);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(args.empty() ? stderr : stdout);
        return args.empty() ? kExitUsage : kExitDone;
    }
    std::string command = args[0];
    args.erase(args.begin());
    HostSession session;
    if (command == "info")
        return RunInfo(session, args);
    if (command == "text")
        return RunText(session, args);
    if (command == "markup")
        return RunMarkup(session, args);
    if (command == "options")
        return RunOptions(session, args);
    if (command == "ribbon")
        return RunRibbon(session, args);
    if (command == "action")
        return RunAction(session, args);
    if (command == "serve")
        return RunServe(session, args);
    std::fprintf(stderr, "vellum: unknown command %s\n\n", Quoted(command).c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
