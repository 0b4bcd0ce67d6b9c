// Translating through the host's LocaleManager and writing to its logger.
// Both keep process-wide state, so each test runs in a process of its own,
// without the plug-in's objects (whose loading would ask for the service).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "TestObjects.h"
#include "service-common/LocaleManagerInterface.h"
#include "service-common/Localize.h"
#include "service-common/Log.h"
#include "svcbroker.h"

namespace {

// The host's "LocaleManager", whose factory fails while `failure` is set.
struct LocaleManager {
    static inline int requests = 0;
    static inline uint32_t failure = kSPFactoryFailed;
    static constexpr const char* kName = "LocaleManager";
    static constexpr std::size_t kOperationCount = LocaleManagerOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<LocaleManagerOps::Translate>(ops, &Translate);
    }
    static uint32_t Translate(ServiceObject*, const wchar_t** text, const wchar_t* source) {
        *text = std::wstring(source) == L"Highlight" ? L"Hervorheben" : *text;
        return SODetails::kOk;
    }
    static uint32_t Make(void*, ServiceObject** out) {
        ++requests;
        if (failure)
            return failure;
        *out = SODetails::ServiceObjectCppTheConcrete<LocaleManager, fwtest::Probe>::New();
        return SODetails::kOk;
    }
};

TEST(Localize, WithoutTheServiceTextsStayAndTheProviderIsNotAskedAgain) {
    ASSERT_EQ(
        ServiceProviderRegHostService("LocaleManager", &LocaleManager::Make, nullptr, "multiple"),
        SODetails::kOk);
    EXPECT_EQ(Localize(L"Highlight"), L"Highlight");
    EXPECT_EQ(Localize(L"Highlight"), L"Highlight");
    EXPECT_EQ(LocaleManager::requests, 1);

    // Asked again only when told to; now the service is there.
    LocaleManagerHolder& holder = LocaleManagerHolder::Instance();
    LocaleManager::failure = 0;
    holder.state = LocaleManagerHolder::kAskAgain;
    EXPECT_EQ(Localize(L"Highlight"), L"Hervorheben");
    EXPECT_EQ(Localize(L"Underline"), L"Underline"); // no translation
    EXPECT_EQ(LocaleManager::requests, 2);

    // Asking again replaces the held service; the old one is released.
    ServiceObject* previous = holder.service;
    ASSERT_NE(previous, nullptr);
    previous->common.AddRef(previous);
    holder.state = LocaleManagerHolder::kAskAgain;
    EXPECT_EQ(Localize(L"Highlight"), L"Hervorheben");
    EXPECT_NE(holder.service, previous);
    EXPECT_EQ(previous->common.Release(previous), 0u);
}

TEST(Log, SilentUntilTheHostHasLoadedItsLogger) {
    ASSERT_EQ(Platform::FindLoadedModule(L"journal.dll"), nullptr);
    EXPECT_NO_THROW(Log(L"before the logger", 2, "a\\file", 1, "void f()"));

    uint32_t error = 0;
    std::string reason;
    Platform::ModuleHandle journal = Platform::LoadModule(JOURNAL_MODULE, &error, &reason);
    ASSERT_NE(journal, nullptr) << reason;
    auto setSink = reinterpret_cast<uint32_t (*)(const char*)>(
        Platform::FindSymbol(journal, "JournalSetSinkFile"));
    ASSERT_NE(setSink, nullptr);
    const std::string path = testing::TempDir() + "framework-log-test.log";
    std::remove(path.c_str());
    ASSERT_EQ(setSink(path.c_str()), SODetails::kOk);

    Log(L"markup failed", 2, "app\\src\\vellum-marker\\markup", 42, "void Markup()");
    setSink(nullptr);

    std::ifstream in(path);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    for (const char* part :
         {"markup failed", "severity 2", "app\\src\\vellum-marker\\markup:42", "void Markup()"})
        EXPECT_NE(written.find(part), std::string::npos) << part << " in " << written;
    EXPECT_EQ(written.find("before the logger"), std::string::npos) << written;
    std::remove(path.c_str());
}

} // namespace
