// The user's settings, kept in one SQLite database file.
//
// Store roots hold nodes, addressed by their keys joined with backslashes
// (empty keys do not count: "\A\\B" is "A\B"; the empty path is the root's
// top node, which always exists); nodes hold named values of four types.
// Writing a value makes its node and the node's ancestors.
//
// Every write is one transaction, committed and synced before the call
// returns, so neither a killed process nor a lost machine loses what a call
// reported as written. Several processes may use the file at once: a writer
// waits for another's transaction to end. A file that is not such a store
// (not a database, damaged, or another program's) is reported and never
// written to.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace HostSettings {

// A failure with the result code the service answers and a message that
// says what went wrong, in the user's terms.
class StoreError : public std::runtime_error {
public:
    StoreError(uint32_t code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    uint32_t Code() const { return code_; }

private:
    uint32_t code_;
};

// A value as stored: an integer (types 1 and 2), text (3) or bytes (4).
struct StoredValue {
    uint32_t type = 0;
    uint32_t integer = 0;
    std::wstring text;
    std::string bytes;
};

class SettingsStore {
public:
    // The file is opened and checked on first use, and again after a use
    // found it unusable.
    explicit SettingsStore(std::string file);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const std::string& File() const { return file_; }

    // Opens the file now if it is not open; StoreError when it is unusable.
    void Open();

    bool NodeExists(uint32_t root, const std::wstring& path);
    bool ValueExists(uint32_t root, const std::wstring& path, const std::wstring& name);
    // StoreError when there is no such value.
    StoredValue Read(uint32_t root, const std::wstring& path, const std::wstring& name);
    void Write(uint32_t root, const std::wstring& path, const std::wstring& name,
               const StoredValue& value);
    void DeleteValue(uint32_t root, const std::wstring& path, const std::wstring& name);

    // Names in ascending order.
    std::vector<std::wstring> ChildNodes(uint32_t root, const std::wstring& path);
    std::vector<std::wstring> ValueNames(uint32_t root, const std::wstring& path);

    void CreateNode(uint32_t root, const std::wstring& path);
    // The node, its values and everything below it.
    void DeleteNode(uint32_t root, const std::wstring& path);
    // Its values and everything below it; the node stays.
    void ClearNode(uint32_t root, const std::wstring& path);

private:
    class Statement;
    class Transaction;

    sqlite3* Database();
    bool CheckIsOurs();
    void PrepareForWriting(bool isNew);
    void Close();
    Statement Prepare(const char* sql);
    [[noreturn]] void Fail(int result, const char* doing);

    void AddNodes(uint32_t root, const std::string& path);
    void DeleteBelow(uint32_t root, const std::string& path, bool withNode);

    const std::string file_;
    std::recursive_mutex mutex_;
    sqlite3* db_ = nullptr;
    bool reopen_ = false; // a use found the file unusable: check it again
    std::map<const char*, sqlite3_stmt*> statements_;
};

} // namespace HostSettings
