// The plug-in module as the host sees it: loaded by path, reached only
// through its exports. Loading is once per process and its effects stay, so
// each test needs a process of its own (CTest runs them so); in a process
// that already loaded the module a test skips itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "TestObjects.h"
#include "bl/BLService.h"
#include "platform/Platform.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/LocaleManagerInterface.h"
#include "service-common/NotificationService.h"
#include "service-common/PluginRecords.h"
#include "service-common/ServiceObjectCall.h"
#include "strpool.h"
#include "support-proxy/BrandInterface.h"
#include "svcbroker.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

struct Module {
    decltype(&::PluginMain) PluginMain = nullptr;
    uint32_t (*CreateServiceObject)(uint32_t, ServiceObject**) = nullptr;
    ReflectServiceObjectInfoFn ReflectServiceObjectInfo = nullptr;
    uint32_t (*Notifications[3])(void*, void*) = {};
};

bool gLoaded = false;

// Loads the module the way the host does; false when this process already
// did (the test then skips).
bool Load(Module* m) {
    if (gLoaded)
        return false;
    gLoaded = true;
    uint32_t error = 0;
    std::string reason;
    Platform::ModuleHandle handle =
        Platform::LoadModule(VELLUM_PLUGIN_DIR "/vellum-marker.so", &error, &reason);
    EXPECT_NE(handle, nullptr) << reason;
    auto find = [&](const char* name) {
        void* symbol = Platform::FindSymbol(handle, name);
        EXPECT_NE(symbol, nullptr) << name;
        return symbol;
    };
    m->PluginMain = reinterpret_cast<decltype(m->PluginMain)>(find("PluginMain"));
    m->CreateServiceObject =
        reinterpret_cast<decltype(m->CreateServiceObject)>(find("CreateServiceObject"));
    m->ReflectServiceObjectInfo =
        reinterpret_cast<decltype(m->ReflectServiceObjectInfo)>(find("ReflectServiceObjectInfo"));
    const char* notifications[] = {"ServiceObjectModuleInitialize", "ServiceObjectModuleOnCleanup",
                                   "ServiceObjectModuleOnFree"};
    for (int i = 0; i < 3; ++i)
        m->Notifications[i] = reinterpret_cast<uint32_t (*)(void*, void*)>(find(notifications[i]));
    return handle != nullptr;
}

#define LOAD_OR_SKIP(module)                                                                       \
    Module module;                                                                                 \
    if (!Load(&module))                                                                            \
        GTEST_SKIP() << "the module is already loaded in this process";                            \
    ASSERT_NE(module.PluginMain, nullptr)

SLAtom Atom(const char* name) {
    SLAtom atom = 0;
    SLGetAtomFromString(name, &atom);
    return atom;
}

ObjectPtr HostService(const char* name) {
    ObjectPtr service;
    uint32_t systemError = 0;
    EXPECT_EQ(ServiceProviderGetServiceObject(Atom(name), service.Receive(), &systemError), 0u);
    return service;
}

