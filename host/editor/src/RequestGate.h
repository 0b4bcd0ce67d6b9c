// What every request to the editor must show before it is looked at: a
// Host header naming the loopback address or "localhost" with the server's
// port (a page of another site that rebinds its name to 127.0.0.1 sends its
// own name), the session's random token as the first part of the path, and
// a pace the server can follow. Thread-safe.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

class RequestGate {
public:
    // A token of 32 hexadecimal digits from the system's random source.
    static std::string NewToken();

    RequestGate(std::string token, int port);

    // The HTTP status that refuses the request (with the reason), or 0.
    int Check(const std::string& host, const std::string& path, std::string* reason);
    // The path without the token's part ("/" for the token alone); only for
    // paths that passed Check.
    std::string Route(const std::string& path) const;
    const std::string& Token() const { return token_; }

    // Requests allowed in a burst, and per second after it.
    static constexpr double kBurst = 400, kPerSecond = 250;

private:
    bool HostAllowed(const std::string& host) const;
    bool TakeRequest();

    const std::string token_;
    const int port_;
    std::mutex mutex_;
    double allowance_ = kBurst;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};
