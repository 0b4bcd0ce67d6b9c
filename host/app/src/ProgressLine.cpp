#include "ProgressLine.h"

#include <cstdio>

#include "platform/Platform.h"

namespace {
// Short work finishes before a progress line would help.
constexpr auto kQuietPeriod = std::chrono::milliseconds(300);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
} // namespace

ProgressLine::ProgressLine(std::string label, uint64_t total)
    : label_(std::move(label)), total_(total), enabled_(Platform::StandardErrorIsTerminal()),
      start_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() {
    Done();
}

void ProgressLine::Update(uint64_t done) {
    if (!enabled_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < kQuietPeriod || (shown_ && now - lastDrawn_ < kRedrawInterval))
        return;
    std::fprintf(stderr, "\r%s %llu of %llu ", label_.c_str(),
                 static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_));
    std::fflush(stderr);
    shown_ = true;
    lastDrawn_ = now;
}

void ProgressLine::Done() {
    if (!shown_)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
}
