// The options of one command: positional arguments, flags, and options
// with values ("--name value" or "--name=value"), some of them repeatable.
// "--" ends the options: every argument after it is positional.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that does not fit the command; the text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CommandLine {
public:
    // Throws UsageError for an option that is in neither set, and for an
    // option with a value that has none.
    CommandLine(const std::vector<std::string>& args, const std::set<std::string>& flags,
                const std::set<std::string>& valued);

    const std::vector<std::string>& Positional() const { return positional_; }
    bool Has(const std::string& flag) const { return flags_.count(flag) != 0; }
    // The option's value; UsageError when it was given more than once.
    std::optional<std::string> Value(const std::string& option) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> Values(const std::string& option) const;

private:
    std::vector<std::string> positional_;
    std::set<std::string> flags_;
    std::map<std::string, std::vector<std::string>> values_;
};
