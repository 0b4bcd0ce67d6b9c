// Runs the vellum command as a separate process with an argument vector (no
// shell), in a given folder and with changes to its environment; standard
// output and error go to files. A run can be waited for at once, or started
// and then signalled while it works.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

struct VellumOutcome {
    int exit = -1;  // the exit code, or -1 when a signal ended the run
    int signal = 0; // the signal that ended it, or 0
    std::string out, err;
};

class VellumProcess {
public:
    // An environment value of nullopt removes the variable.
    using Environment = std::map<std::string, std::optional<std::string>>;

    VellumProcess(const std::string& folder, const std::vector<std::string>& args,
                  const Environment& environment = {});
    ~VellumProcess();
    VellumProcess(const VellumProcess&) = delete;
    VellumProcess& operator=(const VellumProcess&) = delete;

    // Waits up to `seconds` until standard error (or output) holds `text`.
    bool WaitForError(const std::string& text, int seconds);
    bool WaitForOutput(const std::string& text, int seconds);
    // Standard output so far.
    std::string Output() const;
    void Signal(int signal);
    VellumOutcome Wait();

private:
    static bool WaitFor(const std::string& path, const std::string& text, int seconds);

    pid_t pid_ = -1;
    std::string outPath_, errPath_;
    std::string settingsFolder_;
};

std::string ReadWholeFile(const std::string& path);
// What pdfprobe.py reads from a saved PDF: "/path<TAB>value" lines by path.
std::map<std::string, std::string> ProbeAnnots(const std::string& pdf);
// The same of a JSON text.
std::map<std::string, std::string> ProbeJson(const std::string& text);
// The names in a folder (dot files included), sorted.
std::vector<std::string> FolderListing(const std::string& folder);
