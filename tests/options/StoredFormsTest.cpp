// How option values are kept in the settings store: integers and bools as
// integers, floats and times as text.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <stdexcept>

#include "OptionsTestSupport.h"
#include "support-proxy/OptionValueText.h"
#include "support-proxy/SLUserSettingNode.h"

namespace {

TEST(StoredForms, FloatsAreTheClassicLocalesShortestText) {
    EXPECT_EQ(usropts::FloatToText(100.0f), L"100");
    EXPECT_EQ(usropts::FloatToText(0.5f), L"0.5");
    EXPECT_EQ(usropts::FloatToText(1.0e7f), L"1e+07");
    EXPECT_EQ(usropts::FloatToText(1.15f), L"1.15");
    EXPECT_EQ(usropts::FloatFromText(L"1.15"), 1.15f);
    EXPECT_EQ(usropts::FloatFromText(L"72.5 pt"), 72.5f);
    EXPECT_EQ(usropts::FloatFromText(L"no number"), 0.0f);
    EXPECT_EQ(usropts::FloatFromText(L""), 0.0f);
}

TEST(StoredForms, TimesAreUtcDateTimesAndZonesAreApplied) {
    EXPECT_EQ(usropts::TimeToText(-1), L"");
    EXPECT_EQ(usropts::TimeToText(0), L"1970-01-01T00:00:00");
    EXPECT_EQ(usropts::TimeToText(951782400), L"2000-02-29T00:00:00");

    EXPECT_EQ(usropts::TimeFromText(L"1970-01-01T02:00:00+02:00"), 0);
    EXPECT_EQ(usropts::TimeFromText(L"1970-01-01T00:00:00Z"), 0);
    EXPECT_EQ(usropts::TimeFromText(L"1969-12-31T22:30:00-01:30"), 0);
    EXPECT_EQ(usropts::TimeFromText(L"2000-01-01T00:00:00.5"), 946684800);
    EXPECT_EQ(usropts::TimeFromText(L"1969-12-31T23:59:59.5"), 0) << "toward zero";
    EXPECT_EQ(usropts::TimeFromText(L"2000-01-01T00:00:00.250+01:00"), 946681200);
    EXPECT_EQ(usropts::TimeFromText(L"1969-12-31T23:59:59"), -1);
    for (const wchar_t* bad :
         {L"", L"yesterday", L"2000-02-30T00:00:00", L"2000-01-01 00:00:00", L"2000-01-01T24:00:00",
          L"2000-01-01T00:00:00.", L"2000-01-01T00:00:00Zx"})
        EXPECT_EQ(usropts::TimeFromText(bad), -1) << std::wstring(bad).size();
}

TEST(StoredForms, AZoneDesignatorThatDoesNotParseSaysWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"2000-01-01T00:00:00 ", "First character after date-time is not a 'Z' or a sign."},
        {"2000-01-01T00:00:00+1:00", "Expected two digits for hours or minutes part in time zone "
                                     "of data-time."},
        {"2000-01-01T00:00:00-01:0", "Expected two digits for hours or minutes part in time zone "
                                     "of data-time."},
        {"2000-01-01T00:00:00+0100", "Expected a colon between hours and minutes in time zone of "
                                     "date-time."},
    };
    for (const auto& [text, message] : cases) {
        try {
            usropts::ParseDateTime(text);
            ADD_FAILURE() << text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), message) << text;
        }
    }
}

TEST(StoredForms, TheStoreNodeKeepsFloatsAndTimesAsTextAndBoolsAsIntegers) {
    auto store = std::make_shared<optest::MemoryStore>();
    usropts::SLUserSettingNode node(boost::make_shared<optest::MemoryNode>(store, L"Base"));
    EXPECT_FALSE(node.HasValue(L"f")) << "no node yet";

    node.SetFloat(L"f", 100.0f);
    node.SetTime(L"t", -1);
    node.SetTime(L"u", 0);
    node.SetBool(L"b", true);
    EXPECT_EQ(store->texts[L"Base"][L"f"], L"100");
    EXPECT_EQ(store->texts[L"Base"][L"t"], L"");
    EXPECT_EQ(store->texts[L"Base"][L"u"], L"1970-01-01T00:00:00");
    EXPECT_EQ(store->ints[L"Base"][L"b"], 1);
    EXPECT_EQ(node.GetTime(L"t"), -1);
    EXPECT_EQ(node.GetTime(L"u"), 0);

    store->ints[L"Base"][L"b"] = 7;
    EXPECT_TRUE(node.GetBool(L"b")) << "any non-zero integer";
    store->texts[L"Base"][L"f"] = L"not a number";
    EXPECT_EQ(node.GetFloat(L"f"), 0.0f);

    EXPECT_TRUE(node.HasValue(L"b"));
    EXPECT_FALSE(node.HasValue(L"missing"));
    EXPECT_FALSE(node.GetChildNode(L"Child", true)->HasValue(L"b")) << "nothing made in the store";
}

} // namespace
