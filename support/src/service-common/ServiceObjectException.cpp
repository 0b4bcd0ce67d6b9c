#include "service-common/ServiceObjectException.h"

#include <cstddef>

// The layout is shared with other modules; the string members are the
// platform's standard strings (32 bytes each with this runtime and with the
// one the host uses on Windows).
struct ServiceObjectExceptionLayout {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(ServiceObjectException) == 128, "error records are 128 bytes");
    static_assert(offsetof(ServiceObjectException, inner_) == 8, "inner record at 8");
    static_assert(offsetof(ServiceObjectException, code_) == 16, "code at 16");
    static_assert(offsetof(ServiceObjectException, message_) == 24, "message at 24");
    static_assert(offsetof(ServiceObjectException, function_) == 56, "function at 56");
    static_assert(offsetof(ServiceObjectException, file_) == 88, "file at 88");
    static_assert(offsetof(ServiceObjectException, line_) == 120, "line at 120");
#pragma GCC diagnostic pop
};

ServiceObjectException::ServiceObjectException(uint32_t code, std::wstring message,
                                               std::string function, std::string file,
                                               uint32_t line)
    : code_(code), message_(std::move(message)), function_(std::move(function)),
      file_(std::move(file)), line_(line) {}

ServiceObjectException ServiceObjectException::StandingFor(const ServiceObjectException* inner) {
    ServiceObjectException e;
    e.inner_ = inner;
    return e;
}

ServiceObjectException::ServiceObjectException(const ServiceObjectException& other)
    : marker_(kAliveMarker), inner_(other.inner_), code_(other.code_), message_(other.message_),
      function_(other.function_), file_(other.file_), line_(other.line_) {}

ServiceObjectException& ServiceObjectException::operator=(const ServiceObjectException& other) {
    if (this != &other) {
        marker_ = kAliveMarker;
        inner_ = other.inner_;
        code_ = other.code_;
        message_ = other.message_;
        function_ = other.function_;
        file_ = other.file_;
        line_ = other.line_;
    }
    return *this;
}

ServiceObjectException::~ServiceObjectException() {
    // Other records may still point here; the marker tells them we are gone.
    *static_cast<volatile uint32_t*>(&marker_) = kDeadMarker;
}

const ServiceObjectException& ServiceObjectException::Resolved() const {
    const ServiceObjectException* record = this;
    while (record->inner_ && record->inner_->marker_ == kAliveMarker)
        record = record->inner_;
    return *record;
}

