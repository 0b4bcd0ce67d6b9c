// The service provider's failures as this module reports them: fixed texts,
// the provider's code, and where the failure is said to come from. (What the
// provider answers for each kind of failure is checked with the provider.)
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "TestObjects.h"
#include "platform/Platform.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "svcbroker.h"

namespace {

const char* const kFunction = "SP::_CheckServiceProviderApiResult";
const char* const kFile = "support\\include\\service-common\\serviceprovider";

// A failure as compared here: code, message, function, file.
using Failure = std::tuple<uint32_t, std::wstring, std::string, std::string>;

template <class Call> Failure Catch(Call call) {
    const ServiceObjectException e = fwtest::Thrown(call);
    return {e.Code(), e.Message(), e.Function(), e.File()};
}

const std::wstring kModuleMissing =
    L"the service provider cannot find corresponding module to create service object.\n";
const std::wstring kFactoryMissing = L"the service provider cannot find corresponding factory "
                                     L"function in the module to create service object.";

TEST(ProviderResult, EveryFailureHasItsTextAndCode) {
    EXPECT_NO_THROW(SP::_CheckServiceProviderApiResult(SODetails::kOk, 126));

    // The system's English text for the error, with the line break it ends in.
    const std::wstring system126 = Platform::SystemErrorText(126).value_or(L"");
    ASSERT_FALSE(system126.empty()) << "the system has a text for error 126";
    // The provider's code, the system error given with it, and the text.
    const std::tuple<uint32_t, uint32_t, std::wstring> cases[] = {
        {kSPServiceNotSupportedByModule, 0,
         L"service is not supported by the corresponding module.\n"},
        {kSPServiceNotSupportedByModule, 126,
         L"service is not supported by the corresponding module.\n"},
        {kSPFactoryFailed, 0, L"service object factory function failed.\n"},
        {kSPNoPublicObjects, 0, L"there are no public service objects in corresponding module.\n"},
        {kSPServiceNotSupported, 5,
         L"corresponding service is not supported by the service provider.\n"},
        {kSPModuleNotFound, 126,
         kModuleMissing + L"\nSystem error code: [126]\nDescription: " + system126 + L"\n"},
        {kSPModuleNotFound, 0, kModuleMissing},
        {kSPFactoryFunctionNotFound, 126,
         kFactoryMissing + L"\n\nSystem error code: [126]\nDescription: " + system126 + L"\n"},
        {kSPFactoryFunctionNotFound, 0, kFactoryMissing + L" "},
        {1, 0, L"\"ServiceProviderGetServiceObject()\" call failed with code 1.\n"},
        {0x20000, 126,
         L"\"ServiceProviderGetServiceObject()\" call failed with code 131072.\n\n"
         L"System error code: [126]\nDescription: " +
             system126 + L"\n"},
    };
    for (const auto& [code, systemError, text] : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << code << " / " << std::dec << systemError);
        EXPECT_EQ(Catch([c = code, e = systemError] { SP::_CheckServiceProviderApiResult(c, e); }),
                  Failure(code, text, kFunction, kFile));
    }
}

uint32_t Declining(void*, ServiceObject**) {
    return SODetails::kDeclined;
}

// The failure of asking for `atomName` under `displayName`.
Failure Query(const char* atomName, const char* displayName) {
    return Catch([&] { SP::GetServiceObject(SODetails::AtomFromString(atomName), displayName); });
}

TEST(GetServiceObject, ProviderFailuresNameTheService) {
    const std::wstring unsupported =
        L"corresponding service is not supported by the service provider.\n";
    EXPECT_EQ(Query("fwtest.Unknown", "Unknown Thing"),
              Failure(kSPServiceNotSupported,
                      L"Fail to query Unknown Thing service object: " + unsupported, kFunction,
                      kFile));
    // Without a name the atom's own name is used.
    EXPECT_EQ(std::get<1>(Query("fwtest.Unknown", nullptr)),
              L"Fail to query fwtest.Unknown service object: " + unsupported);

    ASSERT_EQ(ServiceProviderRegHostService("fwtest.Declining", &Declining, nullptr, "multiple"),
              SODetails::kOk);
    EXPECT_EQ(Query("fwtest.Declining", nullptr),
              Failure(SODetails::kDeclined,
                      L"Fail to query fwtest.Declining service object: "
                      L"\"ServiceProviderGetServiceObject()\" call failed with code 1.\n",
                      kFunction, kFile));
    ServiceProviderUnregHostService("fwtest.Declining");
}

} // namespace
