// A batch run of the vellum command as a user starts it:
//
//   vellum markup IN.pdf -o OUT.pdf --kind highlight --text the --all
//
// on the five-page sample repeated 8, 16 and 32 times (40, 80 and 160
// pages), so that each size has twice the matches of the one before. Each
// iteration is one whole run in a child process; its time is the child's
// CPU time (user + system), which other work on a shared machine disturbs
// less than wall time. The counters give what a run that is linear in its
// matches keeps flat: the CPU time per match, and the peak resident memory.
//
// Every benchmark is named "BatchRun/<N>x": N times the matches of "1x",
// its peer; run-bench.sh prints each one's cost per match beside 1x's.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The sample's copies in the "1x" document; the others double it.
constexpr int kBaseCopies = 8;
constexpr int kSizes = 3;
// A run of the largest size takes about 2 s of CPU.
constexpr int kIterations = 2;

struct Child {
    int exit = -1;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
};

// Runs a program to its end with standard output into `out` and standard
// error discarded, and measures it.
Child RunChild(const std::vector<std::string>& args, const std::string& out) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        throw std::runtime_error("cannot wait for " + args[0]);
    Child child;
    child.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    child.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    child.peakKilobytes = usage.ru_maxrss;
    return child;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The run's summary line starts with the number of annotations made.
long AnnotationsMade(const std::string& output) {
    const std::size_t line = output.rfind('\n', output.size() >= 2 ? output.size() - 2 : 0);
    const std::string last = output.substr(line == std::string::npos ? 0 : line + 1);
    return std::strtol(last.c_str(), nullptr, 10);
}

// A folder of the run's own with the documents and a fresh settings store;
// removed at the end.
struct Workspace {
    fs::path folder;
    std::vector<std::string> documents; // 1x, 2x, 4x
    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "vellum-batch-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder for the documents");
        folder = pattern;
        setenv("VELLUM_SETTINGS", (folder / "settings.sqlite3").c_str(), 1);
        for (int size = 0; size < kSizes; ++size) {
            const int copies = kBaseCopies << size;
            const std::string path = (folder / ("doc" + std::to_string(copies) + ".pdf")).string();
            const Child made = RunChild({VELLUM_BENCH_SAMPLEGEN, "--repeat",
                                         std::to_string(copies), path},
                                        (folder / "samplegen.txt").string());
            if (made.exit != 0)
                throw std::runtime_error("samplegen could not write " + path);
            documents.push_back(path);
        }
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

Workspace* gWorkspace = nullptr;

void BatchRun(benchmark::State& state, int size) {
    const std::string& input = gWorkspace->documents.at(size);
    const std::string output = (gWorkspace->folder / "out.pdf").string();
    const std::string printed = (gWorkspace->folder / "printed.txt").string();
    long matches = 0, peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        const Child run = RunChild({VELLUM_BENCH_VELLUM, "markup", input, "-o", output, "--kind",
                                    "highlight", "--text", "the", "--all"},
                                   printed);
        if (run.exit != 0) {
            state.SkipWithError("the run failed");
            return;
        }
        state.SetIterationTime(run.cpuSeconds);
        matches = AnnotationsMade(ReadFile(printed));
        peak = std::max(peak, run.peakKilobytes);
        cpu += run.cpuSeconds;
    }
    const double runs = double(state.iterations());
    state.counters["pages"] = double(5 * (kBaseCopies << size));
    state.counters["matches"] = double(matches);
    state.counters["us_per_match"] = matches > 0 ? cpu / runs / double(matches) * 1e6 : 0;
    state.counters["peak_MB"] = double(peak) / 1024;
}

} // namespace

int main(int argc, char** argv) {
    if (!bench::Start(argc, argv))
        return 1;
    try {
        static Workspace workspace;
        gWorkspace = &workspace;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot set up the benchmarks: %s\n", e.what());
        return 1;
    }
    for (int size = 0; size < kSizes; ++size) {
        const std::string name = "BatchRun/" + std::to_string(1 << size) + "x";
        bench::RunLength(benchmark::RegisterBenchmark(name.c_str(), BatchRun, size), kIterations)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
