// The host application's commands. Each returns the process exit code.
#pragma once

#include <string>
#include <vector>

class HostSession;

int RunInfo(HostSession& session, const std::vector<std::string>& args);
int RunText(HostSession& session, const std::vector<std::string>& args);
int RunMarkup(HostSession& session, const std::vector<std::string>& args);
