#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "service-common/ResultCodes.h"
#include "textcodec.h"

namespace {

// Both directions the same way: measure, then convert into a buffer one
// longer than needed, whose last unit must stay untouched.
template <typename Out, typename In, typename Fn>
std::pair<uint32_t, Out> Convert(Fn fn, const In& text) {
    size_t length = 0;
    if (uint32_t code = fn(text.data(), text.size(), nullptr, &length))
        return {code, Out()};
    Out out(length + 1, '#');
    const uint32_t code = fn(text.data(), text.size(), out.data(), &length);
    EXPECT_EQ(out.back(), '#') << "no terminator is written";
    out.resize(length);
    return {code, out};
}

constexpr uint32_t kWesternCodePage = 1252;

TEST(TextCodec, ConvertsWhatTheCodePageHoldsBothWays) {
    SCOPED_TRACE(testing::Message() << "code page " << Platform::AnsiCodePage());
    // What the running system's ANSI code page holds: the wide text and its bytes.
    std::vector<std::pair<std::wstring, std::string>> held = {
        {L"", ""}, {std::wstring(L"nul\0inside", 10), std::string("nul\0inside", 10)}};
    if (Platform::AnsiCodePage() == Platform::kUtf8CodePage) {
        held.push_back({L"Gr\u00FC\u00DFe \u20AC \u6587", "Gr\xC3\xBC\xC3\x9F"
                                                          "e \xE2\x82\xAC \xE6\x96\x87"});
        held.push_back({L"\U0001F600\U0010FFFF", "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"});
    } else if (Platform::AnsiCodePage() == kWesternCodePage) {
        held.push_back({L"Gr\u00FC\u00DFe \u20AC", "Gr\xFC\xDF"
                                                   "e \x80"});
    }
    for (const auto& [wideText, narrowText] : held) {
        EXPECT_EQ(Convert<std::string>(SLConvertUnicodeToACP, wideText),
                  std::make_pair(SODetails::kOk, narrowText));
        EXPECT_EQ(Convert<std::wstring>(SLConvertACPToUnicode, narrowText),
                  std::make_pair(SODetails::kOk, wideText));
    }

    wchar_t buffer[2] = {L'#', L'#'};
    size_t capacity = 2;
    EXPECT_EQ(SLConvertACPToUnicode("abc", 3, buffer, &capacity), SODetails::kBufferTooSmall);
    EXPECT_EQ(capacity, 3u) << "the length needed";
    EXPECT_EQ(buffer[0], L'#');
}

TEST(TextCodec, WhatDoesNotConvertIsMalformed) {
    // Unpaired surrogates are no text in any code page; a character the code
    // page lacks is not replaced.
    std::vector<std::wstring> wide = {std::wstring(L"a") + wchar_t(0xD800),
                                      std::wstring(L"a") + wchar_t(0xDFFF)};
    std::vector<std::string> narrow;
    if (Platform::AnsiCodePage() == kWesternCodePage)
        wide.push_back(L"\u6587");
    if (Platform::AnsiCodePage() == Platform::kUtf8CodePage) {
        narrow = {"\x80", "a\xE2\x82",   "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                  "\xFF", "\xE2\x28\xA1"};
        if constexpr (sizeof(wchar_t) == 4)
            wide.push_back(std::wstring(L"a") + wchar_t(0x110000));
    }
    for (const std::wstring& text : wide)
        EXPECT_EQ(Convert<std::string>(SLConvertUnicodeToACP, text).first,
                  SODetails::kMalformedText)
            << testing::PrintToString(text);
    for (const std::string& text : narrow)
        EXPECT_EQ(Convert<std::wstring>(SLConvertACPToUnicode, text).first,
                  SODetails::kMalformedText)
            << testing::PrintToString(text);
}

} // namespace
