// Every value of the user options tree as people read and write it: by its
// path, as text.
//
// Integers whose path contains "Color" are 8 hexadecimal digits (a "0x"
// prefix is taken on input), other integers and enumerations decimal, bools
// true or false, floats in the form they are stored in, times ISO 8601 UTC
// date-times (the empty text for none), strings as they are.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct UsrOpt_Options;

struct OptionEntry {
    std::string path; // "Options/General/Last Color Highlight"
    const char* type; // int, unsigned, bool, float, string, time or enum
    std::function<std::string()> value;
    std::function<std::string()> defaultValue;
    // Sets the value from its text (tracked and stored). Throws UsageError
    // for a text that does not fit the type; the store's failures pass.
    std::function<void(const std::string& text)> set;
    // Sets the compiled-in default (tracked and stored).
    std::function<void()> reset;
};

// The entries of the tree, in declaration order.
std::vector<OptionEntry> OptionCatalogue(UsrOpt_Options& options);

// Up to `count` paths of the catalogue that are closest to `wanted`.
std::vector<std::string> ClosestPaths(const std::vector<OptionEntry>& catalogue,
                                      const std::string& wanted, std::size_t count);