TEST(ModuleLoad, ServiceObjectEntries) {
    LOAD_OR_SKIP(m);
    const ServiceObjectInfo* table = nullptr;
    uint32_t count = 0;
    EXPECT_EQ(m.ReflectServiceObjectInfo(nullptr, &count), 3u);
    EXPECT_EQ(m.ReflectServiceObjectInfo(&table, nullptr), 3u);

    ASSERT_EQ(m.ReflectServiceObjectInfo(&table, &count), 0u);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(table[0].atom, 0xFFFFFFFFu);
    EXPECT_STREQ(table[0].name, "UIReviewMarkupGroupHandler");
    EXPECT_EQ(table[1].atom, 0xFFFFFFFFu);
    EXPECT_STREQ(table[1].name, "UIReviewFontGroupTextMarkupControlHandler");
    EXPECT_EQ(table[2].atom, 0u);
    EXPECT_EQ(table[2].reserved, 0u);
    EXPECT_EQ(table[2].name, nullptr);

    ServiceObject* const untouched = reinterpret_cast<ServiceObject*>(0x1234);
    ServiceObject* out = untouched;
    EXPECT_EQ(m.CreateServiceObject(0, &out), 3u);
    EXPECT_EQ(m.CreateServiceObject(Atom("UIReviewMarkupGroupHandler"), nullptr), 3u);
    EXPECT_EQ(m.CreateServiceObject(Atom("fwtest.NotInThisModule"), &out), 0x10005u);
    EXPECT_EQ(out, untouched);

    for (const char* name :
         {"UIReviewMarkupGroupHandler", "UIReviewFontGroupTextMarkupControlHandler"}) {
        ObjectPtr a, b;
        ASSERT_EQ(m.CreateServiceObject(Atom(name), a.Receive()), 0u) << name;
        ASSERT_EQ(m.CreateServiceObject(Atom(name), b.Receive()), 0u) << name;
        EXPECT_NE(a, b);
        EXPECT_EQ(a->common.GetRefCount(a.get()), 1u);
        EXPECT_STREQ(a->interfaceName, "UIHandler");
    }

    // The table was made once, before the atoms were resolved.
    const ServiceObjectInfo* again = nullptr;
    ASSERT_EQ(m.ReflectServiceObjectInfo(&again, &count), 0u);
    EXPECT_EQ(again, table);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(again[0].atom, 0xFFFFFFFFu);

    for (auto notification : m.Notifications)
        EXPECT_EQ(notification(nullptr, reinterpret_cast<void*>(1)), 0u);
}

// The host's side of PluginInitialize: its callbacks count their calls.
struct Host {
    static inline int hostApiCalls = 0;
    static inline int nameIdCalls = 0;
    static HostApi GetHostApi(uint32_t cookie) {
        EXPECT_EQ(cookie, 77u);
        ++hostApiCalls;
        return HostApi{&GetHandlerObject, nullptr, nullptr};
    }
    static uint32_t GetNameId(uint32_t, const char*, uint32_t* id) {
        ++nameIdCalls;
        *id = 1;
        return 0;
    }
    static uint32_t GetHandlerObject(uint32_t, uint32_t, uint32_t, ServiceObject**, uint32_t) {
        return 0; // no handler: nothing to place
    }

    PluginInitParams Params(PluginInterface* pluginInterface) {
        PluginInitParams params{};
        params.size = sizeof(PluginInitParams);
        params.cookie = 77;
        params.GetHostApi = &GetHostApi;
        params.GetNameId = &GetNameId;
        params.pluginInterface = pluginInterface;
        return params;
    }

    // Announces that the ribbon bar is ready; returns how many handler names
    // the plug-in asked for (two per live subscription).
    int PostRibbonReady() {
        ObjectPtr service = HostService("NotificationService");
        ObjectPtr notifier;
        SODetails::TryCall<NotificationServiceOps::GetNotifier>(service.get(), notifier.Receive());
        EXPECT_TRUE(notifier);
        const int before = nameIdCalls;
        bool flag = false;
        SODetails::TryCall<NotifierOps::Post>(notifier.get(),
                                              Atom("Notification_UIRIbbonBar_Initialized"),
                                              ribbonBar.get(), nullptr, &flag);
        return nameIdCalls - before;
    }

    fwtest::FlatObject<4> ribbonBar;
};

PluginHostInfo HostInfo(uint32_t version = kPluginInterfaceVersion) {
    PluginHostInfo in{};
    in.size = sizeof(PluginHostInfo);
    in.interfaceVersion = version;
    return in;
}

