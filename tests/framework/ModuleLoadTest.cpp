// The plug-in module as the host sees it: loaded by path, reached only
// through its exports. Loading is once per process and its effects stay, so
// each test needs a process of its own (CTest runs them so); in a process
// that already loaded the module a test skips itself.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestObjects.h"
#include "bl/BLService.h"
#include "platform/Platform.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/LocaleManagerInterface.h"
#include "service-common/NotificationService.h"
#include "service-common/PluginRecords.h"
#include "service-common/ServiceObjectCall.h"
#include "support-proxy/BrandInterface.h"
#include "svcbroker.h"
#include "ui-engine/UIHandlerOps.h"
#include "ui/UIService.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
using SODetails::AtomFromString;
using SODetails::kBadArgument;
using SODetails::kOk;
using SODetails::TryCall;

// The module's entries, found by name the way the host finds them.
struct Module {
    Platform::ModuleHandle handle = nullptr;
    template <class Function> Function Entry(const char* name) const {
        return reinterpret_cast<Function>(Platform::FindSymbol(handle, name));
    }
    uint32_t PluginMain(const PluginHostInfo* in, PluginEntryInfo* out) const {
        return Entry<decltype(&::PluginMain)>("PluginMain")(in, out);
    }
    uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) const {
        return Entry<CreateServiceObjectFn>("CreateServiceObject")(atom, out);
    }
    uint32_t ReflectServiceObjectInfo(const ServiceObjectInfo** table, uint32_t* count) const {
        return Entry<ReflectServiceObjectInfoFn>("ReflectServiceObjectInfo")(table, count);
    }
    ObjectPtr Make(const char* name) const {
        ObjectPtr object;
        EXPECT_EQ(CreateServiceObject(AtomFromString(name), object.Receive()), kOk) << name;
        return object;
    }
};

// Loads the module the way the host does; a test skips itself in a process
// that already did.
bool gLoaded = false;
#define LOAD_OR_SKIP(m)                                                                            \
    if (std::exchange(gLoaded, true))                                                              \
        GTEST_SKIP() << "the module is already loaded in this process";                            \
    Module m;                                                                                      \
    std::string reason;                                                                            \
    uint32_t error = 0;                                                                            \
    m.handle = Platform::LoadModule(VELLUM_HOST_DIR "/" +                                          \
                                        Platform::NativeModuleName("plugins\\vellum-marker.dll"),  \
                                    &error, &reason);                                              \
    ASSERT_NE(m.handle, nullptr) << reason

// The service the provider gives for `name`; empty when it gives none.
ObjectPtr HostService(const char* name) {
    ObjectPtr service;
    uint32_t systemError = 0;
    ServiceProviderGetServiceObject(AtomFromString(name), service.Receive(), &systemError);
    return service;
}

TEST(ModuleLoad, ServiceObjectEntries) {
    LOAD_OR_SKIP(m);
    const ServiceObjectInfo* table = nullptr;
    uint32_t count = 0;
    EXPECT_EQ(m.ReflectServiceObjectInfo(nullptr, &count), kBadArgument);
    EXPECT_EQ(m.ReflectServiceObjectInfo(&table, nullptr), kBadArgument);

    // The table is ended by an empty entry; each name it lists can be made.
    ASSERT_EQ(m.ReflectServiceObjectInfo(&table, &count), kOk);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(table[2].name, nullptr);

    ServiceObject* const untouched = reinterpret_cast<ServiceObject*>(0x1234);
    ServiceObject* out = untouched;
    EXPECT_EQ(m.CreateServiceObject(0, &out), kBadArgument);
    EXPECT_EQ(m.CreateServiceObject(AtomFromString("UIReviewMarkupGroupHandler"), nullptr),
              kBadArgument);
    EXPECT_EQ(m.CreateServiceObject(AtomFromString("fwtest.NotInThisModule"), &out),
              kSPServiceNotSupportedByModule);
    EXPECT_EQ(out, untouched);

    // The UI action is made by its name's atom too, though the table does
    // not list it.
    const std::pair<const char*, const char*> made[] = {
        {table[0].name, "UIHandler"},
        {table[1].name, "UIHandler"},
        {"UiAction_AddTextMarkupAnnotation", "UIAction"}};
    for (const auto& [name, interfaceName] : made) {
        const ObjectPtr a = m.Make(name), b = m.Make(name);
        ASSERT_TRUE(a && b);
        EXPECT_NE(a, b);
        EXPECT_EQ(a->common.GetRefCount(a.get()), 1u);
        EXPECT_STREQ(a->interfaceName, interfaceName);
    }

    // The table was made once, before the atoms were resolved.
    const ServiceObjectInfo* again = nullptr;
    ASSERT_EQ(m.ReflectServiceObjectInfo(&again, &count), kOk);
    EXPECT_EQ(again, table);
    EXPECT_EQ(again[0].atom, SODetails::kUnresolvedAtom);

    for (const char* name : {"ServiceObjectModuleInitialize", "ServiceObjectModuleOnCleanup",
                             "ServiceObjectModuleOnFree"})
        EXPECT_EQ(m.Entry<uint32_t (*)(void*, void*)>(name)(nullptr, reinterpret_cast<void*>(1)),
                  kOk);
}

