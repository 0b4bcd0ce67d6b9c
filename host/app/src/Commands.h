// The host application's commands. Each returns the process exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

class HostSession;

enum ExitCode : int {
    kExitDone = 0,
    kExitFailed = 1, // the reason is on standard error
    kExitUsage = 2,  // a command line that does not fit
    kExitPartly = 3, // done in part
};

int RunInfo(HostSession& session, const std::vector<std::string>& args);
int RunText(HostSession& session, const std::vector<std::string>& args);
int RunMarkup(HostSession& session, const std::vector<std::string>& args);
int RunOptions(HostSession& session, const std::vector<std::string>& args);
int RunRibbon(HostSession& session, const std::vector<std::string>& args);
int RunServe(HostSession& session, const std::vector<std::string>& args);

// Runs a command's work and turns what it throws into a message on standard
// error, prefixed with the command's name, and an exit code.
int RunReportingFailures(const char* command, const std::function<int()>& work);

class DocumentText;
// Tells the user when the input had to be repaired on opening.
void WarnIfRepaired(const char* command, const std::string& path, const DocumentText& text);