TEST(ModuleLoad, PluginInstanceLifecycle) {
    LOAD_OR_SKIP(m);
    Host host;
    PluginHostInfo in = HostInfo();
    PluginEntryInfo out{};
    EXPECT_EQ(m.PluginMain(nullptr, &out), 3u);
    EXPECT_EQ(m.PluginMain(&in, nullptr), 3u);
    in.size = 23;
    EXPECT_EQ(m.PluginMain(&in, &out), 6u);
    in.size = sizeof(PluginHostInfo);

    ASSERT_EQ(m.PluginMain(&in, &out), 0u);
    EXPECT_EQ(out.size, 24u);
    EXPECT_EQ(out.kind, 1u);
    EXPECT_EQ(out.version, 0x01000001u);
    EXPECT_EQ(out.interfaceVersion, 0x01000001u);
    ASSERT_NE(out.initialize, nullptr);
    const auto initialize = out.initialize;

    EXPECT_EQ(initialize(nullptr), 3u);
    PluginInterface pi{};
    pi.size = sizeof(PluginInterface);
    PluginInitParams params = host.Params(&pi);
    params.size = 47;
    EXPECT_EQ(initialize(&params), 6u);
    params = host.Params(nullptr);
    EXPECT_EQ(initialize(&params), 3u);

    // A short interface record is refused after the callbacks were taken.
    pi.size = 56;
    params = host.Params(&pi);
    const int hostApiCalls = Host::hostApiCalls;
    EXPECT_EQ(initialize(&params), 6u);
    EXPECT_EQ(Host::hostApiCalls, hostApiCalls + 1);
    EXPECT_EQ(pi.info, nullptr);
    EXPECT_EQ(host.PostRibbonReady(), 0);

    pi.size = sizeof(PluginInterface);
    ASSERT_EQ(initialize(&params), 0u);
    ASSERT_NE(pi.info, nullptr);
    EXPECT_EQ(pi.info->size, 32u);
    EXPECT_STREQ(pi.info->name, L"Text Markup Plugin");
    EXPECT_STREQ(pi.info->description, L"Text Markup Plugin allows you to markup a text.");
    const wchar_t* brandText = nullptr;
    SODetails::TryCall<BrandOps::GetLegalCopyright>(HostService("Brand").get(), &brandText);
    ASSERT_NE(brandText, nullptr);
    EXPECT_NE(std::wcsstr(pi.info->legalNotice, brandText), nullptr) << pi.info->legalNotice;
    for (PluginOperation op : {pi.checkAlive0, pi.checkAlive1, pi.checkAlive2})
        EXPECT_EQ(op(), 0u);
    EXPECT_EQ(host.PostRibbonReady(), 2);

    // A second PluginMain replaces the instance; the first one's
    // subscriptions end with it.
    ASSERT_EQ(m.PluginMain(&in, &out), 0u);
    EXPECT_EQ(host.PostRibbonReady(), 0);
    ASSERT_EQ(initialize(&params), 0u);
    EXPECT_EQ(host.PostRibbonReady(), 2);

    EXPECT_EQ(pi.destroyInstance(), 0u);
    EXPECT_EQ(host.PostRibbonReady(), 0);
    EXPECT_EQ(pi.checkAlive0(), 2u);
    EXPECT_EQ(pi.destroyInstance(), 2u);
    EXPECT_EQ(pi.registerObjects(), 2u);
    EXPECT_EQ(pi.unregisterObjects(), 2u);
    EXPECT_EQ(initialize(&params), 2u);

    // A wrong interface version is refused, but the new instance is in place.
    in = HostInfo(0x01000002);
    out = PluginEntryInfo{};
    EXPECT_EQ(m.PluginMain(&in, &out), 5u);
    EXPECT_EQ(out.initialize, nullptr);
    EXPECT_EQ(pi.checkAlive0(), 0u);
    pi.size = 56;
    EXPECT_EQ(initialize(&params), 6u);
    EXPECT_EQ(pi.destroyInstance(), 0u);
}

// A plug-in instance made and initialised the way the host does it.
struct StartedPlugin {
    explicit StartedPlugin(const Module& m) {
        PluginHostInfo in = HostInfo();
        ok = m.PluginMain(&in, &entry) == 0 && Initialize() == 0;
    }
    uint32_t Initialize() {
        pi.size = sizeof(PluginInterface);
        params = host.Params(&pi);
        return entry.initialize(&params);
    }
    Host host;
    PluginEntryInfo entry{};
    PluginInterface pi{};
    PluginInitParams params{};
    bool ok = false;
};

