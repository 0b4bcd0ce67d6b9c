#include "SettingsStore.h"

#include <utility>

#include "service-common/ErrorReporting.h"
#include "textcodec.h"

namespace HostSettings {

namespace {

using SODetails::kBadArgument;
using SODetails::kNotAvailable;

// How long a writer waits for another process's transaction to end.
constexpr int kBusyTimeoutMilliseconds = 10000;
// The layout of the tables below; a store of a later layout is left alone.
constexpr int kLayoutVersion = 1;

// Nodes are kept with their parent's path so that a node's children are one
// index lookup; the root's top node (the empty path) is implied. A node's
// descendants are the paths from "path\" up to, not including, "path]":
// ']' follows '\' in every collation of bytes.
const char* const kCreateTables =
    "CREATE TABLE IF NOT EXISTS nodes ("
    "  root INTEGER NOT NULL, path TEXT NOT NULL, parent TEXT NOT NULL, name TEXT NOT NULL,"
    "  PRIMARY KEY (root, path)) WITHOUT ROWID;"
    "CREATE INDEX IF NOT EXISTS nodes_by_parent ON nodes (root, parent, name);"
    "CREATE TABLE IF NOT EXISTS settings ("
    "  root INTEGER NOT NULL, path TEXT NOT NULL, name TEXT NOT NULL,"
    "  type INTEGER NOT NULL CHECK (type BETWEEN 1 AND 4), value,"
    "  PRIMARY KEY (root, path, name)) WITHOUT ROWID;"
    "PRAGMA user_version = 1;";
static_assert(kLayoutVersion == 1, "the tables above are of layout 1");

std::string Utf8(const std::wstring& text, const char* what) {
    if (text.empty())
        return std::string();
    std::size_t length = 0;
    if (SLConvertUnicodeToACP(text.data(), text.size(), nullptr, &length) != SODetails::kOk)
        throw StoreError(kBadArgument, std::string(what) + " is not valid Unicode text");
    std::string out(length + 1, '\0');
    std::size_t converted = out.size();
    SLConvertUnicodeToACP(text.data(), text.size(), &out[0], &converted);
    out.resize(converted);
    return out;
}

std::wstring Wide(const unsigned char* utf8, int bytes) {
    if (!utf8 || bytes <= 0)
        return std::wstring();
    const char* text = reinterpret_cast<const char*>(utf8);
    const std::size_t size = static_cast<std::size_t>(bytes);
    std::size_t length = 0;
    if (SLConvertACPToUnicode(text, size, nullptr, &length) != SODetails::kOk)
        throw StoreError(kNotAvailable, "the settings store holds text that is not UTF-8");
    std::wstring out(length + 1, L'\0');
    std::size_t converted = out.size();
    SLConvertACPToUnicode(text, size, &out[0], &converted);
    out.resize(converted);
    return out;
}

// The path in its one stored spelling: its keys joined by single backslashes.
std::string NodePath(const std::wstring& path) {
    std::wstring normal;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start) {
            if (!normal.empty())
                normal += L'\\';
            normal.append(path, start, end - start);
        }
        start = end + 1;
    }
    return Utf8(normal, "the node path");
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LastKeyOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

// A prepared statement of the store's cache, reset when the use ends.
class SettingsStore::Statement {
public:
    Statement(SettingsStore& store, sqlite3_stmt* statement)
        : store_(store), statement_(statement) {}
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    Statement& Bind(uint32_t value) {
        return Check(sqlite3_bind_int64(statement_, ++bound_, value));
    }
    Statement& Bind(const std::string& text) {
        return Check(sqlite3_bind_text(statement_, ++bound_, text.data(),
                                       static_cast<int>(text.size()), SQLITE_TRANSIENT));
    }
    Statement& BindBlob(const std::string& bytes) {
        return Check(sqlite3_bind_blob(statement_, ++bound_, bytes.data(),
                                       static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
    }

    // True while there is a row.
    bool Step() {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            store_.Fail(result, "use");
        return false;
    }
    void Run() {
        while (Step()) {
        }
    }

    int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    std::wstring Text(int column) const {
        return Wide(sqlite3_column_text(statement_, column),
                    sqlite3_column_bytes(statement_, column));
    }
    std::string Utf8(int column) const {
        const unsigned char* text = sqlite3_column_text(statement_, column);
        return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
    }
    std::string Bytes(int column) const {
        const void* data = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return data ? std::string(static_cast<const char*>(data), size) : std::string();
    }

private:
    Statement& Check(int result) {
        if (result != SQLITE_OK)
            store_.Fail(result, "use");
        return *this;
    }

    SettingsStore& store_;
    sqlite3_stmt* statement_;
    int bound_ = 0;
};

// One write: BEGIN IMMEDIATE takes the write lock at once (waiting for
// another writer), so nothing read inside can go stale; ROLLBACK unless
// committed.
class SettingsStore::Transaction {
public:
    explicit Transaction(SettingsStore& store) : store_(store) {
        store_.Prepare("BEGIN IMMEDIATE").Run();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction() {
        if (!committed_ && store_.db_)
            sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit() {
        store_.Prepare("COMMIT").Run();
        committed_ = true;
    }

private:
    SettingsStore& store_;
    bool committed_ = false;
};

SettingsStore::SettingsStore(std::string file) : file_(std::move(file)) {}

SettingsStore::~SettingsStore() {
    Close();
}

void SettingsStore::Close() {
    for (auto& entry : statements_)
        sqlite3_finalize(entry.second);
    statements_.clear();
    if (db_)
        sqlite3_close(db_);
    db_ = nullptr;
}

void SettingsStore::Fail(int result, const char* doing) {
    const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
    const std::string where = "the settings store " + file_;
    switch (result & 0xFF) {
    case SQLITE_NOTADB:
        reopen_ = true;
        throw StoreError(kNotAvailable, where + " is not a database; it was left as it is");
    case SQLITE_CORRUPT:
        reopen_ = true;
        throw StoreError(kNotAvailable,
                         where + " is damaged (" + reason + "); it was left as it is");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw StoreError(kNotAvailable, where + " stayed locked by another program for " +
                                            std::to_string(kBusyTimeoutMilliseconds / 1000) +
                                            " seconds; nothing was changed");
    case SQLITE_READONLY:
        throw StoreError(kNotAvailable, "cannot write " + where + ": it is read-only");
    case SQLITE_FULL:
        throw StoreError(kNotAvailable, "cannot write " + where + ": the disk is full");
    default:
        throw StoreError(kNotAvailable,
                         std::string("cannot ") + doing + " " + where + ": " + reason);
    }
}

void SettingsStore::Open() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    Database();
}

// Opens the file, unless it is open and no use since found it unusable.
sqlite3* SettingsStore::Database() {
    if (db_ && !reopen_)
        return db_;
    Close();
    reopen_ = false;
    try {
        const int result = sqlite3_open_v2(
            file_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
            nullptr);
        if (result != SQLITE_OK)
            Fail(result, "open");
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, kBusyTimeoutMilliseconds);
        PrepareForWriting(CheckIsOurs());
    } catch (...) {
        Close();
        throw;
    }
    return db_;
}

// Reads only: a file that is not our store must come out of this unchanged.
// True when the file is new (it has no tables yet).
bool SettingsStore::CheckIsOurs() {
    int tables = 0, ours = 0;
    {
        Statement list = Prepare("SELECT name FROM sqlite_schema WHERE type = 'table'");
        while (list.Step()) {
            const std::string name = list.Utf8(0);
            ++tables;
            ours += name == "nodes" || name == "settings";
        }
    }
    std::string verdict;
    {
        Statement check = Prepare("PRAGMA integrity_check(1)");
        verdict = check.Step() ? check.Utf8(0) : "no answer";
    }
    if (verdict != "ok")
        throw StoreError(kNotAvailable, "the settings store " + file_ +
                                            " failed its integrity check (" + verdict +
                                            "); it was left as it is");
    if (tables > 0 && ours < 2)
        throw StoreError(kNotAvailable, "the settings store " + file_ +
                                            " is a database of another program; it was left "
                                            "as it is");
    Statement version = Prepare("PRAGMA user_version");
    if (version.Step() && version.Integer(0) > kLayoutVersion)
        throw StoreError(kNotAvailable, "the settings store " + file_ +
                                            " was written by a newer version of this program; "
                                            "it was left as it is");
    return tables == 0;
}

// WAL: readers never wait for a writer, and a commit appends to the log. A
// synced log at every commit (synchronous FULL) makes a reported write
// survive the loss of the machine too, not only of the process; settings
// are written one at a time when a user changes one, so the sync is cheap
// enough.
void SettingsStore::PrepareForWriting(bool isNew) {
    {
        Statement journal = Prepare("PRAGMA journal_mode = WAL");
        const std::string mode = journal.Step() ? journal.Utf8(0) : std::string();
        if (mode != "wal")
            throw StoreError(kNotAvailable, "the settings store " + file_ +
                                                " cannot keep a write-ahead log beside it; "
                                                "nothing was changed");
    }
    Prepare("PRAGMA synchronous = FULL").Run();
    if (!isNew)
        return;
    // Another process may be making the tables at the same moment.
    Transaction transaction(*this);
    if (sqlite3_exec(db_, kCreateTables, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(sqlite3_errcode(db_), "prepare");
    transaction.Commit();
}

SettingsStore::Statement SettingsStore::Prepare(const char* sql) {
    sqlite3* db = Database();
    sqlite3_stmt*& statement = statements_[sql];
    if (!statement && sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        Fail(sqlite3_errcode(db), "read");
    return Statement(*this, statement);
}

bool SettingsStore::NodeExists(uint32_t root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path);
    if (node.empty())
        return true;
    return Prepare("SELECT 1 FROM nodes WHERE root = ? AND path = ?").Bind(root).Bind(node).Step();
}

bool SettingsStore::ValueExists(uint32_t root, const std::wstring& path, const std::wstring& name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return Prepare("SELECT 1 FROM settings WHERE root = ? AND path = ? AND name = ?")
        .Bind(root)
        .Bind(NodePath(path))
        .Bind(Utf8(name, "the value's name"))
        .Step();
}

StoredValue SettingsStore::Read(uint32_t root, const std::wstring& path, const std::wstring& name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path), key = Utf8(name, "the value's name");
    Statement read =
        Prepare("SELECT type, value FROM settings WHERE root = ? AND path = ? AND name = ?");
    if (!read.Bind(root).Bind(node).Bind(key).Step())
        throw StoreError(kNotAvailable, "there is no value \"" + key + "\" in \"" + node + "\"");
    StoredValue value;
    value.type = static_cast<uint32_t>(read.Integer(0));
    if (value.type == 3)
        value.text = read.Text(1);
    else if (value.type == 4)
        value.bytes = read.Bytes(1);
    else
        value.integer = static_cast<uint32_t>(read.Integer(1));
    return value;
}

void SettingsStore::Write(uint32_t root, const std::wstring& path, const std::wstring& name,
                          const StoredValue& value) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path), key = Utf8(name, "the value's name");
    const std::string text = value.type == 3 ? Utf8(value.text, "the value") : std::string();
    Transaction transaction(*this);
    AddNodes(root, node);
    Statement write = Prepare("INSERT OR REPLACE INTO settings (root, path, name, type, value) "
                              "VALUES (?, ?, ?, ?, ?)");
    write.Bind(root).Bind(node).Bind(key).Bind(value.type);
    if (value.type == 3)
        write.Bind(text);
    else if (value.type == 4)
        write.BindBlob(value.bytes);
    else
        write.Bind(value.integer);
    write.Run();
    transaction.Commit();
}

void SettingsStore::DeleteValue(uint32_t root, const std::wstring& path, const std::wstring& name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path), key = Utf8(name, "the value's name");
    Transaction transaction(*this);
    Prepare("DELETE FROM settings WHERE root = ? AND path = ? AND name = ?")
        .Bind(root)
        .Bind(node)
        .Bind(key)
        .Run();
    transaction.Commit();
}

std::vector<std::wstring> SettingsStore::ChildNodes(uint32_t root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    Statement list = Prepare("SELECT name FROM nodes WHERE root = ? AND parent = ? ORDER BY name");
    list.Bind(root).Bind(NodePath(path));
    std::vector<std::wstring> names;
    while (list.Step())
        names.push_back(list.Text(0));
    return names;
}

std::vector<std::wstring> SettingsStore::ValueNames(uint32_t root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    Statement list = Prepare("SELECT name FROM settings WHERE root = ? AND path = ? ORDER BY name");
    list.Bind(root).Bind(NodePath(path));
    std::vector<std::wstring> names;
    while (list.Step())
        names.push_back(list.Text(0));
    return names;
}

void SettingsStore::CreateNode(uint32_t root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path);
    Transaction transaction(*this);
    AddNodes(root, node);
    transaction.Commit();
}

