// How a markup colour travels between the ribbon's handlers and its colour
// popups: as text.
#pragma once

#include <string>

#include "TextMarkupAnnot.h"

// The colour in lowercase hexadecimal digits, without prefix or leading
// zeros ("ffffea3b", "0" for 0).
std::wstring MarkupColorText(MarkupColor color);

// The colour that hexadecimal text names, read as a stream reads a number
// (leading blanks skipped, reading stops at the first character that is no
// digit); 0 for text that does not parse or does not fit 32 bits.
MarkupColor ParseMarkupColorText(const std::wstring& text);
