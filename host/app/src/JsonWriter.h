// A small streaming JSON writer for the commands' --json output: commas
// and string escapes are its business, the structure is the caller's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the current object.
    JsonWriter& Key(const std::string& name);
    JsonWriter& String(const std::string& utf8);
    JsonWriter& Number(double value);
    JsonWriter& Integer(uint64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // The text, or null when it is empty.
    JsonWriter& StringOrNull(const std::string& utf8);

    // The text written so far, ending in a line break once complete.
    std::string Text() const { return out_ + (depth_.empty() ? "\n" : ""); }

private:
    void BeforeValue();

    std::string out_;
    std::vector<bool> depth_; // per open container: has it a member yet
    bool afterKey_ = false;
};
