// The ANSI code page of POSIX systems: UTF-8, converted to and from wide
// text (UTF-32 where wchar_t has 32 bits, UTF-16 where it has 16). Both
// directions are strict: overlong forms, surrogate code points, values above
// U+10FFFF and truncated sequences are malformed input.
#include "platform/Platform.h"

namespace Platform {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Decodes one code point at text[*pos], advancing *pos. False when the bytes
// there are not well-formed UTF-8.
bool DecodeUtf8(const unsigned char* text, size_t length, size_t* pos, char32_t* out) {
    const unsigned char lead = text[*pos];
    if (lead < 0x80) {
        *out = lead;
        ++*pos;
        return true;
    }
    size_t extra;
    char32_t value;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return false; // a continuation byte or 0xF8..0xFF as lead byte
    }
    if (length - *pos <= extra)
        return false;
    for (size_t i = 1; i <= extra; ++i) {
        const unsigned char next = text[*pos + i];
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > kMaxCodePoint || IsSurrogate(value))
        return false;
    *out = value;
    *pos += extra + 1;
    return true;
}

// Reads one code point from wide text at text[*pos], advancing *pos.
bool DecodeWide(const wchar_t* text, size_t length, size_t* pos, char32_t* out) {
    if constexpr (kWideIsUtf16) {
        const char32_t first = static_cast<char16_t>(text[*pos]);
        if (!IsSurrogate(first)) {
            *out = first;
            ++*pos;
            return true;
        }
        if (first >= 0xDC00 || length - *pos < 2)
            return false;
        const char32_t second = static_cast<char16_t>(text[*pos + 1]);
        if (second < 0xDC00 || second > 0xDFFF)
            return false;
        *out = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        *pos += 2;
        return true;
    } else {
        const char32_t value = static_cast<char32_t>(text[*pos]);
        if (value > kMaxCodePoint || IsSurrogate(value))
            return false;
        *out = value;
        ++*pos;
        return true;
    }
}

size_t WideUnits(char32_t c) {
    return kWideIsUtf16 && c >= 0x10000 ? 2 : 1;
}

size_t Utf8Units(char32_t c) {
    if (c < 0x80)
        return 1;
    if (c < 0x800)
        return 2;
    return c < 0x10000 ? 3 : 4;
}

wchar_t* EncodeWide(char32_t c, wchar_t* out) {
    if (kWideIsUtf16 && c >= 0x10000) {
        c -= 0x10000;
        *out++ = static_cast<wchar_t>(0xD800 + (c >> 10));
        *out++ = static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        *out++ = static_cast<wchar_t>(c);
    }
    return out;
}

char* EncodeUtf8(char32_t c, char* out) {
    const size_t units = Utf8Units(c);
    if (units == 1) {
        *out++ = static_cast<char>(c);
        return out;
    }
    static const unsigned char kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (size_t i = units - 1; i > 0; --i) {
        out[i] = static_cast<char>(0x80 | (c & 0x3F));
        c >>= 6;
    }
    out[0] = static_cast<char>(kLeadMarks[units] | c);
    return out + units;
}

// One conversion: a first pass validates and measures, a second one writes.
// Nothing is written unless the whole text converts and fits.
template <typename In, typename Out, typename Decode, typename Measure, typename Encode>
Conversion Convert(const In* text, size_t length, Out* out, size_t capacity, size_t* units,
                   Decode decode, Measure measure, Encode encode) {
    size_t needed = 0;
    for (size_t pos = 0; pos < length;) {
        char32_t c = 0;
        if (!decode(text, length, &pos, &c))
            return Conversion::kMalformed;
        needed += measure(c);
    }
    *units = needed;
    if (!out)
        return Conversion::kDone;
    if (capacity < needed)
        return Conversion::kTooSmall;
    for (size_t pos = 0; pos < length;) {
        char32_t c = 0;
        decode(text, length, &pos, &c);
        out = encode(c, out);
    }
    return Conversion::kDone;
}

} // namespace

Conversion AnsiToWide(const char* text, size_t length, wchar_t* out, size_t capacity,
                      size_t* units) {
    return Convert(reinterpret_cast<const unsigned char*>(text), length, out, capacity, units,
                   DecodeUtf8, WideUnits, EncodeWide);
}

Conversion WideToAnsi(const wchar_t* text, size_t length, char* out, size_t capacity,
                      size_t* units) {
    return Convert(text, length, out, capacity, units, DecodeWide, Utf8Units, EncodeUtf8);
}

uint32_t AnsiCodePage() {
    return kUtf8CodePage;
}

} // namespace Platform
