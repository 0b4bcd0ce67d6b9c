// The settings store proxy against a stand-in "SLSettings" service whose
// table, answers and failures each test chooses.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "TestObjects.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObjectException.h"
#include "support-proxy/BrandInterface.h"
#include "support-proxy/NodesList.h"
#include "support-proxy/OptionsStoreNode.h"
#include "support-proxy/SLSettingsNode.h"
#include "support-proxy/SLUserSettingNode.h"
#include "support-proxy/SettingsInterface.h"
#include "svcbroker.h"

namespace {

using Node = Settings::SLSettingsNode<Settings::SLSettingsRoot>;
const std::string kNodeFunction = "Settings::SLSettingsNode<struct Settings::SLSettingsRoot>::";

// What the stand-in service was asked, and what it answers.
struct Service {
    static inline std::vector<std::string> calls; // "position path name"
    static inline uint32_t result = 0;            // of every operation
    static inline uint32_t exists = 1, type = 1, integer = 0;
    static inline std::wstring text;
    static inline fwtest::FlatObject<SettingsOps::kOperationCount> object;

    static uint32_t Log(std::size_t position, const wchar_t* path, const wchar_t* name = L"") {
        std::wstring wide = path + std::wstring(L" ") + name;
        calls.push_back(std::to_string(position) + " " + std::string(wide.begin(), wide.end()));
        if (SODetails::IsFailure(result))
            ReportFailure(
                ServiceObjectException(result, L"the store says no", "SLSettings::Op", "host", 7));
        return result;
    }
    // The operations that answer a number through `out`.
    template <std::size_t Position, uint32_t* Answer>
    static uint32_t Read(ServiceObject*, uint32_t, const wchar_t* p, const wchar_t* n,
                         uint32_t* out) {
        *out = *Answer;
        return Log(Position, p, n);
    }
    static uint32_t NodeExists(ServiceObject*, uint32_t, const wchar_t* p, uint32_t* out) {
        *out = exists;
        return Log(8, p);
    }
    template <std::size_t Position>
    static uint32_t OnNode(ServiceObject*, uint32_t, const wchar_t* p) {
        return Log(Position, p);
    }
    static uint32_t SetInt(ServiceObject*, uint32_t, const wchar_t* p, const wchar_t* n,
                           uint32_t value) {
        integer = value;
        return Log(24, p, n);
    }
    static uint32_t GetString(ServiceObject*, uint32_t, const wchar_t* p, const wchar_t* n,
                              wchar_t* buffer, uint32_t* length) {
        if (buffer)
            text.copy(buffer, *length);
        *length = static_cast<uint32_t>(text.size());
        return Log(64, p, n);
    }
    static uint32_t List(ServiceObject*, uint32_t, const wchar_t* p, ServiceObject** list);

