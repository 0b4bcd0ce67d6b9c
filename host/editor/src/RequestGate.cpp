#include "RequestGate.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "EditorRefusal.h"

std::string RequestGate::NewToken() {
    std::random_device source; // the system's random source
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(source()));
        token += part;
    }
    return token;
}

RequestGate::RequestGate(std::string token, int port) : token_(std::move(token)), port_(port) {}

bool RequestGate::HostAllowed(const std::string& host) const {
    const std::string port = ":" + std::to_string(port_);
    for (const char* name : {"127.0.0.1", "localhost"})
        if (host == name || host == name + port)
            return true;
    return false;
}

// A token bucket: kBurst requests at once, then kPerSecond.
bool RequestGate::TakeRequest() {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    allowance_ = std::min(kBurst, allowance_ + seconds * kPerSecond);
    if (allowance_ < 1)
        return false;
    allowance_ -= 1;
    return true;
}

int RequestGate::Check(const std::string& host, const std::string& path, std::string* reason) {
    if (!HostAllowed(host)) {
        *reason = "this server answers only to 127.0.0.1 and localhost";
        return HttpStatus::kForbidden;
    }
    // Every byte of the token is compared, whatever the first difference.
    const std::string given = path.substr(0, 1 + token_.size());
    unsigned difference = given.size() != 1 + token_.size();
    for (std::size_t i = 0; i < token_.size() && i + 1 < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i + 1] ^ token_[i]);
    const std::size_t end = 1 + token_.size();
    if (difference || path[0] != '/' || (path.size() > end && path[end] != '/')) {
        *reason = "the address lacks this session's token: use the address vellum serve printed";
        return HttpStatus::kForbidden;
    }
    if (!TakeRequest()) {
        *reason = "too many requests";
        return HttpStatus::kTooManyRequests;
    }
    return 0;
}

std::string RequestGate::Route(const std::string& path) const {
    const std::string rest = path.substr(1 + token_.size());
    return rest.empty() ? "/" : rest;
}