// What RegisterObjects publishes and UnregisterObjects takes back: the UI
// handlers with the service provider and the ribbon subscriptions; the tool
// stays registered with the business-logic service throughout.
TEST(ModuleLoad, UnregisterThenRegisterAgain) {
    LOAD_OR_SKIP(m);
    StartedPlugin started(m);
    ASSERT_TRUE(started.ok);
    PluginInterface& pi = started.pi;
    Host& host = started.host;

    auto handlerIsServed = [] {
        ObjectPtr handler;
        uint32_t systemError = 0;
        return ServiceProviderGetServiceObject(Atom("UIReviewMarkupGroupHandler"),
                                               handler.Receive(), &systemError) == 0;
    };
    auto toolCanBeMade = [] {
        ObjectPtr registry, tool;
        SODetails::TryCall<BLServiceOps::GetInputHandlerRegistry>(HostService("BLService").get(),
                                                                  registry.Receive());
        return registry &&
               SODetails::TryCall<BLInputHandlerRegistryOps::CreateToolHandler>(
                   registry.get(), Atom("AddTextMarkupAnnot"), tool.Receive()) == 0u &&
               tool;
    };

    EXPECT_FALSE(handlerIsServed());
    ASSERT_EQ(pi.registerObjects(), 0u);
    EXPECT_TRUE(handlerIsServed());
    EXPECT_TRUE(toolCanBeMade());
    EXPECT_EQ(host.PostRibbonReady(), 2);

    ASSERT_EQ(pi.unregisterObjects(), 0u);
    EXPECT_FALSE(handlerIsServed());
    EXPECT_EQ(host.PostRibbonReady(), 0); // the subscriptions ended
    EXPECT_TRUE(toolCanBeMade());

    ASSERT_EQ(pi.registerObjects(), 0u);
    EXPECT_TRUE(handlerIsServed());
    EXPECT_EQ(host.PostRibbonReady(), 0); // until PluginInitialize runs again
    ASSERT_EQ(started.Initialize(), 0u);
    EXPECT_EQ(host.PostRibbonReady(), 2);
    EXPECT_EQ(pi.unregisterObjects(), 0u);
    EXPECT_EQ(pi.destroyInstance(), 0u);
}

// The description goes through the host's LocaleManager.
TEST(ModuleLoad, DescriptionIsTranslated) {
    ASSERT_EQ(setenv("VELLUM_LANG", "de", 1), 0);
    LOAD_OR_SKIP(m);
    const wchar_t* english = L"Text Markup Plugin allows you to markup a text.";
    const wchar_t* translated = english;
    SODetails::TryCall<LocaleManagerOps::Translate>(HostService("LocaleManager").get(), &translated,
                                                    english);
    ASSERT_STRNE(translated, english) << "the host has no translation to compare with";

    StartedPlugin started(m);
    ASSERT_TRUE(started.ok);
    PluginInterface& pi = started.pi;
    EXPECT_STREQ(pi.info->description, translated);
    EXPECT_STREQ(pi.info->name, L"Text Markup Plugin");
    EXPECT_EQ(pi.destroyInstance(), 0u);
}

// A host whose "Brand" cannot give the legal text: loading must not end the
// process, and the plug-in refuses to start.
struct BrokenBrand {
    static inline fwtest::FlatObject<1> withoutLegalText; // an older, shorter table
    static uint32_t Make(void*, ServiceObject** out) {
        *out = withoutLegalText.get();
        return 0;
    }
    static uint32_t Fail(void*, ServiceObject**) { return 0x10006; }
};

void ExpectPluginRefusesToStart(HostServiceFactory brand) {
    ASSERT_EQ(ServiceProviderRegHostService("Brand", brand, nullptr, "single"), 0u);
    LOAD_OR_SKIP(m);
    PluginHostInfo in = HostInfo();
    PluginEntryInfo out{};
    EXPECT_NE(m.PluginMain(&in, &out), 0u);
    EXPECT_EQ(out.initialize, nullptr);
    // The service objects can still be made.
    ObjectPtr handler;
    EXPECT_EQ(m.CreateServiceObject(Atom("UIReviewMarkupGroupHandler"), handler.Receive()), 0u);
}

TEST(ModuleLoadFailure, BrandWithoutLegalText) {
    ExpectPluginRefusesToStart(&BrokenBrand::Make);
}

TEST(ModuleLoadFailure, BrandCannotBeMade) {
    ExpectPluginRefusesToStart(&BrokenBrand::Fail);
}

} // namespace
