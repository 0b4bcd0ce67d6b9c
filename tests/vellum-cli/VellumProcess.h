// Runs the vellum command as a separate process with an argument vector (no
// shell), in a given folder and with changes to its environment; standard
// output and error go to files. A run can be waited for at once, or started
// and then signalled while it works. Also reads what the runs wrote.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"

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

    enum class Stream { kOutput, kError };
    // Waits up to `seconds` until the stream holds `text`.
    bool WaitFor(Stream stream, const std::string& text, int seconds) const;
    // Standard output so far.
    std::string Output() const;
    void Signal(int signal);
    VellumOutcome Wait();

private:
    pid_t pid_ = -1;
    // The run's own: its standard output and error, and its settings store.
    testsupport::TempFolder files_; // goes after the process is ended
    std::string outPath_, errPath_;
};

// What pdfprobe.py reads from a saved PDF or a JSON text: "/path<TAB>value"
// lines by path, an array's length at "/path/#".
using Values = std::map<std::string, std::string>;
Values ProbeAnnots(const std::string& pdf);
Values ProbeJson(const std::string& text);

std::string Value(const Values& values, const std::string& path);
// The numbers of the array at `path`.
std::vector<double> Numbers(const Values& values, const std::string& path);
// The colour of an annotation as 0xAARRGGBB, its opacity as the alpha.
uint32_t AnnotColor(const Values& saved, int page, int index);

// The names in a folder (dot files included), sorted.
std::vector<std::string> FolderListing(const std::string& folder);
