#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "platform/Platform.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObject.h"
#include "strpool.h"
#include "svcbroker.h"

namespace {

const char* const kModule = "plugins\\hostlibs-testmodule.dll";

struct Request {
    uint32_t code = 0;
    uint32_t systemError = 77;
    ServiceObject* object = nullptr;
};

Request Get(const char* name) {
    uint32_t atom = 0;
    SLGetAtomFromString(name, &atom);
    Request r;
    r.code = ServiceProviderGetServiceObject(atom, &r.object, &r.systemError);
    return r;
}

template <class... Objects> void Release(Objects*... objects) {
    (objects->common.Release(objects), ...);
}

// An export of a module in the test host tree (its file as built).
template <typename Function> Function ModuleExport(const char* file, const char* name) {
    uint32_t error = 0;
    auto module = Platform::LoadModule(file, &error, nullptr);
    return reinterpret_cast<Function>(Platform::FindSymbol(module, name));
}

uint32_t ModuleLiveObjects() {
    return ModuleExport<uint32_t (*)()>(HOSTLIBS_TEST_MODULE, "TestModuleLiveObjects")();
}

// Module paths are relative to the test host tree; no shared object is held.
class Broker : public testing::Test {
protected:
    void SetUp() override {
        ServiceProviderReleaseInstances();
        ServiceProviderSetHostFolder(HOSTLIBS_TEST_HOST_DIR);
    }
    void TearDown() override { ServiceProviderSetHostFolder(HOSTLIBS_BUILD_DIR); }
};

TEST(BrokerDefaults, HostFolderIsAboveTheLibraryAndItsManifestsAreRead) {
    EXPECT_TRUE(std::filesystem::equivalent(ServiceProviderGetHostFolder(), HOSTLIBS_BUILD_DIR));
    Request a = Get("hostlibs.manifest.single"), b = Get("hostlibs.manifest.single");
    ASSERT_EQ(a.code, SODetails::kOk);
    EXPECT_EQ(a.object, b.object);
    Release(a.object, b.object);

    EXPECT_EQ(Get("hostlibs.manifest.replaced").code, kSPModuleNotFound);
    ServiceProviderRegService("hostlibs.manifest.replaced", "Counter",
                              "hostlibs-host\\plugins\\hostlibs-testmodule.dll", "multiple", 0);
    Request replaced = Get("hostlibs.manifest.replaced");
    ASSERT_EQ(replaced.code, SODetails::kOk);
    Release(replaced.object);
}

TEST_F(Broker, SingleSharesOneObjectAndMultipleMakesNewOnes) {
    ServiceProviderRegService("hostlibs.single", "Counter", kModule, "single", 0);
    ServiceProviderRegService("hostlibs.multi", "Counter", kModule, "multiple", 0);
    Request a = Get("hostlibs.single"), b = Get("hostlibs.single");
    ASSERT_EQ(a.code, SODetails::kOk);
    EXPECT_EQ(a.systemError, 0u);
    EXPECT_EQ(a.object, b.object);
    EXPECT_EQ(a.object->common.GetRefCount(a.object), 3u) << "the broker's and two callers'";
    Request c = Get("hostlibs.multi"), d = Get("hostlibs.multi");
    EXPECT_NE(c.object, d.object);
    EXPECT_EQ(ModuleLiveObjects(), 3u);
    Release(a.object, b.object, c.object, d.object);
    EXPECT_EQ(ModuleLiveObjects(), 1u);
    ServiceProviderReleaseInstances();
    EXPECT_EQ(ModuleLiveObjects(), 0u);
    Release(Get("hostlibs.single").object);
    EXPECT_EQ(ServiceProviderUnregService("hostlibs.single", "Counter", kModule, "single"),
              SODetails::kOk);
    EXPECT_EQ(ModuleLiveObjects(), 0u) << "unregistering releases the held object";
    EXPECT_EQ(Get("hostlibs.single").code, kSPServiceNotSupported);
}

TEST_F(Broker, EveryFailureHasItsCode) {
    // The object asked of the module, the module's path, and the code.
    const std::tuple<const char*, const char*, uint32_t> cases[] = {
        {"Unknown", kModule, kSPServiceNotSupportedByModule},
        {"Failing", kModule, kSPFactoryFailed},
        {"Unpublished", kModule, kSPNoPublicObjects},
        {"Counter", "plugins\\missing.dll", kSPModuleNotFound},
        {"Counter", "..\\lib\\textcodec.dll", kSPFactoryFunctionNotFound},
    };
    for (const auto& [objectName, modulePath, code] : cases) {
        ServiceProviderRegService("hostlibs.failing", objectName, modulePath, "multiple", 0);
        Request r = Get("hostlibs.failing");
        EXPECT_EQ(r.code, code) << objectName << " " << modulePath;
        EXPECT_EQ(r.object, nullptr);
        EXPECT_EQ(r.systemError != 0, code == kSPModuleNotFound) << r.systemError;
    }
    EXPECT_EQ(Get("hostlibs.never.registered").code, kSPServiceNotSupported);
    uint32_t systemError = 77;
    EXPECT_EQ(ServiceProviderGetServiceObject(1, nullptr, &systemError), SODetails::kBadArgument);
    EXPECT_EQ(systemError, 0u);
    EXPECT_EQ(ServiceProviderRegService("x", "Counter", kModule, "sometimes", 0),
              SODetails::kBadArgument);
    EXPECT_EQ(ServiceProviderUnregService("hostlibs.failing", "Other", kModule, nullptr),
              kSPServiceNotSupported);
}

// Counts its calls. (That services the host registers come before the
// modules' is checked where the tool's tests put their own services in
// place.) The objects come from the test module, whose maker is
// looked up beforehand: a factory may run inside a module's initialisers,
// where loading another module would wait for the loader.
struct HostFactoryState {
    int calls = 0;
    ServiceObject* (*make)() = ModuleExport<ServiceObject* (*)()>(HOSTLIBS_TEST_MODULE,
                                                                  "TestModuleMakeCounter");
};

uint32_t HostFactory(void* context, ServiceObject** out) {
    auto* state = static_cast<HostFactoryState*>(context);
    ++state->calls;
    *out = state->make();
    return SODetails::kOk;
}

// The load-time module asks from its loading thread and from a thread of its
// own; not on Windows, where a DLL's initialisers run under the loader lock
// that a new thread needs before it can start.
#if defined(_WIN32)
constexpr int kLoadAsks = 1;
#else
constexpr int kLoadAsks = 2;
#endif

// Were the broker locked while a module loads or creates, the second thread
// these modules start would wait for ever.
TEST_F(Broker, ModulesMayCallBackWhileBeingLoadedOrCreating) {
    HostFactoryState factory;
    ServiceProviderRegHostService("hostlibs.hosted", HostFactory, &factory, "multiple");
    ServiceProviderRegService("hostlibs.loadtime", "Counter", "plugins\\hostlibs-loadtime.dll",
                              "multiple", 0);
    Request loaded = Get("hostlibs.loadtime");
    ASSERT_EQ(loaded.code, SODetails::kOk);
    Release(loaded.object);
    EXPECT_EQ(ModuleExport<uint32_t (*)()>(HOSTLIBS_LOADTIME_MODULE, "TestModuleLoadResult")(),
              SODetails::kOk);
    EXPECT_EQ(factory.calls, kLoadAsks);

    ServiceProviderRegService("hostlibs.nested", "Nested", kModule, "multiple", 0);
    ServiceProviderRegService("hostlibs.nested.inner", "Counter", kModule, "single", 0);
    Request nested = Get("hostlibs.nested");
    ASSERT_EQ(nested.code, SODetails::kOk);
    Release(nested.object);
}

} // namespace
