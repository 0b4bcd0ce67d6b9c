// The server's cost of one pointer move of a drag in `vellum serve`: a move
// of the highlight tool over the densest page of the large sample, as the
// page sends it (HTTP on a kept-alive loopback connection, the hand-over to
// the UI thread, the tool, the recording of what it paints and the JSON of
// the overlay), beside its peer: a pointer request that takes the same way
// to the UI thread and is refused there as out of order.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "BenchSupport.h"
#include "MupdfPeer.h"

extern char** environ;

namespace {

constexpr std::chrono::microseconds kPace{5000};
constexpr int kIterations = 300;

// `vellum serve FILE` with its address read from the first line it prints.
class Server {
public:
    explicit Server(const std::string& file) {
        int out[2];
        if (pipe(out) != 0)
            throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0x1 /* O_WRONLY */, 0);
        const char* argv[] = {VELLUM_EXE, "serve", file.c_str(), "--read-only", nullptr};
        const int failed = posix_spawn(&pid_, VELLUM_EXE, &actions, nullptr,
                                       const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string url;
        char c;
        while (!failed && read(out[0], &c, 1) == 1 && c != '\n')
            url += c;
        close(out[0]);
        if (failed || url.empty())
            throw std::runtime_error("vellum serve did not start");
        const std::size_t colon = url.rfind(':'), slash = url.find('/', colon);
        client_ = std::make_unique<httplib::Client>("127.0.0.1",
                                                    std::stoi(url.substr(colon + 1)));
        client_->set_keep_alive(true);
        client_->set_tcp_nodelay(true);
        base_ = url.substr(slash, url.size() - slash - 1);
    }
    ~Server() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }

    // The answer's body; throws on a status other than `expected`.
    std::string Post(const std::string& api, const std::string& query, int expected = 200) {
        const auto result = client_->Post((base_ + "/api/" + api + "?" + query).c_str(), "",
                                          "text/plain");
        if (!result || result->status != expected)
            throw std::runtime_error(api + ": unexpected answer " +
                                     (result ? std::to_string(result->status) + " " + result->body
                                             : std::string("(none)")));
        return result->body;
    }
    std::string State() {
        const auto result = client_->Get((base_ + "/api/state").c_str());
        if (!result)
            throw std::runtime_error("no state");
        return result->body;
    }

private:
    pid_t pid_ = -1;
    std::unique_ptr<httplib::Client> client_;
    std::string base_;
};

// A number that follows `"key":` in a JSON text.
double JsonNumber(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos)
        throw std::runtime_error("no " + key);
    return std::atof(json.c_str() + at + key.size() + 3);
}

struct Drag {
    std::unique_ptr<Server> server;
    std::string page; // 1-based
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // where it was pressed, where it goes
    uint64_t sequence = 0;

    std::string Pointer(const char* type, int x, int y, uint64_t seq, int expected = 200) {
        return server->Post("pointer", "seq=" + std::to_string(seq) + "&type=" + type +
                                           "&button=left&page=" + page + "&x=" +
                                           std::to_string(x) + "&y=" + std::to_string(y) +
                                           "&first=" + page + "&last=" + page,
                            expected);
    }
};

Drag& ThePress() {
    static Drag drag = [] {
        Drag d;
        const std::string path = bench::SamplePath("large.pdf");
        bench::MupdfDocument mupdf(path);
        const int page = bench::DensestPage(mupdf, 0, mupdf.PageCount() - 1);
        fz_rect bounds;
        fz_matrix userToPage;
        bench::PagePlaces places;
        if (page < 0 || !mupdf.PageGeometry(page, &bounds, &userToPage) ||
            !bench::FindPlaces(mupdf, page, &places))
            throw std::runtime_error("cannot lay out the densest page of " + path);
        // A read-only view lets the tool select without adding anything:
        // every iteration sees the same document.
        d.server = std::make_unique<Server>(path);
        const std::string state = d.server->State();
        const double zoom = JsonNumber(state, "zoom");
        const auto pixel = [&](fz_point user, int* x, int* y) {
            const fz_point p = fz_transform_point(user, userToPage);
            *x = static_cast<int>((p.x - bounds.x0) * zoom);
            *y = static_cast<int>((p.y - bounds.y0) * zoom);
        };
        pixel(places.columnStart, &d.x0, &d.y0);
        pixel(places.middleChar, &d.x1, &d.y1);
        d.page = std::to_string(page + 1);
        d.server->Post("gesture", "kind=click&element=" +
                                      std::to_string(int(JsonNumber(state, "Highlight"))));
        d.Pointer("down", d.x0, d.y0, ++d.sequence);
        return d;
    }();
    return drag;
}

// The server takes a few hundred requests a second (more is refused as a
// flood): each request is timed alone, then the pace is kept below that.
template <class Request> void Paced(benchmark::State& state, Request&& request) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(request());
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::this_thread::sleep_for(kPace);
    }
}

// Moves between the middle of the page's text and a point just before it,
// so that every move changes the selection.
void EditorMoveOurs(benchmark::State& state) {
    Drag& drag = ThePress();
    bool far = false;
    Paced(state, [&] {
        far = !far;
        return drag.Pointer("move", far ? drag.x1 : drag.x1 - 40, drag.y1, ++drag.sequence);
    });
}

void EditorMoveRefused(benchmark::State& state) {
    Drag& drag = ThePress();
    Paced(state, [&] { return drag.Pointer("move", drag.x1, drag.y1, 1, 409); });
}

} // namespace

BENCHMARK(EditorMoveOurs)
    ->Name("EditorMove/ours")
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Iterations(kIterations);
BENCHMARK(EditorMoveRefused)
    ->Name("EditorMove/refused")
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Iterations(kIterations);

BENCHMARK_MAIN();
