#include <gtest/gtest.h>

#include <string>

#include "service-common/ResultCodes.h"
#include "textcodec.h"

namespace {

// Both directions the same way: measure, then convert into a buffer one
// longer than needed, whose last unit must stay untouched.
template <typename In, typename Out, typename Fn>
uint32_t Convert(Fn fn, const In& text, Out* out) {
    size_t length = 0;
    if (uint32_t code = fn(text.data(), text.size(), nullptr, &length))
        return code;
    out->assign(length + 1, '#');
    const uint32_t code = fn(text.data(), text.size(), out->data(), &length);
    EXPECT_EQ(out->back(), '#') << "no terminator is written";
    out->resize(length);
    return code;
}

TEST(TextCodec, RoundTripsEveryPlane) {
    const std::wstring samples[] = {L"", std::wstring(L"nul\0inside", 10),
                                    L"Gr\u00FC\u00DFe \u20AC \u6587", L"\U0001F600\U0010FFFF"};
    for (const std::wstring& wide : samples) {
        std::string narrow;
        std::wstring back;
        ASSERT_EQ(Convert(SLConvertUnicodeToACP, wide, &narrow), SODetails::kOk);
        ASSERT_EQ(Convert(SLConvertACPToUnicode, narrow, &back), SODetails::kOk);
        EXPECT_EQ(back, wide);
    }
    std::string narrow;
    Convert(SLConvertUnicodeToACP, std::wstring(L"\u20AC\U0001F600"), &narrow);
    EXPECT_EQ(narrow, "\xE2\x82\xAC\xF0\x9F\x98\x80");

    wchar_t buffer[2] = {L'#', L'#'};
    size_t capacity = 2;
    EXPECT_EQ(SLConvertACPToUnicode("abc", 3, buffer, &capacity), SODetails::kBufferTooSmall);
    EXPECT_EQ(capacity, 3u) << "the length needed";
    EXPECT_EQ(buffer[0], L'#');
}

TEST(TextCodec, MalformedInputGives13) {
    for (const std::string text : {"\x80", "a\xE2\x82", "\xC0\xAF", "\xED\xA0\x80",
                                   "\xF4\x90\x80\x80", "\xFF", "\xE2\x28\xA1"}) {
        std::wstring out;
        EXPECT_EQ(Convert(SLConvertACPToUnicode, text, &out), SODetails::kMalformedText)
            << testing::PrintToString(text);
    }
    for (wchar_t bad : {wchar_t(0xD800), wchar_t(0xDFFF), wchar_t(0x110000)}) {
        std::string out;
        EXPECT_EQ(Convert(SLConvertUnicodeToACP, L"a" + std::wstring(1, bad), &out),
                  SODetails::kMalformedText);
    }
}

} // namespace
