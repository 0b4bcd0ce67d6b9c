// The values that commands take, read strictly. Values that do not fit
// throw UsageError (or make the Parse... functions return false, for the
// caller to say what it wanted); messages quote values cut to a readable
// length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "CommandLine.h"

struct PagePoint;

// An argument as messages show it: at most a line's worth, cut at a
// character boundary, with control characters shown as '?'.
std::string Shortened(const std::string& argument);
// The same in single quotes.
std::string Quoted(const std::string& argument);

// A page number counted from 1 (decimal digits only, at least 1); *page
// receives it counted from 0.
bool ParsePageNumber(const std::string& text, uint64_t* page);
// A finite number that a page coordinate can hold.
bool ParseCoordinate(const std::string& text, float* value);
// A file name: not empty, and not longer than a path can be.
std::string ParseFileName(const std::string& text, const std::string& what);
// Text given as UTF-8, as wide text.
std::wstring ParseText(const std::string& text, const std::string& what);

// Throws std::out_of_range unless `page` (counted from 0) is one of the
// document's `pageCount` pages; the message counts from 1.
void CheckPageInRange(uint64_t page, uint64_t pageCount);

// "PAGE:X,Y": a page counted from 1 and a point in page space (y up), as
// `vellum text` shows them. UsageError, naming `option`, otherwise.
PagePoint ParsePagePoint(const std::string& text, const std::string& option);

// The one input file of a command line (its only positional argument).
std::string ParseInputFile(const CommandLine& line);
// The output file of "-o" or "--output", given once at most.
std::optional<std::string> ParseOutputFile(const CommandLine& line);
