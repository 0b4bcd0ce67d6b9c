// A request that the editor refuses: the HTTP status it answers with and a
// message for the user. Thrown before anything reaches the plug-in.
#pragma once

#include <stdexcept>
#include <string>

namespace HttpStatus {
constexpr int kOk = 200;
constexpr int kBadRequest = 400;
constexpr int kForbidden = 403;
constexpr int kNotFound = 404;
constexpr int kConflict = 409;
constexpr int kPayloadTooLarge = 413;
constexpr int kTooManyRequests = 429;
constexpr int kServerError = 500;
} // namespace HttpStatus

class EditorRefusal : public std::runtime_error {
public:
    EditorRefusal(int status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    int Status() const { return status_; }

private:
    int status_;
};
