#include "VellumProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

std::string TemporaryName(const char* what) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("vellum-run-" + std::string(what) + "-XXXXXX"))
            .string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw std::runtime_error("cannot make a file for the run's " + std::string(what));
    close(fd);
    return pattern;
}

// A folder of the run's own, outside the folder the run works in.
std::string TemporaryFolder(const char* what) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("vellum-run-" + std::string(what) + "-XXXXXX"))
            .string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the run's " + std::string(what));
    return pattern;
}

std::vector<std::string> ChildEnvironment(const VellumProcess::Environment& changes) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes) {
        if (value)
            variables[name] = *value;
        else
            variables.erase(name);
    }
    std::vector<std::string> list;
    for (const auto& [name, value] : variables)
        list.push_back(name + "=" + value);
    return list;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

VellumProcess::VellumProcess(const std::string& folder, const std::vector<std::string>& args,
                             const Environment& environment)
    : outPath_(TemporaryName("out")), errPath_(TemporaryName("err")),
      settingsFolder_(TemporaryFolder("settings")) {
    // The child changes into the folder through a small shell step, so that
    // the arguments themselves never pass through a shell.
    std::vector<std::string> argv = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", folder,
                                     VELLUM_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    // Each run has a settings store of its own unless the test names one:
    // last colours must not leak between runs, nor into the user's store.
    Environment changes = environment;
    changes.emplace("VELLUM_SETTINGS", settingsFolder_ + "/settings.sqlite3");
    std::vector<std::string> env = ChildEnvironment(changes);
    std::vector<char*> argvPointers = Pointers(argv), envPointers = Pointers(env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_TRUNC, 0);
    // Ending signals take their default course in the child, whatever the
    // test runner ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const int failed = posix_spawn(&pid_, argv[0].c_str(), &actions, &attributes,
                                   argvPointers.data(), envPointers.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        throw std::runtime_error("cannot start vellum");
}

VellumProcess::~VellumProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::remove(outPath_.c_str());
    std::remove(errPath_.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(settingsFolder_, ignored);
}

bool VellumProcess::WaitFor(const std::string& path, const std::string& text, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ReadWholeFile(path).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool VellumProcess::WaitForError(const std::string& text, int seconds) {
    return WaitFor(errPath_, text, seconds);
}

bool VellumProcess::WaitForOutput(const std::string& text, int seconds) {
    return WaitFor(outPath_, text, seconds);
}

std::string VellumProcess::Output() const {
    return ReadWholeFile(outPath_);
}

void VellumProcess::Signal(int signal) {
    kill(pid_, signal);
}

VellumOutcome VellumProcess::Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    VellumOutcome outcome;
    if (WIFEXITED(status))
        outcome.exit = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    outcome.out = ReadWholeFile(outPath_);
    outcome.err = ReadWholeFile(errPath_);
    return outcome;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

// What pdfprobe.py prints for a request about a file, by path.
std::map<std::string, std::string> Probe(const char* request, const std::string& file) {
    const std::string out = TemporaryName("probe");
    const std::string command = "/usr/bin/python3 '" + std::string(PDFPROBE_PY) + "' " + request +
                                " '" + file + "' > '" + out + "'";
    std::map<std::string, std::string> values;
    if (std::system(command.c_str()) == 0) {
        std::istringstream lines(ReadWholeFile(out));
        for (std::string line; std::getline(lines, line);)
            if (const std::size_t tab = line.find('\t'); tab != std::string::npos)
                values[line.substr(0, tab)] = line.substr(tab + 1);
    }
    std::remove(out.c_str());
    return values;
}

} // namespace

std::map<std::string, std::string> ProbeAnnots(const std::string& pdf) {
    return Probe("annots", pdf);
}

std::map<std::string, std::string> ProbeJson(const std::string& text) {
    const std::string file = TemporaryName("json");
    std::ofstream(file, std::ios::binary) << text;
    std::map<std::string, std::string> values = Probe("json", file);
    std::remove(file.c_str());
    return values;
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
