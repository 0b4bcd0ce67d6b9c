// The error record that the process-wide error storage keeps for each
// thread, and the exception that carries one across this module. Both share
// one 128-byte layout known to every module of the process.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/FailureSites.h"
#include "service-common/ServiceObject.h"

// Not derived from std::exception on purpose: a handler for std::exception
// must not catch it.
class ServiceObjectException {
public:
    static constexpr uint32_t kAliveMarker = SODetails::FourCC("SOEX");
    static constexpr uint32_t kDeadMarker = SODetails::FourCC("DDDD");

    ServiceObjectException() = default;
    ServiceObjectException(uint32_t code, std::wstring message, std::string function,
                           std::string file, uint32_t line);
    // A failure of this module at one of its fixed sites.
    ServiceObjectException(uint32_t code, std::wstring message, const FailureSites::Site& site)
        : ServiceObjectException(code, std::move(message), site.function, site.file, site.line) {}
    // An exception that stands for another module's live record.
    static ServiceObjectException StandingFor(const ServiceObjectException* inner);

    ServiceObjectException(const ServiceObjectException& other);
    ServiceObjectException& operator=(const ServiceObjectException& other);
    ~ServiceObjectException();

    // The record this one finally stands for: the inner chain is followed as
    // long as the next record is alive.
    const ServiceObjectException& Resolved() const;

    uint32_t Code() const { return Resolved().code_; }
    const std::wstring& Message() const { return Resolved().message_; }
    const std::string& Function() const { return Resolved().function_; }
    const std::string& File() const { return Resolved().file_; }
    uint32_t Line() const { return Resolved().line_; }

    bool IsAlive() const { return marker_ == kAliveMarker; }
    const ServiceObjectException* Inner() const { return inner_; }

private:
    uint32_t marker_ = kAliveMarker;
    const ServiceObjectException* inner_ = nullptr;
    uint32_t code_ = 0;
    std::wstring message_;
    std::string function_;
    std::string file_;
    uint32_t line_ = 0;

    friend struct ServiceObjectExceptionLayout;
};
