// Running command lines through the POSIX shell, for tests that check the
// host's output with tools of their own.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// The text as one word of the shell.
std::string Quote(const std::string& text);

struct Outcome {
    int exit = -1;
    std::string out, err;
};
// Runs a command line through the shell, in `folder` when one is given.
Outcome RunCommand(const std::string& command, const std::filesystem::path& folder = {});

} // namespace testsupport
