// textcodec: conversion between the ANSI code page (UTF-8 here) and wide text.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "service-common/ModuleExport.h"

#ifdef TEXTCODEC_BUILD
#define TEXTCODEC_API SO_EXPORT
#else
#define TEXTCODEC_API SO_IMPORT
#endif

extern "C" {

// Converts `length` bytes of `text`. With a null buffer, *converted receives
// the number of wide units needed. With a buffer, *converted holds its
// capacity in wide units on entry and the number written on return; no
// terminator is written. Returns 0; 3 for a null text or null `converted`;
// 6 when the buffer is too small; 13 for malformed input.
TEXTCODEC_API uint32_t SLConvertACPToUnicode(const char* text, size_t length, wchar_t* buffer,
                                             size_t* converted);

// The reverse direction, with the same conventions (units are bytes).
TEXTCODEC_API uint32_t SLConvertUnicodeToACP(const wchar_t* text, size_t length, char* buffer,
                                             size_t* converted);
}