    // The full service, without the operations in `missing`.
    static void Install(const std::vector<std::size_t>& missing = {}) {
        object = {};
        object.object.header.common.GetErrorInfo = &SODetails::GetErrorInfo;
        object.Set<SettingsOps::IsValueExists>(&Read<0, &exists>);
        object.Set<SettingsOps::IsNodeExists>(&NodeExists);
        object.Set<SettingsOps::GetInt>(&Read<16, &integer>);
        object.Set<SettingsOps::SetInt>(&SetInt);
        object.Set<SettingsOps::GetString>(&GetString);
        object.Set<SettingsOps::GetValueType>(&Read<96, &type>);
        object.Set<SettingsOps::EnumerateChildNodes>(&List);
        object.Set<SettingsOps::CreateNode>(&OnNode<120>);
        object.Set<SettingsOps::DeleteNode>(&OnNode<128>);
        for (std::size_t position : missing)
            object.object.operations[position / 8] = nullptr;
        for (const char* name : {"SLSettings", "SLTypedSettings"})
            ServiceProviderRegHostService(name, &Make, nullptr, "single");
    }
    static uint32_t Make(void*, ServiceObject** out) {
        *out = object.get();
        return 0;
    }
};

// The list object an enumeration hands out: a count and names, maybe null.
struct NameList {
    static inline int32_t count = 0;
    static inline std::vector<const wchar_t*> names;
    static inline fwtest::FlatObject<SettingsListOps::kOperationCount> object;
    static uint32_t Count(ServiceObject*, int32_t* out) {
        *out = count;
        return 0;
    }
    static uint32_t Name(ServiceObject*, uint32_t index, const wchar_t** out) {
        *out = index < names.size() ? names[index] : nullptr;
        return 0;
    }
};

uint32_t Service::List(ServiceObject*, uint32_t, const wchar_t* p, ServiceObject** list) {
    NameList::object.Set<SettingsListOps::GetCount>(&NameList::Count);
    NameList::object.Set<SettingsListOps::GetName>(&NameList::Name);
    *list = NameList::object.get();
    return Log(104, p);
}

// Runs `operation`, which must throw the proxy's own failure.
void ExpectFailure(const std::function<void()>& operation, uint32_t code,
                   const std::string& function, const std::wstring& message) {
    try {
        operation();
        ADD_FAILURE() << "no failure from " << function;
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(std::make_tuple(e.Code(), e.Function(), e.Message()),
                  std::make_tuple(code, function, message));
    }
}

TEST(SettingsProxy, EveryOperationWithoutItsServiceFailsByTheTable) {
    Node node(1, L"Base", nullptr, boost::make_shared<Settings::SLSettingValue>(nullptr));
    const std::wstring notLoaded = L"SLSettings service not loaded";
    const std::vector<std::pair<std::string, std::function<void()>>> nodeOperations = {
        {"IsValueExists", [&] { node.IsValueExists(L"v"); }},
        {"DeleteValue", [&] { node.DeleteValue(L"v"); }},
        {"DeleteChildNode", [&] { node.DeleteChildNode(L"c"); }},
        {"EnumerateChildNodes", [&] { node.EnumerateChildNodes(); }},
        {"EnumerateChildValues", [&] { node.EnumerateChildValues(); }},
        {"IsNodeExists", [&] { node.IsNodeExists(); }},
        {"DeleteNode", [&] { node.DeleteNode(); }},
        {"CreateNode", [&] { node.CreateNode(); }},
        {"ClearNode", [&] { node.ClearNode(); }},
    };
    for (const auto& [name, operation] : nodeOperations)
        ExpectFailure(operation, 2, kNodeFunction + name, notLoaded);

    const std::string value = "Settings::SLSettingValue::_Value";
    for (const auto& read : std::vector<std::function<void()>>{
             [&] { node.GetInt(L"v"); }, [&] { node.GetType2Value(L"v"); },
             [&] { node.GetBool(L"v"); }, [&] { node.GetString(L"v"); }})
        ExpectFailure(read, 0x2000D, value, notLoaded);
    for (const auto& write : std::vector<std::function<void()>>{
             [&] { node.SetInt(L"v", 1); }, [&] { node.SetType2Value(L"v", 1); },
             [&] { node.SetBool(L"v", true); }, [&] { node.SetString(L"v", L"x"); },
             [&] { node.SetType4Value(L"v", "x", 1); },
             [&] { node.SetType4Value64(L"v", "x", 1); }})
        ExpectFailure(write, 0x2000E, value, notLoaded);
    ExpectFailure([] { Settings::SLSettingValue(nullptr).CheckValueType(1, L"", L"v", 1); }, 2,
                  "Settings::SLSettingValue::CheckValueType", notLoaded);
}

TEST(SettingsProxy, ChildNodesArePathsAndDeletingOneStaysBelowTheNode) {
    Service::Install();
    Node base(1, L"Base");
    auto child =
        boost::dynamic_pointer_cast<Node>(base.GetChildNode(L"Options")->GetChildNode(L"Ink"));
    EXPECT_EQ(child->Path(), L"Base\\Options\\Ink");
    EXPECT_EQ(boost::dynamic_pointer_cast<Node>(Node(1, L"").GetChildNode(L"A"))->Path(), L"\\A");
    EXPECT_EQ(boost::dynamic_pointer_cast<Node>(base.GetOptionsNode())->Path(), L"Base\\Options");
    EXPECT_TRUE(Service::calls.empty()) << "composing paths asks the store nothing";

    base.DeleteChildNode(L"");
    ExpectFailure([&] { base.DeleteChildNode(L"A\\B"); }, 3, kNodeFunction + "DeleteChildNode",
                  L"Bad param");
    EXPECT_TRUE(Service::calls.empty());
    base.DeleteChildNode(L"Old");
    EXPECT_EQ(Service::calls, std::vector<std::string>{"128 Base\\Old "});

    Service::calls.clear();
    base.CreateNode(); // exists already
    Service::exists = 0;
    base.CreateNode();
    EXPECT_EQ(Service::calls, (std::vector<std::string>{"8 Base ", "8 Base ", "120 Base "}));
}

TEST(SettingsProxy, TypedValuesAskTheTypeButTheStoreDecides) {
    Service::Install();
    Node node(1, L"N");
    Service::type = Settings::kValueString; // a mismatch does not stop the read
    Service::integer = 0xFFFFEA3B;
    EXPECT_EQ(static_cast<uint32_t>(node.GetInt(L"v")), 0xFFFFEA3Bu);
    EXPECT_EQ(Service::calls, (std::vector<std::string>{"0 N v", "96 N v", "16 N v"}));

    Service::calls.clear();
    Service::text = std::wstring(L"a\0b", 3);
    EXPECT_EQ(node.GetString(L"s"), Service::text) << "exactly the reported length";
    EXPECT_EQ(Service::calls.size(), 4u) << "two type queries, then two reads of the text";

    Service::integer = 7;
    EXPECT_TRUE(node.GetBool(L"b"));
    node.SetBool(L"b", true);
    EXPECT_EQ(Service::integer, 1u);

    for (uint32_t passing : {1u, 10u}) {
        Service::result = passing;
        EXPECT_NO_THROW(node.SetInt(L"v", 5)) << passing;
    }
    Service::result = 2; // a failing type query is passed over; the read's failure is not
    ExpectFailure([&] { node.GetInt(L"v"); }, 2, "SLSettings::Op", L"the store says no");
}

TEST(SettingsProxy, OperationsTheServiceLacksReadAsNothing) {
    Service::Install({SettingsOps::GetInt::kPosition, SettingsOps::GetString::kPosition,
                      SettingsOps::EnumerateChildNodes::kPosition});
    Node node(1, L"N");
    Service::integer = 5;
    EXPECT_EQ(node.GetInt(L"v"), 0);
    EXPECT_FALSE(node.GetBool(L"v"));
    EXPECT_EQ(node.GetString(L"v"), L"");
    EXPECT_EQ(node.EnumerateChildNodes()->size(), 0);
}

TEST(SettingsProxy, ListsKeepTheirNamesInOrderAndNoNulls) {
    Service::Install();
    Node node(1, L"N");
    NameList::names = {L"a", nullptr, L"c"};
    for (int32_t count : {0, -1}) {
        NameList::count = count;
        EXPECT_EQ(node.EnumerateChildNodes()->size(), 0) << count;
    }
    NameList::count = 3;
    const boost::shared_ptr<INodesList> list = node.EnumerateChildNodes();
    ASSERT_EQ(list->size(), 2);
    EXPECT_EQ(list->name(0), L"a");
    EXPECT_EQ(list->name(1), L"c");
    ExpectFailure([&] { list->name(2); }, 9, "Settings::NodesList::name", L"out of range");
    ExpectFailure([&] { list->name(~0ull); }, 9, "Settings::NodesList::name", L"out of range");
}

// "Brand" without its settings path: no store node, and the next attempt
// asks the brand again.
struct Brand {
    static inline int asked = 0;
    static inline fwtest::FlatObject<BrandOps::kOperationCount> object{32};
    static uint32_t Path(ServiceObject*, const wchar_t** text) {
        *text = L"Brand\\Path";
        return 0;
    }
    static uint32_t Make(void*, ServiceObject** out) {
        ++asked;
        *out = object.get();
        return 0;
    }
};

TEST(SettingsProxy, ABrandWithoutASettingsPathIsAskedAgain) {
    Service::Install();
    ServiceProviderRegHostService("Brand", &Brand::Make, nullptr, "multiple");
    ExpectFailure([] { CreateOptionsStoreNode(); }, 2,
                  "BrandProxy::Raw::GetDefaultSettingsRelativePath",
                  L"DefaultSettingsRelativePath was not found in Brand service");
    Brand::object.object.header.interfaceTableSize = 48;
    Brand::object.Set<BrandOps::GetSettingsRelativePath>(&Brand::Path);
    const auto node =
        boost::dynamic_pointer_cast<usropts::SLUserSettingNode>(CreateOptionsStoreNode());
    EXPECT_EQ(boost::dynamic_pointer_cast<Node>(node->SettingsNode())->Path(), L"Brand\\Path");
    EXPECT_EQ(boost::dynamic_pointer_cast<Node>(node->SettingsNode())->RootId(), 1u);
    CreateOptionsStoreNode();
    EXPECT_EQ(Brand::asked, 2) << "the path is kept once it came";
}

} // namespace