// The ribbon bar as the plug-in meets it: groups take handlers, and a group
// may hold a handler of the user's own.
struct RibbonBar {
    // Each handler placed: the group, the handler's name, whether it replaced one.
    using Placements = std::vector<std::tuple<std::wstring, std::string, bool>>;
    Placements placements;
    std::set<std::wstring> customGroups;

    static constexpr const char* kName = "UIRibbonBar";
    static constexpr std::size_t kOperationCount = RibbonBarOps::kOperationCount;
    using Object = SODetails::ServiceObjectCppTheConcrete<RibbonBar, RibbonBar>;
    template <bool Replaced>
    static uint32_t Put(ServiceObject* self, const wchar_t* group, ServiceObject* handler) {
        const char* name = nullptr;
        TryCall<UIHandlerOps::GetHandlerName>(handler, &name);
        Object::ImplOf(self).placements.emplace_back(group, name ? name : "?", Replaced);
        return kOk;
    }
    static uint32_t HasCustom(ServiceObject* self, const wchar_t* group, bool* flag) {
        *flag = Object::ImplOf(self).customGroups.count(group) != 0;
        return kOk;
    }
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<RibbonBarOps::Place>(ops, &Put<false>);
        SODetails::SetOperation<RibbonBarOps::Replace>(ops, &Put<true>);
        SODetails::SetOperation<RibbonBarOps::HasCustomHandler>(ops, &HasCustom);
    }
};

// The host's side of PluginInitialize: handler names get ids in the order
// they are asked for, and handler objects come from the service provider.
struct Host {
    static inline int hostApiCalls = 0;
    static inline std::vector<std::string> names;
    static inline std::vector<uint32_t> slots;
    static HostApi GetHostApi(uint32_t cookie) {
        EXPECT_EQ(cookie, 77u);
        ++hostApiCalls;
        return HostApi{&GetHandlerObject, nullptr, nullptr};
    }
    static uint32_t GetNameId(uint32_t, const char* name, uint32_t* id) {
        *id = static_cast<uint32_t>(names.size());
        names.push_back(name);
        return kOk;
    }
    static uint32_t GetHandlerObject(uint32_t, uint32_t kind, uint32_t id, ServiceObject** out,
                                     uint32_t slot) {
        EXPECT_EQ(kind, kHandlerObjectKind);
        slots.push_back(slot);
        uint32_t systemError = 0;
        return ServiceProviderGetServiceObject(AtomFromString(names.at(id).c_str()), out,
                                               &systemError);
    }

    static PluginInitParams Params(PluginInterface* pluginInterface) {
        return {sizeof(PluginInitParams), {}, 77, 0, &GetHostApi, &GetNameId, pluginInterface};
    }

