// The services: found through the provider by the fixed atoms and the
// manifest, the input-handler registry, the cursor and the author.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "bl/BLService.h"
#include "bl/GraphicsFactory.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"
#include "strpool.h"
#include "svcbroker.h"

// The service-module entry of the library under test.
extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using HostBL::ObjectPtr;
using SODetails::CallChecked;
using SODetails::TryCall;

SLAtom Atom(const char* name) {
    SLAtom atom = 0;
    SLGetAtomFromString(name, &atom);
    return atom;
}

ObjectPtr FromProvider(SLAtom atom) {
    ObjectPtr object;
    uint32_t systemError = 0;
    EXPECT_EQ(ServiceProviderGetServiceObject(atom, object.Receive(), &systemError), 0u);
    return object;
}

TEST(ServicesTest, ProviderMakesTheServicesFromTheManifest) {
    {
        ObjectPtr service = FromProvider(BLServiceOps::kFixedAtom);
        ObjectPtr factory = FromProvider(GRFactoryOps::kFixedAtom);
        ObjectPtr author = FromProvider(Atom("BLAuthor"));
        ASSERT_TRUE(service && factory && author);
        EXPECT_STREQ(service->interfaceName, "BLService");
        EXPECT_STREQ(factory->interfaceName, "GraphicsFactory");
        EXPECT_STREQ(author->interfaceName, "BLAuthor");
        EXPECT_EQ(FromProvider(BLServiceOps::kFixedAtom), service); // one shared instance
    }
    ServiceProviderReleaseInstances();

    EXPECT_FALSE(HostBL::NewService("UIService"));
    ServiceObject* out = nullptr;
    EXPECT_EQ(CreateServiceObject(Atom("UIService"), &out), 0x10005u);
    EXPECT_EQ(CreateServiceObject(Atom("BLAuthor"), nullptr), 3u);
    EXPECT_EQ(out, nullptr);
}

// A factory whose tools are bare "BLInputHandler" objects.
struct Tool {};
struct ToolInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<ToolInterface, Tool>;
    static constexpr const char* kName = "BLInputHandler";
    static constexpr std::size_t kOperationCount = 9;
    static void FillOperations(SODetails::Operation*) {}
};
struct ToolFactory {};
struct ToolFactoryInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<ToolFactoryInterface, ToolFactory>;
    static constexpr const char* kName = "BLInputHandlerFactory";
    static constexpr std::size_t kOperationCount = 1;
    static uint32_t Create(ServiceObject*, ServiceObject** out) {
        *out = ToolInterface::Object::New();
        return 0;
    }
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<SODetails::OperationSlot<0, uint32_t(ServiceObject**)>>(ops,
                                                                                        &Create);
    }
};

TEST(ServicesTest, RegistryMakesToolsByNameAndCursorRemembers) {
    ObjectPtr service = HostBL::NewService("BLService");
    ObjectPtr registry, cursor;
    CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(), registry.Receive());
    CallChecked<BLServiceOps::GetCursor>(service.get(), cursor.Receive());

    ObjectPtr factory = ObjectPtr::Adopt(ToolFactoryInterface::Object::New());
    CallChecked<BLInputHandlerRegistryOps::Register>(registry.get(), Atom("Marker"), factory.get());
    EXPECT_EQ(factory->common.GetRefCount(factory.get()), 2u);

    ObjectPtr first, second;
    CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(registry.get(), Atom("Marker"),
                                                              first.Receive());
    CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(registry.get(), Atom("Marker"),
                                                              second.Receive());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_STREQ(first->interfaceName, "BLInputHandler");

    ObjectPtr none;
    try {
        CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(
            registry.get(), Atom("NoSuchTool"), none.Receive());
        FAIL() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), 2u);
        EXPECT_EQ(e.Message(), L"BLInputHandlerRegistry::CreateToolHandler() failed, code: 2");
    }
    EXPECT_FALSE(none);

    CallChecked<BLCursorOps::SetCursor>(cursor.get(), BLCursorOps::kCursorOverText);
    EXPECT_EQ(HostBL::LastCursor(), 4u);
    CallChecked<BLCursorOps::SetCursor>(cursor.get(), BLCursorOps::kCursorElsewhere);
    EXPECT_EQ(HostBL::LastCursor(), 5u);

    service.Reset();
    registry.Reset(); // the registry lets go of the factory
    EXPECT_EQ(factory->common.GetRefCount(factory.get()), 1u);
}

TEST(ServicesTest, AuthorComesFromTheEnvironment) {
    ObjectPtr author = HostBL::NewService("BLAuthor");
    setenv("VELLUM_AUTHOR", "Ada Reviewer", 1);
    const wchar_t* name = nullptr;
    CallChecked<BLAuthorOps::GetAuthor>(author.get(), &name);
    unsetenv("VELLUM_AUTHOR");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::wstring(name), L"Ada Reviewer");
}

} // namespace
