#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace PDF {

// A failure of the document-model library, with the library's code and a
// wide message. The message is not handed to the base class: what() gives
// the generic text, and handlers that want the message read Message().
class Exception : public std::exception {
public:
    Exception(uint32_t code, std::wstring message) : code_(code), message_(std::move(message)) {}
    const char* what() const noexcept override { return "Unknown exception"; }
    uint32_t Code() const { return code_; }
    const std::wstring& Message() const { return message_; }

private:
    uint32_t code_;
    std::wstring message_;
};

} // namespace PDF
