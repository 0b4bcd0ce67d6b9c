// The options tree built from the schema, over a settings store in memory.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <memory>
#include <set>
#include <string>

#include "OptionsTestSupport.h"
#include "support-proxy/SLUserSettingNode.h"
#include "support-proxy/UserOptions.h"

namespace {

const std::wstring kGeneral = L"Base\\Options\\General";

class OptionsTree : public testing::Test {
protected:
    void SetUp() override { tree->Build(StoreNode(), nullptr); }

    usropts::UserSettingNodePtr StoreNode() {
        return boost::make_shared<usropts::SLUserSettingNode>(
            boost::make_shared<optest::MemoryNode>(store, L"Base"));
    }

    std::shared_ptr<optest::MemoryStore> store = std::make_shared<optest::MemoryStore>();
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

// (How many values the schema has is checked by `vellum options list`.)
TEST_F(OptionsTree, BuildsEveryValueUnderItsOwnPathWithoutTouchingTheStore) {
    std::set<std::wstring> paths;
    int duplicates = 0;
    CollectPaths(*tree, paths, duplicates);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(tree->GetPath(), L"Options");
    EXPECT_EQ(tree->MetaData.Version.GetPath(), L"Options/MetaData/Version");
    for (const std::wstring path :
         {L"Options/Spelling/Preferable spelling engine ( 0 - windows, 1 - hunspell)",
          L"Options/Measurement/Use Scale and Units from document (when present)",
          L"Options/Print/Use actual dimentions for Paper Size",
          L"Options/General/Autoopen extracted document",
          L"Options/TESS OCR/Image pre-processing parameters/Orientation and Script Detection"})
        EXPECT_EQ(paths.count(path), 1u) << std::string(path.begin(), path.end());

    EXPECT_TRUE(tree->IsDefault());
    EXPECT_EQ(store->writes, 0) << "building reads and writes nothing";
    EXPECT_TRUE(store->ints.empty() && store->texts.empty());
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
    EXPECT_EQ(store->writes, 5 + 521);
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

TEST_F(OptionsTree, SetReportsOnlyRealChangesButAlwaysWrites) {
    std::vector<optest::TrackedChange>& changes = optest::TrackChanges();
    tree->General.LastColorUnderline.Set(0xFF44DC5E);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(store->writes, 1);

    tree->General.LastColorUnderline.Set(0xFF000000);
    tree->Ink.Opacity.Set(50);
    tree->General.LastColorHighlight.Set(0x0000EA3B);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].path, L"Options/General/Last Color Underline");
    EXPECT_EQ(changes[0].oldText, L"FF44DC5E");
    EXPECT_EQ(changes[0].newText, L"FF000000");
    EXPECT_EQ(changes[1].path, L"Options/Ink/Opacity");
    EXPECT_EQ(changes[1].oldText, L"100");
    EXPECT_EQ(changes[1].newText, L"50");
    EXPECT_EQ(changes[2].newText, L"EA3B") << "no padding";
    EXPECT_EQ(store->writes, 4);
}

TEST_F(OptionsTree, TrackingNeitherThereNorWorkingStopsASet) {
    tree->Ink.Opacity.Set(40);
    optest::TrackChanges(2); // fails every report
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

} // namespace
