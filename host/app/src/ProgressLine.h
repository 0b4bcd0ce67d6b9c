// A progress line on standard error for work over many items ("marking
// page 12 of 120"), drawn only when standard error is a terminal and the
// work is long enough to be worth it; erased when done.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class ProgressLine {
public:
    ProgressLine(std::string label, uint64_t total);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Update(uint64_t done);
    // Erases the line.
    void Done();

private:
    std::string label_;
    uint64_t total_;
    bool shown_ = false;
    bool enabled_;
    std::chrono::steady_clock::time_point start_, lastDrawn_;
};