    // Posts a ribbon notification (by default, that the ribbon bar is ready);
    // returns how many handler names the plug-in asked for (two per live
    // subscription when the ribbon is ready).
    static constexpr const char* kReady = "Notification_UIRIbbonBar_Initialized";
    static inline fwtest::FlatObject<4> ribbonBar;
    static std::size_t Post(const char* notification = kReady,
                            ServiceObject* source = ribbonBar.get()) {
        ObjectPtr notifier = SODetails::GetGlobalNotifier();
        EXPECT_TRUE(notifier);
        const std::size_t before = names.size();
        bool flag = false;
        TryCall<NotifierOps::Post>(notifier.get(), AtomFromString(notification), source, nullptr,
                                   &flag);
        return names.size() - before;
    }
};

PluginHostInfo HostInfo(uint32_t version = kPluginInterfaceVersion) {
    return {sizeof(PluginHostInfo), 0, version, 0, 0};
}

TEST(ModuleLoad, PluginInstanceLifecycle) {
    LOAD_OR_SKIP(m);
    PluginHostInfo in = HostInfo();
    PluginEntryInfo out{};
    ASSERT_EQ(m.PluginMain(&in, &out), kOk);
    EXPECT_EQ(out.interfaceVersion, kPluginInterfaceVersion);
    ASSERT_NE(out.initialize, nullptr);
    const auto initialize = out.initialize;

    // Records that do not fit are refused with the code of their fault. The
    // host's callbacks are taken before the interface record is looked at.
    PluginInterface pi{}, shortInterface{};
    pi.size = sizeof(PluginInterface);
    shortInterface.size = 56;
    PluginHostInfo shortInfo{23, 0, kPluginInterfaceVersion, 0, 0};
    PluginInitParams shortParams = Host::Params(&pi), noInterface = Host::Params(nullptr),
                     toShortInterface = Host::Params(&shortInterface);
    shortParams.size = 47;
    EXPECT_EQ(m.PluginMain(nullptr, &out), kBadArgument);
    EXPECT_EQ(m.PluginMain(&in, nullptr), kBadArgument);
    EXPECT_EQ(m.PluginMain(&shortInfo, &out), SODetails::kBadRecordSize);
    const int hostApiCalls = Host::hostApiCalls;
    EXPECT_EQ(initialize(nullptr), kBadArgument);
    EXPECT_EQ(initialize(&shortParams), SODetails::kBadRecordSize);
    EXPECT_EQ(initialize(&noInterface), kBadArgument);
    EXPECT_EQ(initialize(&toShortInterface), SODetails::kBadRecordSize);
    EXPECT_EQ(Host::hostApiCalls, hostApiCalls + 2);
    EXPECT_EQ(shortInterface.info, nullptr);
    EXPECT_EQ(Host::Post(), 0u);

    PluginInitParams params = Host::Params(&pi);
    ASSERT_EQ(initialize(&params), kOk);
    ASSERT_NE(pi.info, nullptr);
    EXPECT_STREQ(pi.info->name, L"Text Markup Plugin");
    EXPECT_STREQ(pi.info->description, L"Text Markup Plugin allows you to markup a text.");
    const wchar_t* brandText = nullptr;
    TryCall<BrandOps::GetLegalCopyright>(HostService("Brand").get(), &brandText);
    ASSERT_NE(brandText, nullptr);
    EXPECT_NE(std::wcsstr(pi.info->legalNotice, brandText), nullptr) << pi.info->legalNotice;
    for (PluginOperation op : {pi.checkAlive0, pi.checkAlive1, pi.checkAlive2})
        EXPECT_EQ(op(), kOk);
    EXPECT_EQ(Host::Post(), 2u);

    // A second PluginMain replaces the instance; the first one's
    // subscriptions end with it.
    ASSERT_EQ(m.PluginMain(&in, &out), kOk);
    EXPECT_EQ(Host::Post(), 0u);
    ASSERT_EQ(initialize(&params), kOk);
    EXPECT_EQ(Host::Post(), 2u);

    EXPECT_EQ(pi.destroyInstance(), kOk);
    EXPECT_EQ(Host::Post(), 0u);
    for (PluginOperation op :
         {pi.checkAlive0, pi.destroyInstance, pi.registerObjects, pi.unregisterObjects})
        EXPECT_EQ(op(), SODetails::kNotAvailable);
    EXPECT_EQ(initialize(&params), SODetails::kNotAvailable);

    // A wrong interface version is refused, but the new instance is in place.
    in = HostInfo(0x01000002);
    out = PluginEntryInfo{};
    EXPECT_EQ(m.PluginMain(&in, &out), SODetails::kVersionMismatch);
    EXPECT_EQ(out.initialize, nullptr);
    EXPECT_EQ(pi.checkAlive0(), kOk);
    EXPECT_EQ(initialize(&toShortInterface), SODetails::kBadRecordSize);
    EXPECT_EQ(pi.destroyInstance(), kOk);
}

