// The services: found through the provider by the fixed atoms and the
// manifest, the input-handler registry and the cursor. (The author, from
// the environment, is checked in the annotations the plug-in makes.)
#include <gtest/gtest.h>

#include <string>

#include "HostBLProbes.h"
#include "bl/BLInputHandler.h"
#include "bl/BLService.h"
#include "bl/GraphicsFactory.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"
#include "svcbroker.h"

// The service-module entry of the library under test.
extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using HostBL::ObjectPtr;
using SODetails::AtomFromString;
using SODetails::CallChecked;
using SODetails::TryCall;

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
        ObjectPtr author = FromProvider(AtomFromString("BLAuthor"));
        ASSERT_TRUE(service && factory && author);
        EXPECT_STREQ(service->interfaceName, "BLService");
        EXPECT_STREQ(factory->interfaceName, "GraphicsFactory");
        EXPECT_STREQ(author->interfaceName, "BLAuthor");
        EXPECT_EQ(FromProvider(BLServiceOps::kFixedAtom), service); // one shared instance
    }
    ServiceProviderReleaseInstances();

    EXPECT_FALSE(HostBL::NewService("UIService"));
    ServiceObject* out = nullptr;
    EXPECT_EQ(CreateServiceObject(AtomFromString("UIService"), &out), 0x10005u);
    EXPECT_EQ(CreateServiceObject(AtomFromString("BLAuthor"), nullptr), 3u);
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
        SODetails::SetOperation<BLInputHandlerFactoryOps::CreateInputHandler>(ops, &Create);
    }
};

TEST(ServicesTest, RegistryMakesToolsByNameAndCursorRemembers) {
    ObjectPtr service = HostBL::NewService("BLService");
    ObjectPtr registry, cursor;
    CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(), registry.Receive());
    CallChecked<BLServiceOps::GetCursor>(service.get(), cursor.Receive());

    ObjectPtr factory = ObjectPtr::Adopt(ToolFactoryInterface::Object::New());
    CallChecked<BLInputHandlerRegistryOps::Register>(registry.get(), AtomFromString("Marker"),
                                                     factory.get());
    EXPECT_EQ(factory->common.GetRefCount(factory.get()), 2u);

    ObjectPtr first, second;
    CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(
        registry.get(), AtomFromString("Marker"), first.Receive());
    CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(
        registry.get(), AtomFromString("Marker"), second.Receive());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_STREQ(first->interfaceName, "BLInputHandler");

    ObjectPtr none;
    try {
        CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(
            registry.get(), AtomFromString("NoSuchTool"), none.Receive());
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

} // namespace
