// The services, found through the provider by the fixed atoms and the
// manifest. (The tool registry and the cursor are checked with the markup
// tool, the author in the annotations it makes.)
#include <gtest/gtest.h>

#include "bl/BLService.h"
#include "bl/GraphicsFactory.h"
#include "hostbl/HostBL.h"
#include "service-common/ResultCodes.h"
#include "svcbroker.h"

// The service-module entry of the library under test.
extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using HostBL::ObjectPtr;
using SODetails::AtomFromString;

ObjectPtr FromProvider(SLAtom atom) {
    ObjectPtr object;
    uint32_t systemError = 0;
    EXPECT_EQ(ServiceProviderGetServiceObject(atom, object.Receive(), &systemError),
              SODetails::kOk);
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
    EXPECT_EQ(CreateServiceObject(AtomFromString("UIService"), &out),
              kSPServiceNotSupportedByModule);
    EXPECT_EQ(CreateServiceObject(AtomFromString("BLAuthor"), nullptr), SODetails::kBadArgument);
    EXPECT_EQ(out, nullptr);
}

} // namespace
