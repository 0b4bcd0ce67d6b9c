// The host's settings store through its "SLSettings" service, as separate
// processes use it: at once, one after another, and killed mid-write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "platform/Platform.h"
#include "service-common/ServiceObjectException.h"
#include "support-proxy/SLSettingsNode.h"

namespace {

using Node = Settings::SLSettingsNode<Settings::SLSettingsRoot>;

// Runs `work` in a child process; it reports failure by its exit code.
pid_t Spawn(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        int code = 0;
        try {
            work();
        } catch (...) {
            code = 1;
        }
        _exit(code);
    }
    return child;
}

TEST(SettingsStore, ProcessesShareTheStoreAndItOutlivesThem) {
    const testsupport::TempFolder folder;
    Platform::SetEnvironmentValue("VELLUM_SETTINGS", folder.Path("settings.sqlite3").c_str());
    constexpr int kEach = 40;
    std::vector<pid_t> writers;
    for (int writer = 0; writer < 2; ++writer)
        writers.push_back(Spawn([writer] {
            Node node(1, L"Shared\\Values");
            for (int i = 0; i < kEach; ++i) {
                node.SetInt(L"w" + std::to_wstring(writer) + L"." + std::to_wstring(i), i);
                node.SetInt(L"both", writer);
            }
            node.GetChildNode(L"Text")->SetString(L"by" + std::to_wstring(writer), L"Zoë\n\"x\"");
        }));
    for (pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    Node node(1, L"\\Shared\\\\Values\\"); // the same node, however spelled
    for (int writer = 0; writer < 2; ++writer)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(node.GetInt(L"w" + std::to_wstring(writer) + L"." + std::to_wstring(i)), i);
    EXPECT_EQ(node.EnumerateChildValues()->size(), 2 * kEach + 1);
    const auto children = Node(1, L"Shared").EnumerateChildNodes();
    ASSERT_EQ(children->size(), 1);
    EXPECT_EQ(children->name(0), L"Values");
    EXPECT_EQ(node.GetChildNode(L"Text")->GetString(L"by1"), L"Zoë\n\"x\"");
    EXPECT_THROW(node.GetString(L"both"), ServiceObjectException) << "an integer is no text";

    node.ClearNode();
    EXPECT_TRUE(node.IsNodeExists());
    EXPECT_FALSE(node.IsValueExists(L"both"));
    EXPECT_FALSE(node.GetChildNode(L"Text")->IsNodeExists());
    Node(1, L"Shared").DeleteNode();
    EXPECT_FALSE(node.IsNodeExists());
}

// Runs `sql` on the file with SQLite itself; the rows it gave, "a b; " each.
std::string Query(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK) << file;
    std::string rows;
    const auto addRow = [](void* out, int columns, char** values, char**) {
        for (int i = 0; i < columns; ++i)
            *static_cast<std::string*>(out) +=
                std::string(values[i] ? values[i] : "NULL") + (i + 1 < columns ? " " : "; ");
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), addRow, &rows, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
    return rows;
}

// Writes the file as `damage` has it; returns what the failure must say.
std::string MakeDamagedFile(const std::string& file, const std::string& damage) {
    if (damage == "AnotherProgramsDatabase") {
        Query(file, "CREATE TABLE notes (text); INSERT INTO notes VALUES ('mine');");
        return "is a database of another program";
    }
    Query(file, "CREATE TABLE nodes (x); CREATE TABLE settings (x);"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400)"
                "INSERT INTO settings SELECT printf('%0100d', i) FROM n;");
    std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
    bytes.seekp(3 * 4096 + 8);
    bytes << std::string(64, '\x55');
    return "left as it is";
}

// One damage per process: the store is opened once in each. (A file that is
// no database at all is refused by the options command.)
class DamagedStore : public testing::TestWithParam<std::string> {};

TEST_P(DamagedStore, IsReportedAndLeftAsItIs) {
    const testsupport::TempFolder folder;
    const std::string file = folder.Path("settings.sqlite3");
    Platform::SetEnvironmentValue("VELLUM_SETTINGS", file.c_str());
    const std::string says = MakeDamagedFile(file, GetParam());
    const std::string before = testsupport::ReadFile(file);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            Node(1, L"Options").SetInt(L"Opacity", 50);
            ADD_FAILURE() << "the store took a write";
        } catch (const ServiceObjectException& e) {
            const std::wstring wide = e.Message();
            const std::string message(wide.begin(), wide.end());
            EXPECT_NE(message.find(file), std::string::npos) << message;
            EXPECT_NE(message.find(says), std::string::npos) << message;
        }
    }
    EXPECT_EQ(testsupport::ReadFile(file), before);
}

INSTANTIATE_TEST_SUITE_P(Options, DamagedStore,
                         testing::Values("AnotherProgramsDatabase", "DamagedPages"),
                         [](const auto& info) { return info.param; });

// A writer acknowledges each write once the call returned, and is killed at
// a random moment. The store then opens, passes its check, and holds for
// every key the last acknowledged value, or the one whose write was under
// way when the kill came.
TEST(SettingsStore, AKilledWriterLosesNothingItWasToldWasWritten) {
    const testsupport::TempFolder folder;
    const std::string file = folder.Path("settings.sqlite3");
    Platform::SetEnvironmentValue("VELLUM_SETTINGS", file.c_str());
    constexpr uint32_t kKeys = 5;
    constexpr int kRounds = 20;
    std::mt19937 random(20240501);
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string node = "Crash\\Round" + std::to_string(round);
        int acks[2];
        ASSERT_EQ(pipe(acks), 0);
        const pid_t writer = Spawn([&] {
            close(acks[0]);
            Node target(1, std::wstring(node.begin(), node.end()));
            for (uint32_t i = 1;; ++i) {
                target.SetInt(L"k" + std::to_wstring(i % kKeys), static_cast<int32_t>(i));
                if (write(acks[1], &i, sizeof i) != sizeof i)
                    throw std::runtime_error("no one listens");
            }
        });
        close(acks[1]);
        uint32_t last = 0;
        ASSERT_EQ(read(acks[0], &last, sizeof last), ssize_t(sizeof last)) << "no first write";
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        for (uint32_t i; read(acks[0], &i, sizeof i) == ssize_t(sizeof i);)
            last = i;
        close(acks[0]);

        EXPECT_EQ(Query(file, "PRAGMA integrity_check"), "ok; ");
        for (uint32_t key = 0; key < kKeys; ++key) {
            int64_t acknowledged = 0; // the latest i <= last with i % kKeys == key
            for (uint32_t i = last; i > 0 && acknowledged == 0; --i)
                acknowledged = i % kKeys == key ? i : 0;
            const std::string stored =
                Query(file, "SELECT value FROM settings WHERE path = '" + node + "' AND name = 'k" +
                                std::to_string(key) + "'");
            const int64_t value = stored.empty() ? 0 : std::stoll(stored);
            const bool inFlight = (last + 1) % kKeys == key && value == last + 1;
            EXPECT_TRUE(value == acknowledged || inFlight)
                << "k" << key << " holds " << value << ", acknowledged " << acknowledged;
        }
    }
}

} // namespace
