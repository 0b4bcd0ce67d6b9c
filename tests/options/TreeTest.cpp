// The options tree built from the schema, over a settings store in memory,
// and how it keeps option values there: integers and bools as integers,
// floats and times as text.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestObjects.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"
#include "support-proxy/InAppTrackingInterface.h"
#include "support-proxy/OptionValueText.h"
#include "support-proxy/SLSettingsNode.h"
#include "support-proxy/SLUserSettingNode.h"
#include "support-proxy/SettingsInterface.h"
#include "support-proxy/UserOptions.h"
#include "svcbroker.h"

namespace {

// Values by node path and name: integers and texts, as the host keeps them.
struct MemoryStore {
    std::map<std::wstring, std::map<std::wstring, int32_t>> ints;
    std::map<std::wstring, std::map<std::wstring, std::wstring>> texts;
    bool refuseWrites = false;
    int writes = 0;
};

// A node of a MemoryStore. The operations the options tree does not use
// fail as they do where there is no settings service.
class MemoryNode : public Settings::SLSettingsNode<Settings::SLSettingsRoot> {
public:
    MemoryNode(std::shared_ptr<MemoryStore> store, std::wstring path)
        : SLSettingsNode(Settings::kUserSettingsRoot, std::move(path), nullptr,
                         boost::make_shared<Settings::SLSettingValue>(nullptr)),
          store_(std::move(store)) {}

    void SetInt(const std::wstring& name, int32_t value) override {
        Put(store_->ints, store_->texts, name, value);
    }
    int32_t GetInt(const std::wstring& name) override { return Find(store_->ints, name); }
    void SetBool(const std::wstring& name, bool value) override { SetInt(name, value); }
    bool GetBool(const std::wstring& name) override { return GetInt(name) != 0; }
    void SetString(const std::wstring& name, const std::wstring& value) override {
        Put(store_->texts, store_->ints, name, value);
    }
    std::wstring GetString(const std::wstring& name) override { return Find(store_->texts, name); }
    bool IsValueExists(const std::wstring& name) override {
        return store_->ints[Path()].count(name) + store_->texts[Path()].count(name) > 0;
    }
    bool IsNodeExists() override {
        return store_->ints.count(Path()) + store_->texts.count(Path()) > 0;
    }
    boost::shared_ptr<ISettingsNode> GetChildNode(const std::wstring& name) override {
        return boost::make_shared<MemoryNode>(store_, Path() + L"\\" + name);
    }

private:
    // Keeps `value` under `name`, in place of a value of the other type.
    template <class Values, class Others, class Value>
    void Put(Values& values, Others& others, const std::wstring& name, const Value& value) {
        if (store_->refuseWrites)
            throw ServiceObjectException(SODetails::kNotAvailable, L"the store refuses writes",
                                         "MemoryNode", "test", 0);
        ++store_->writes;
        others[Path()].erase(name);
        values[Path()][name] = value;
    }
    template <class Values>
    typename Values::mapped_type::mapped_type Find(Values& values, const std::wstring& name) {
        const auto node = values.find(Path());
        if (node == values.end() || node->second.count(name) == 0)
            throw ServiceObjectException(SODetails::kNotAvailable, L"no such value", "MemoryNode",
                                         "test", 0);
        return node->second.at(name);
    }

    std::shared_ptr<MemoryStore> store_;
};

struct Tracking {
    static inline std::wstring reports; // "path old new; " for each
    static inline uint32_t result = 0;
    static inline fwtest::FlatObject<InAppTrackingOps::kOperationCount> object;

    static uint32_t Track(ServiceObject*, const wchar_t* path, const wchar_t* oldText,
                          const wchar_t* newText) {
        reports += std::wstring(path) + L" " + oldText + L" " + newText + L"; ";
        if (SODetails::IsFailure(result))
            ReportFailure(ServiceObjectException(result, L"tracking is down", "Track", "test", 0));
        return result;
    }
    static uint32_t Make(void*, ServiceObject** out) {
        object.object.header.common.GetErrorInfo = &SODetails::GetErrorInfo;
        object.Set<InAppTrackingOps::TrackOptionChange>(&Track);
        *out = object.get();
        return 0;
    }
};

// Registers a tracking service for this process that keeps its reports
// here, answering `result` to each.
const std::wstring& TrackChanges(uint32_t result = 0) {
    Tracking::result = result;
    ServiceProviderRegHostService("InAppTracking", &Tracking::Make, nullptr, "single");
    return Tracking::reports;
}

const std::wstring kGeneral = L"Base\\Options\\General";

class OptionsTree : public testing::Test {
protected:
    void SetUp() override { tree->Build(StoreNode(), nullptr); }

