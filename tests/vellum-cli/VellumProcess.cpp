#include "VellumProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "ShellCommand.h"
#include "TestSupport.h"

extern char** environ;

using testsupport::Quote;
using testsupport::ReadFile;

VellumProcess::VellumProcess(const std::string& folder, const std::vector<std::string>& args,
                             const Environment& environment)
    : outPath_(files_.Path("out")), errPath_(files_.Path("err")) {
    // env changes into the folder and the environment, so that the
    // arguments never pass through a shell. Each run has a settings store of
    // its own unless the test names one: last colours must not leak between
    // runs, nor into the user's store.
    Environment changes = environment;
    changes.emplace("VELLUM_SETTINGS", files_.Path("settings.sqlite3"));
    std::vector<std::string> argv = {"/usr/bin/env", "-C", folder}, assignments;
    for (const auto& [name, value] : changes) {
        if (value)
            assignments.push_back(name + "=" + *value);
        else
            argv.insert(argv.end(), {"-u", name});
    }
    argv.insert(argv.end(), assignments.begin(), assignments.end());
    argv.push_back(VELLUM_EXE);
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argvPointers;
    for (std::string& arg : argv)
        argvPointers.push_back(arg.data());
    argvPointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT, 0600);
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
    const int failed =
        posix_spawn(&pid_, argv[0].c_str(), &actions, &attributes, argvPointers.data(), environ);
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
}

bool VellumProcess::WaitFor(Stream stream, const std::string& text, int seconds) const {
    const std::string& path = stream == Stream::kError ? errPath_ : outPath_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ReadFile(path).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string VellumProcess::Output() const {
    return ReadFile(outPath_);
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
    outcome.out = ReadFile(outPath_);
    outcome.err = ReadFile(errPath_);
    return outcome;
}

// What pdfprobe.py prints for a request about a file, by path.
static Values Probe(const char* request, const std::string& file) {
    const auto run = testsupport::RunCommand("/usr/bin/python3 " + Quote(PDFPROBE_PY) + " " +
                                             request + " " + Quote(file));
    Values values;
    std::istringstream lines(run.exit == 0 ? run.out : "");
    for (std::string line; std::getline(lines, line);)
        if (const std::size_t tab = line.find('\t'); tab != std::string::npos)
            values[line.substr(0, tab)] = line.substr(tab + 1);
    return values;
}

Values ProbeAnnots(const std::string& pdf) {
    return Probe("annots", pdf);
}

Values ProbeJson(const std::string& text) {
    const testsupport::TempFolder folder;
    std::ofstream(folder.Path("report.json"), std::ios::binary) << text;
    return Probe("json", folder.Path("report.json"));
}

std::string Value(const Values& values, const std::string& path) {
    const auto found = values.find(path);
    return found == values.end() ? "(none)" : found->second;
}

std::vector<double> Numbers(const Values& values, const std::string& path) {
    std::vector<double> numbers(std::atoi(Value(values, path + "/#").c_str()));
    for (std::size_t i = 0; i < numbers.size(); ++i)
        numbers[i] = std::atof(Value(values, path + "/" + std::to_string(i)).c_str());
    return numbers;
}

uint32_t AnnotColor(const Values& saved, int page, int index) {
    const std::string annot = "/pages/" + std::to_string(page) + "/annots/" + std::to_string(index);
    std::vector<double> argb = Numbers(saved, annot + "/color");
    argb.insert(argb.begin(), std::atof(Value(saved, annot + "/opacity").c_str()));
    uint32_t color = 0;
    for (std::size_t channel = 0; channel < 4 && argb.size() == 4; ++channel)
        color |= uint32_t(std::lround(argb[channel] * 255)) << (24 - 8 * channel);
    return color;
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