// A plug-in instance made and initialised the way the host does it.
struct StartedPlugin {
    explicit StartedPlugin(const Module& m) {
        PluginHostInfo in = HostInfo();
        ok = m.PluginMain(&in, &entry) == kOk && Initialize() == kOk;
    }
    uint32_t Initialize() {
        pi.size = sizeof(PluginInterface);
        params = Host::Params(&pi);
        return entry.initialize(&params);
    }
    PluginEntryInfo entry{};
    PluginInterface pi{};
    PluginInitParams params{};
    bool ok = false;
};

// What RegisterObjects publishes and UnregisterObjects takes back: the UI
// handlers with the service provider and the ribbon subscriptions; the tool
// stays registered with the business-logic service throughout. Registered,
// the plug-in fills the ribbon with its handlers.
TEST(ModuleLoad, RegistrationAndTheRibbon) {
    LOAD_OR_SKIP(m);
    StartedPlugin started(m);
    ASSERT_TRUE(started.ok);
    PluginInterface& pi = started.pi;

    auto handlerIsServed = [] { return bool(HostService("UIReviewMarkupGroupHandler")); };
    auto toolCanBeMade = [] {
        ObjectPtr registry, tool;
        TryCall<BLServiceOps::GetInputHandlerRegistry>(HostService("BLService").get(),
                                                       registry.Receive());
        return TryCall<BLInputHandlerRegistryOps::CreateToolHandler>(
                   registry.get(), AtomFromString("AddTextMarkupAnnot"), tool.Receive()) == kOk &&
               tool;
    };

    // The UI action is announced to "UIService" at every registration, and
    // registering it again keeps one entry. A host without "UIService" (the
    // Windows build has no UI objects) sees the rest registered all the same.
    const int announced = HostService("UIService") ? 1 : 0;
    auto actionAnnouncements = [] {
        ObjectPtr registry;
        TryCall<UIServiceOps::GetUIActionRegistry>(HostService("UIService").get(),
                                                   registry.Receive());
        int found = 0;
        SLAtom action = 0;
        for (uint64_t i = 0;
             TryCall<UIActionRegistryOps::GetAction>(registry.get(), i, &action, nullptr) == kOk;
             ++i)
            found += action == AtomFromString("UiAction_AddTextMarkupAnnotation");
        return found;
    };

    EXPECT_FALSE(handlerIsServed());
    EXPECT_EQ(actionAnnouncements(), 0);
    ASSERT_EQ(pi.registerObjects(), kOk);
    EXPECT_TRUE(handlerIsServed());
    EXPECT_TRUE(toolCanBeMade());
    EXPECT_EQ(actionAnnouncements(), announced);
    EXPECT_EQ(Host::Post(), 2u);

    ASSERT_EQ(pi.unregisterObjects(), kOk);
    EXPECT_FALSE(handlerIsServed());
    EXPECT_EQ(Host::Post(), 0u); // the subscriptions ended
    EXPECT_TRUE(toolCanBeMade());

    EXPECT_EQ(actionAnnouncements(), announced); // it stays announced
    ASSERT_EQ(pi.registerObjects(), kOk);
    EXPECT_TRUE(handlerIsServed());
    EXPECT_EQ(actionAnnouncements(), announced);
    EXPECT_EQ(Host::Post(), 0u); // until PluginInitialize runs again
    ASSERT_EQ(started.Initialize(), kOk);
    EXPECT_EQ(Host::Post(), 2u);

    // The ribbon's two notifications put the plug-in's real handlers into its
    // groups: when it is ready, the handlers the host makes for the plug-in's
    // names; when a panel was customised, into the groups that hold a handler
    // of the user's, the markup group's from the host and a font group
    // handler of its own.
    const ObjectPtr ribbon = ObjectPtr::Adopt(RibbonBar::Object::New());
    RibbonBar& bar = RibbonBar::Object::ImplOf(ribbon.get());
    auto placements = [&] { return std::exchange(bar.placements, {}); };
    Host::slots.clear();
    EXPECT_EQ(Host::Post(Host::kReady, ribbon.get()), 2u);
    EXPECT_EQ(placements(),
              (RibbonBar::Placements{{L"Markup", "class MarkupGroupHandler", false},
                                     {L"Font", "class FontGroupTextMarkupControlHandler", false}}));
    EXPECT_EQ(Host::slots, (std::vector<uint32_t>{2, 9}));

    const char* const kCustomised = "Notification_UIRIbbonBar_CustomPanel_Changed";
    Host::Post(kCustomised, ribbon.get());
    EXPECT_TRUE(placements().empty()); // no group holds a handler of the user's
    bar.customGroups = {L"Markup", L"Font"};
    Host::slots.clear();
    EXPECT_EQ(Host::Post(kCustomised, ribbon.get()), 1u);
    EXPECT_EQ(placements(),
              (RibbonBar::Placements{{L"Markup", "class MarkupGroupHandler", true},
                                     {L"Font", "class FontGroupTextMarkupControlHandler", true}}));
    EXPECT_EQ(Host::slots, (std::vector<uint32_t>{2}));
    Host::Post(kCustomised, nullptr);
    Host::Post(Host::kReady, nullptr);
    EXPECT_TRUE(placements().empty()); // no ribbon bar, nothing to place into
    EXPECT_EQ(pi.unregisterObjects(), kOk);
    EXPECT_EQ(pi.destroyInstance(), kOk);
}

