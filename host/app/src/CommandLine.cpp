#include "CommandLine.h"

#include "ArgumentValues.h"

CommandLine::CommandLine(const std::vector<std::string>& args, const std::set<std::string>& flags,
                         const std::set<std::string>& valued) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true; // what follows is positional, whatever it looks like
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional_.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (flags.count(name)) {
            if (value)
                throw UsageError("option " + name + " takes no value");
            flags_.insert(name);
        } else if (valued.count(name)) {
            if (!value) {
                if (i + 1 == args.size())
                    throw UsageError("option " + name + " needs a value");
                value = args[++i];
            }
            values_[name].push_back(*value);
        } else {
            throw UsageError("unknown option " + Quoted(name));
        }
    }
}

std::optional<std::string> CommandLine::Value(const std::string& option) const {
    const auto found = values_.find(option);
    if (found == values_.end())
        return std::nullopt;
    if (found->second.size() > 1)
        throw UsageError("option " + option + " is given more than once");
    return found->second.front();
}

std::vector<std::string> CommandLine::Values(const std::string& option) const {
    const auto found = values_.find(option);
    return found == values_.end() ? std::vector<std::string>{} : found->second;
}
