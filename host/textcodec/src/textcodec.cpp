// textcodec: the ANSI code page of the running system to and from wide text.
//
// The conversion itself is the system's (see Platform::AnsiToWide); this
// library gives it the calling convention of the host's interfaces: measure
// with a null buffer, then convert into a buffer of a stated capacity.
#include "textcodec.h"

#include "platform/Platform.h"
#include "service-common/ResultCodes.h"

namespace {

template <typename In, typename Out, typename Convert>
uint32_t Run(const In* text, size_t length, Out* buffer, size_t* converted, Convert convert) {
    if (!text || !converted)
        return SODetails::kBadArgument;
    const size_t capacity = buffer ? *converted : 0;
    switch (convert(text, length, buffer, capacity, converted)) {
    case Platform::Conversion::kDone:
        return SODetails::kOk;
    case Platform::Conversion::kTooSmall:
        return SODetails::kBufferTooSmall; // *converted tells how much room it takes
    case Platform::Conversion::kMalformed:
        break;
    }
    return SODetails::kMalformedText;
}

} // namespace

extern "C" {

uint32_t SLConvertACPToUnicode(const char* text, size_t length, wchar_t* buffer,
                               size_t* converted) {
    return Run(text, length, buffer, converted, Platform::AnsiToWide);
}

uint32_t SLConvertUnicodeToACP(const wchar_t* text, size_t length, char* buffer,
                               size_t* converted) {
    return Run(text, length, buffer, converted, Platform::WideToAnsi);
}

} // extern "C"
