// What the fuzz targets share: folio opens documents by name, so each input
// is written to a file of the process's own first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Writes the bytes to this process's scratch file (the same name each time)
// and returns its name; aborts when the file cannot be written.
std::string ScratchFile(const uint8_t* data, size_t size, const char* suffix = "");

// A check that must hold: a failure prints what broke and aborts, which the
// fuzzer reports as a crash with the input that made it.
void Require(bool holds, const char* what);

} // namespace fuzz