void SettingsStore::DeleteNode(uint32_t root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path);
    Transaction transaction(*this);
    DeleteBelow(root, node, true);
    transaction.Commit();
}

void SettingsStore::ClearNode(uint32_t root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const std::string node = NodePath(path);
    Transaction transaction(*this);
    DeleteBelow(root, node, false);
    transaction.Commit();
}

// The node and its missing ancestors, inside the caller's transaction.
void SettingsStore::AddNodes(uint32_t root, const std::string& path) {
    for (std::string node = path; !node.empty(); node = ParentOf(node))
        Prepare("INSERT OR IGNORE INTO nodes (root, path, parent, name) VALUES (?, ?, ?, ?)")
            .Bind(root)
            .Bind(node)
            .Bind(ParentOf(node))
            .Bind(LastKeyOf(node))
            .Run();
}

// Everything below the node; the node itself too when `withNode`. The
// root's top node has no row of its own: below it is all of the root.
void SettingsStore::DeleteBelow(uint32_t root, const std::string& path, bool withNode) {
    const std::string first = path.empty() ? std::string() : path + "\\";
    const std::string last = path.empty() ? std::string("\xFF") : path + "]";
    Prepare("DELETE FROM nodes WHERE root = ? AND path >= ? AND path < ?")
        .Bind(root)
        .Bind(first)
        .Bind(last)
        .Run();
    Prepare("DELETE FROM settings WHERE root = ? AND ((path >= ? AND path < ?) OR path = ?)")
        .Bind(root)
        .Bind(first)
        .Bind(last)
        .Bind(path)
        .Run();
    if (withNode && !path.empty())
        Prepare("DELETE FROM nodes WHERE root = ? AND path = ?").Bind(root).Bind(path).Run();
}

} // namespace HostSettings