    usropts::UserSettingNodePtr StoreNode() {
        return boost::make_shared<usropts::SLUserSettingNode>(
            boost::make_shared<MemoryNode>(store, L"Base"));
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>();
    std::unique_ptr<UsrOpt_Options> tree = std::make_unique<UsrOpt_Options>();
};

// Every value under its own path, each child knowing its group.
void CollectPaths(const usropts::IUserSettingGroup& group, std::set<std::wstring>& paths,
                  int& duplicates) {
    for (std::size_t i = 0; i < group.Children().Size(); ++i) {
        const usropts::IUserSetting* child = group.Children().At(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->Parent(), &group);
        duplicates += !paths.insert(child->GetPath()).second;
        if (auto* nested = dynamic_cast<const usropts::IUserSettingGroup*>(child))
            CollectPaths(*nested, paths, duplicates);
    }
}

TEST_F(OptionsTree, BuildsEveryValueUnderItsOwnPathWithoutTouchingTheStore) {
    std::set<std::wstring> paths;
    int duplicates = 0;
    CollectPaths(*tree, paths, duplicates);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(tree->MetaData.Version.GetPath(), L"Options/MetaData/Version");
    EXPECT_EQ(paths.count(L"Options/MetaData/Version"), 1u);
    EXPECT_TRUE(tree->IsDefault());
    EXPECT_TRUE(store->ints.empty() && store->texts.empty()) << "building writes nothing";
}

TEST_F(OptionsTree, ValuesLiveInTheirGroupsNodesAndReadBackWhole) {
    tree->General.LastColorHighlight.Set(0xFFFFEA3B);
    tree->General.LastColorUnderline.Set(0x80000001);
    tree->Ink.Opacity.Set(50);
    tree->Fonts.Default.Opacity.Set(70);
    tree->MetaData.LastUpdateTime.Set(86400);
    EXPECT_EQ(store->ints[kGeneral][L"Last Color Highlight"], static_cast<int32_t>(0xFFFFEA3B));
    EXPECT_EQ(store->ints[L"Base\\Options\\Ink"][L"Opacity"], 50);
    EXPECT_EQ(store->ints[L"Base\\Options\\Fonts\\Default"][L"Opacity"], 70);
    EXPECT_EQ(store->texts[L"Base\\Options\\MetaData"][L"LastUpdateTime"], L"1970-01-02T00:00:00");

    tree->Save(nullptr);
    UsrOpt_Options fresh;
    fresh.Build(StoreNode(), nullptr);
    fresh.Load(nullptr);
    EXPECT_EQ(fresh.General.LastColorUnderline.Get(), 0x80000001u) << "the same 32 bits";
    EXPECT_EQ(fresh.Ink.Opacity.Get(), 50u);
    EXPECT_EQ(fresh.Fonts.Default.Opacity.Get(), 70u);
    EXPECT_EQ(fresh.MetaData.LastUpdateTime.Get(), 86400);
    EXPECT_TRUE(fresh.EqualsStored(StoreNode()));
    EXPECT_FALSE(fresh.EqualsStored(nullptr));
}

TEST_F(OptionsTree, LoadingKeepsWhatTheStoreDoesNotHold) {
    tree->Ink.Opacity.Set(50);
    store->ints[L"Base\\Options\\Ink"].erase(L"Opacity");
    store->texts[L"Base\\Options\\Ink"][L"Color"] = L"stored with another type";
    tree->Load(nullptr);
    EXPECT_EQ(tree->Ink.Opacity.Get(), 50u);
    EXPECT_EQ(tree->Ink.Color.Get(), static_cast<int>(0xFF4F8DE1));

    UsrOpt_Options unbound;
    unbound.Ink.Opacity.Load(nullptr);
    unbound.Ink.Opacity.Save(nullptr);
    EXPECT_EQ(unbound.Ink.Opacity.Get(), 100u);
    EXPECT_FALSE(unbound.EqualsStored(nullptr));
}

// Neither a tracking service that is not there nor one that fails stops a
// set.
TEST_F(OptionsTree, SetReportsOnlyRealChangesButAlwaysWrites) {
    tree->Ink.Opacity.Set(40); // no tracking service yet
    const std::wstring& reports = TrackChanges();
    tree->General.LastColorUnderline.Set(0xFF44DC5E);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(store->writes, 2);

    tree->General.LastColorUnderline.Set(0xFF000000);
    tree->Ink.Opacity.Set(50);
    tree->General.LastColorHighlight.Set(0x0000EA3B);
    EXPECT_EQ(reports, L"Options/General/Last Color Underline FF44DC5E FF000000; "
                       L"Options/Ink/Opacity 40 50; "
                       L"Options/General/Last Color Highlight FFFFEA3B EA3B; "); // no padding
    EXPECT_EQ(store->writes, 5);

    TrackChanges(2); // fails every report
    tree->Ink.Opacity.Set(30);
    EXPECT_EQ(tree->Ink.Opacity.Get(), 30u);
    EXPECT_EQ(store->ints[L"Base\\Options\\Ink"][L"Opacity"], 30);
}

TEST_F(OptionsTree, AFailingWriteKeepsTheNewValueCachedAndRaises) {
    store->refuseWrites = true;
    EXPECT_THROW(tree->General.LastColorStrikeOut.Set(0xFF0000FF), ServiceObjectException);
    EXPECT_EQ(tree->General.LastColorStrikeOut.Get(), 0xFF0000FFu);
    EXPECT_THROW(tree->Save(nullptr), ServiceObjectException);
    EXPECT_EQ(store->writes, 0);
}

// Floats as the classic locale's shortest text; times as UTC date-times,
// zones and fractions applied (toward zero), nothing or no date-time as -1.
TEST(StoredForms, FloatsAndTimesAsTextAndBack) {
    for (const auto& [value, text] : std::vector<std::pair<float, std::wstring>>{
             {100.0f, L"100"}, {0.5f, L"0.5"}, {1.0e7f, L"1e+07"}, {1.15f, L"1.15"}}) {
        EXPECT_EQ(usropts::FloatToText(value), text);
        EXPECT_EQ(usropts::FloatFromText(text), value);
    }
    for (const auto& [text, value] : std::vector<std::pair<std::wstring, float>>{
             {L"72.5 pt", 72.5f}, {L"no number", 0.0f}, {L"", 0.0f}})
        EXPECT_EQ(usropts::FloatFromText(text), value);

    for (const auto& [time, text] : std::vector<std::pair<int64_t, std::wstring>>{
             {-1, L""}, {0, L"1970-01-01T00:00:00"}, {951782400, L"2000-02-29T00:00:00"}}) {
        EXPECT_EQ(usropts::TimeToText(time), text);
        EXPECT_EQ(usropts::TimeFromText(text), time);
    }
    const std::pair<const wchar_t*, int64_t> read[] = {
        {L"1970-01-01T02:00:00+02:00", 0}, {L"1970-01-01T00:00:00Z", 0},
        {L"1969-12-31T22:30:00-01:30", 0}, {L"2000-01-01T00:00:00.5", 946684800},
        {L"1969-12-31T23:59:59.5", 0},     {L"2000-01-01T00:00:00.250+01:00", 946681200},
        {L"1969-12-31T23:59:59", -1},      {L"yesterday", -1},
        {L"2000-02-30T00:00:00", -1},      {L"2000-01-01 00:00:00", -1},
        {L"2000-01-01T24:00:00", -1},      {L"2000-01-01T00:00:00.", -1},
        {L"2000-01-01T00:00:00Zx", -1}};
    for (const auto& [text, time] : read)
        EXPECT_EQ(usropts::TimeFromText(text), time) << std::wstring(text).size();
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
    auto store = std::make_shared<MemoryStore>();
    usropts::SLUserSettingNode node(boost::make_shared<MemoryNode>(store, L"Base"));
    EXPECT_FALSE(node.HasValue(L"f")) << "no node yet";

    node.SetFloat(L"f", 100.0f);
    node.SetTime(L"t", -1);
    node.SetTime(L"u", 0);
    node.SetBool(L"b", true);
    EXPECT_EQ(store->texts[L"Base"],
              (std::map<std::wstring, std::wstring>{
                  {L"f", L"100"}, {L"t", L""}, {L"u", L"1970-01-01T00:00:00"}}));
    EXPECT_EQ(store->ints[L"Base"], (std::map<std::wstring, int32_t>{{L"b", 1}}));
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
