// vellum serve: the host application with a browser page as its window. The
// page's address goes to standard output as the first line; the server runs
// until Ctrl+C, SIGTERM or SIGHUP, then stops in order and says when
// unsaved changes were discarded.
#include <cstdio>

#include "ArgumentValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "EditorServer.h"
#include "EditorSession.h"
#include "HostSession.h"
#include "InterruptWait.h"
#include "fileout/OutputTarget.h"

namespace {

constexpr const char* kCommand = "vellum serve";
constexpr uint64_t kHighestPort = 65535;

int Serve(HostSession& session, const std::vector<std::string>& args) {
    const CommandLine line(args, {"--read-only"}, {"-o", "--port"});
    if (line.Positional().size() != 1)
        throw UsageError("one document, please");
    EditorSession::Files files;
    files.input = ParseFileName(line.Positional().front(), "the document");
    files.output = line.Value("-o") ? ParseFileName(*line.Value("-o"), "the output") : files.input;
    files.readOnly = line.Has("--read-only");
    int port = 0;
    if (const auto text = line.Value("--port")) {
        if (text->empty() || text->size() > 5 ||
            text->find_first_not_of("0123456789") != std::string::npos ||
            std::stoul(*text) == 0 || std::stoul(*text) > kHighestPort)
            throw UsageError("--port takes a port number from 1 to 65535, not " + Quoted(*text));
        port = static_cast<int>(std::stoul(*text));
    }
    // A target that cannot take the result is refused before any work.
    if (!files.readOnly)
        FileOut::CheckOutputTarget(files.output);

    InterruptWait interrupts; // before the application starts its threads
    Application& app = session.App();
    std::string interrupted;
    bool unsaved = false;
    {
        EditorSession editor(app, files);
        EditorServer server(editor, port);
        std::printf("%s\n", server.Url().c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "%s: editing %s; open the address above in a browser, Ctrl+C ends\n",
                     kCommand, files.input.c_str());
        interrupted = interrupts.Wait();
        std::fprintf(stderr, "%s: %s, shutting down\n", kCommand, interrupted.c_str());
        editor.StopWaiting();
        unsaved = editor.Unsaved();
    }
    if (unsaved)
        std::fprintf(stderr, "%s: the unsaved changes to %s were discarded\n", kCommand,
                     files.input.c_str());
    return kExitDone;
}

} // namespace

int RunServe(HostSession& session, const std::vector<std::string>& args) {
    return RunReportingFailures(kCommand, [&] { return Serve(session, args); });
}