// The description goes through the host's LocaleManager.
TEST(ModuleLoad, DescriptionIsTranslated) {
    ASSERT_TRUE(Platform::SetEnvironmentValue("VELLUM_LANG", "de"));
    LOAD_OR_SKIP(m);
    const wchar_t* english = L"Text Markup Plugin allows you to markup a text.";
    const wchar_t* translated = english;
    TryCall<LocaleManagerOps::Translate>(HostService("LocaleManager").get(), &translated, english);
    ASSERT_STRNE(translated, english) << "the host has no translation to compare with";

    StartedPlugin started(m);
    ASSERT_TRUE(started.ok);
    EXPECT_STREQ(started.pi.info->description, translated);
    EXPECT_EQ(started.pi.destroyInstance(), kOk);
}

// A host whose "Brand" cannot give the legal text: loading must not end the
// process, and the plug-in refuses to start; its service objects can still
// be made.
struct BrokenBrand {
    static inline fwtest::FlatObject<1> withoutLegalText; // an older, shorter table
    static uint32_t Make(void*, ServiceObject** out) {
        *out = withoutLegalText.get();
        return kOk;
    }
    static uint32_t Fail(void*, ServiceObject**) { return kSPFactoryFailed; }
};

class ModuleLoadFailure : public testing::TestWithParam<HostServiceFactory> {};

TEST_P(ModuleLoadFailure, PluginRefusesToStart) {
    ASSERT_EQ(ServiceProviderRegHostService("Brand", GetParam(), nullptr, "single"), kOk);
    LOAD_OR_SKIP(m);
    PluginHostInfo in = HostInfo();
    PluginEntryInfo out{};
    EXPECT_NE(m.PluginMain(&in, &out), kOk);
    EXPECT_EQ(out.initialize, nullptr);
    EXPECT_TRUE(m.Make("UIReviewMarkupGroupHandler"));
}

INSTANTIATE_TEST_SUITE_P(Brand, ModuleLoadFailure,
                         testing::Values(&BrokenBrand::Make, &BrokenBrand::Fail),
                         [](const auto& info) {
                             return info.index == 0 ? "WithoutLegalText" : "CannotBeMade";
                         });

} // namespace
