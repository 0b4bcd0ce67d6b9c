// The host application's commands. Each returns the process exit code.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fileout/EditLock.h"

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
int RunAction(HostSession& session, const std::vector<std::string>& args);
int RunServe(HostSession& session, const std::vector<std::string>& args);

// Runs a command's work and turns what it throws into a message on standard
// error, prefixed with the command's name, and an exit code.
int RunReportingFailures(const char* command, const std::function<int()>& work);

class DocumentText;
// Tells the user when the input had to be repaired on opening.
void WarnIfRepaired(const char* command, const std::string& path, const DocumentText& text);
// The same for a document about to be marked up; but an edit in place of a
// repaired file is refused (std::runtime_error): the file would be written
// whole as it was rebuilt, losing whatever the repair could not recover.
void CheckRepairedForEdit(const char* command, const std::string& path, const DocumentText& text,
                          bool inPlace);

// An edit in place (`output` is the input itself) holds the document from
// before it is read until its result has replaced it, so that concurrent
// edits wait, saying so, instead of losing each other's annotations.
std::optional<FileOut::EditLock> LockIfEditInPlace(const char* command, const std::string& input,
                                                   const std::string& output);
