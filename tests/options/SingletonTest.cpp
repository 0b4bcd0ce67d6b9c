// The process's one options tree in the host's singleton storage, over the
// host's own services (its "Brand" and its SQLite settings store).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "platform/Platform.h"
#include "strpool.h"
#include "support-proxy/SLSettingsNode.h"
#include "support-proxy/SLUserSettingNode.h"
#include "support-proxy/UserOptions.h"

namespace {

void ExpectRefusal(const char* message) {
    try {
        GetOptions();
        ADD_FAILURE() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

TEST(OptionsSingleton, IsMadeOnceUnderItsIdBoundToTheStoreButNotLoaded) {
    const testsupport::TempFolder folder;
    Platform::SetEnvironmentValue("VELLUM_SETTINGS", folder.Path("settings.sqlite3").c_str());
    Settings::SLSettingsNode<Settings::SLSettingsRoot> general(
        1, L"Vellum\\Vellum Editor\\Options\\General");
    general.SetInt(L"Last Color Highlight", 0x11223344);

    UsrOpt_Options& options = GetOptions();
    EXPECT_EQ(&GetOptions(), &options);
    void* block = nullptr;
    ASSERT_EQ(GetSingletonStaticData(0x6974704F, sizeof(UsrOpt_Options), &block), 0u);
    EXPECT_EQ(block, &options);

    EXPECT_EQ(options.General.LastColorHighlight.Get(), 0xFFFFEA3Bu) << "nothing loaded";
    const auto node = boost::dynamic_pointer_cast<usropts::SLUserSettingNode>(options.StoreNode());
    ASSERT_TRUE(node);
    EXPECT_EQ(boost::dynamic_pointer_cast<Settings::SLSettingsNode<Settings::SLSettingsRoot>>(
                  node->SettingsNode())
                  ->Path(),
              L"Vellum\\Vellum Editor\\Options");
    options.Load(nullptr);
    EXPECT_EQ(options.General.LastColorHighlight.Get(), 0x11223344u);
}

TEST(OptionsSingleton, IsGoneWithTheStorage) {
    const testsupport::TempFolder folder;
    Platform::SetEnvironmentValue("VELLUM_SETTINGS", folder.Path("settings.sqlite3").c_str());
    GetOptions().Ink.Opacity.Set(50);
    SLTeardownSingletonStaticData();
    ExpectRefusal("Fail to get atom singleton instance! Is is already destroyed!");
}

TEST(OptionsSingleton, ABlockOfAnotherSizeUnderItsIdIsRefused) {
    ASSERT_EQ(CreateSingletonStaticData(usropts::kOptionsStaticDataId, 8, nullptr, nullptr), 0u);
    ExpectRefusal("Fail to get atom singleton instance! Incorrect StaticDataID!");
}

} // namespace
