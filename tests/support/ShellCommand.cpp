#include "ShellCommand.h"

#include <sys/wait.h>

#include <cstdlib>

#include "TestSupport.h"

namespace testsupport {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome RunCommand(const std::string& command, const fs::path& folder) {
    const TempFolder streams;
    const std::string out = streams.Path("out"), err = streams.Path("err");
    const std::string where = folder.empty() ? "" : "cd " + Quote(folder.string()) + " && ";
    const int status =
        std::system((where + "{ " + command + "; } >" + Quote(out) + " 2>" + Quote(err)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

} // namespace testsupport
