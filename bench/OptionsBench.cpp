// The user options tree over the host's settings store, each measurement
// beside plain SQLite doing the same reads and writes on a table of its own
// in the same folder, with the same durability (WAL, synchronous FULL).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "service-common/TextConversion.h"
#include "support-proxy/InAppTrackingInterface.h"
#include "support-proxy/UserOptions.h"
#include "svcbroker.h"

namespace {

namespace fs = std::filesystem;

// The bench's own folder: the store the tree uses, and the plain database.
const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "vellum-options-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder for the stores");
        return fs::path(pattern);
    }();
    return folder;
}

// A tracking service that takes every report and does nothing with it.
uint32_t TakeReport(ServiceObject*, const wchar_t*, const wchar_t*, const wchar_t*) {
    return 0;
}

ServiceObjectTable<InAppTrackingOps::kOperationCount> gTracking;

uint32_t MakeTracking(void*, ServiceObject** out) {
    gTracking.header.interfaceTableSize = 8 * InAppTrackingOps::kOperationCount;
    gTracking.header.interfaceName = "InAppTracking";
    SODetails::SetOperation<InAppTrackingOps::TrackOptionChange>(gTracking.operations, &TakeReport);
    *out = &gTracking.header;
    return 0;
}

// The same rows as the tree's, in a table of plain SQLite.
class PlainStore {
public:
    PlainStore() {
        sqlite3_open((Folder() / "plain.sqlite3").c_str(), &db_);
        Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL;"
             "CREATE TABLE IF NOT EXISTS settings (path TEXT NOT NULL, name TEXT NOT NULL,"
             " value, PRIMARY KEY (path, name)) WITHOUT ROWID;");
        sqlite3_busy_timeout(db_, 10000);
        read_ = Prepare("SELECT value FROM settings WHERE path = ? AND name = ?");
        write_ = Prepare("INSERT OR REPLACE INTO settings (path, name, value) VALUES (?, ?, ?)");
    }
    ~PlainStore() {
        sqlite3_finalize(read_);
        sqlite3_finalize(write_);
        sqlite3_close(db_);
    }

    void Exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

    int64_t Read(const std::string& path, const std::string& name) {
        Bind(read_, path, name);
        const int64_t value =
            sqlite3_step(read_) == SQLITE_ROW ? sqlite3_column_int64(read_, 0) : 0;
        sqlite3_reset(read_);
        return value;
    }
    // Committed and synced, as every write of the tree's store.
    void Write(const std::string& path, const std::string& name, int64_t value) {
        Exec("BEGIN IMMEDIATE");
        WriteInTransaction(path, name, value);
        Exec("COMMIT");
    }
    void WriteInTransaction(const std::string& path, const std::string& name, int64_t value) {
        Bind(write_, path, name);
        sqlite3_bind_int64(write_, 3, value);
        sqlite3_step(write_);
        sqlite3_reset(write_);
    }

private:
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        return statement;
    }
    static void Bind(sqlite3_stmt* statement, const std::string& path, const std::string& name) {
        sqlite3_bind_text(statement, 1, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* read_ = nullptr;
    sqlite3_stmt* write_ = nullptr;
};

// Where each value of the tree is stored: its group's node and its key.
struct StoredAt {
    std::string path, name;
};

std::vector<StoredAt> Locations(UsrOpt_Options& options) {
    std::vector<StoredAt> locations;
    options.ForEachValue([&](auto& value) {
        std::string path = SLText::ToNarrow(value.GetPath());
        const std::size_t slash = path.rfind('/');
        locations.push_back({path.substr(0, slash), path.substr(slash + 1)});
    });
    return locations;
}

PlainStore& Plain() {
    static PlainStore* plain = [] {
        auto* store = new PlainStore;
        store->Exec("BEGIN");
        for (const StoredAt& at : Locations(GetOptions()))
            store->WriteInTransaction(at.path, at.name, 1);
        store->Exec("COMMIT");
        return store;
    }();
    return *plain;
}

// The tree of the process, with every value written to its store once.
UsrOpt_Options& StoredTree() {
    static UsrOpt_Options& options = [&]() -> UsrOpt_Options& {
        UsrOpt_Options& tree = GetOptions();
        tree.Save(nullptr);
        return tree;
    }();
    return options;
}

// First use: the store node, the tree made in its block and every node
// bound (two service look-ups per group). Plain SQLite: opening the store
// with the same settings.
void BM_BuildTree_ours(benchmark::State& state) {
    GetOptions();
    alignas(UsrOpt_Options) static unsigned char block[sizeof(UsrOpt_Options)];
    for (auto _ : state) {
        CreateOptionsRoot(block);
        benchmark::DoNotOptimize(block);
        reinterpret_cast<UsrOpt_Options*>(block)->~UsrOpt_Options();
    }
}
BENCHMARK(BM_BuildTree_ours)->Name("BuildTree/ours");

void BM_BuildTree_sqlite(benchmark::State& state) {
    const std::string file = (Folder() / "plain.sqlite3").string();
    Plain();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL;", nullptr, nullptr,
                     nullptr);
        sqlite3_busy_timeout(db, 10000);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_BuildTree_sqlite)->Name("BuildTree/sqlite");

// A last colour: the tree's locked copy; plain SQLite reads it from the store.
void BM_Get_ours(benchmark::State& state) {
    auto& value = GetOptions().General.LastColorHighlight;
    for (auto _ : state)
        benchmark::DoNotOptimize(value.Get());
}
BENCHMARK(BM_Get_ours)->Name("Get/ours");

void BM_Get_sqlite(benchmark::State& state) {
    PlainStore& plain = Plain();
    for (auto _ : state)
        benchmark::DoNotOptimize(plain.Read("Options/General", "Last Color Highlight"));
}
BENCHMARK(BM_Get_sqlite)->Name("Get/sqlite");

// A new last colour each time: reported to tracking, cached and written.
void BM_Set_ours(benchmark::State& state) {
    auto& value = GetOptions().General.LastColorHighlight;
    unsigned colour = 0xFF000000;
    for (auto _ : state)
        value.Set(++colour);
}
BENCHMARK(BM_Set_ours)->Name("Set/ours");

void BM_Set_sqlite(benchmark::State& state) {
    PlainStore& plain = Plain();
    int64_t colour = 0xFF000000;
    for (auto _ : state)
        plain.Write("Options/General", "Last Color Highlight", ++colour);
}
BENCHMARK(BM_Set_sqlite)->Name("Set/sqlite");

// The whole tree from a store that holds all 521 values; plain SQLite reads
// the same 521 values one by one.
void BM_Load_ours(benchmark::State& state) {
    UsrOpt_Options& options = StoredTree();
    for (auto _ : state)
        options.Load(nullptr);
}
BENCHMARK(BM_Load_ours)->Name("Load/ours");

void BM_Load_sqlite(benchmark::State& state) {
    PlainStore& plain = Plain();
    const std::vector<StoredAt> locations = Locations(GetOptions());
    for (auto _ : state)
        for (const StoredAt& at : locations)
            benchmark::DoNotOptimize(plain.Read(at.path, at.name));
}
BENCHMARK(BM_Load_sqlite)->Name("Load/sqlite");

} // namespace

int main(int argc, char** argv) {
    setenv("VELLUM_SETTINGS", (Folder() / "settings.sqlite3").c_str(), 1);
    ServiceProviderRegHostService("InAppTracking", &MakeTracking, nullptr, "single");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
    return 0;
}
