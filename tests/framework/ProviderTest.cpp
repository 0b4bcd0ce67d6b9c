// The service provider's failures as this module reports them: fixed texts,
// the provider's code, and where the failure is said to come from. (What the
// provider answers for each kind of failure is checked with the provider.)
#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "svcbroker.h"

namespace {

const char* const kFunction = "SP::_CheckServiceProviderApiResult";
const char* const kFile = "support\\include\\service-common\\serviceprovider";

// The system's English text for an error, with the line break it ends in.
std::wstring SystemText(uint32_t error) {
    return Platform::SystemErrorText(error).value_or(L"");
}

struct Failure {
    uint32_t code = 0;
    std::wstring message;
    std::string function, file;
};

template <class Call> Failure Catch(Call call) {
    try {
        call();
    } catch (const ServiceObjectException& e) {
        return {e.Code(), e.Message(), e.Function(), e.File()};
    }
    ADD_FAILURE() << "no exception";
    return {};
}

struct ProviderCase {
    uint32_t code;
    uint32_t systemError;
    std::wstring text;
};

const std::wstring kModuleMissing =
    L"the service provider cannot find corresponding module to create service object.\n";
const std::wstring kFactoryMissing = L"the service provider cannot find corresponding factory "
                                     L"function in the module to create service object.";

TEST(ProviderResult, EveryFailureHasItsTextAndCode) {
    EXPECT_NO_THROW(SP::_CheckServiceProviderApiResult(SODetails::kOk, 126));

    const std::wstring system126 = SystemText(126);
    ASSERT_FALSE(system126.empty()) << "the system has a text for error 126";
    const ProviderCase cases[] = {
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
    for (const ProviderCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.code << " / " << std::dec << c.systemError);
        Failure f = Catch([&] { SP::_CheckServiceProviderApiResult(c.code, c.systemError); });
        EXPECT_EQ(f.code, c.code);
        EXPECT_EQ(f.message, c.text);
        EXPECT_EQ(f.function, kFunction);
        EXPECT_EQ(f.file, kFile);
    }
}

uint32_t Declining(void*, ServiceObject**) {
    return SODetails::kDeclined;
}

TEST(GetServiceObject, ProviderFailuresNameTheService) {
    const std::wstring unsupported =
        L"corresponding service is not supported by the service provider.\n";
    Failure named = Catch(
        [] { SP::GetServiceObject(SODetails::AtomFromString("fwtest.Unknown"), "Unknown Thing"); });
    EXPECT_EQ(named.code, kSPServiceNotSupported);
    EXPECT_EQ(named.message, L"Fail to query Unknown Thing service object: " + unsupported);
    EXPECT_EQ(named.function, kFunction);
    EXPECT_EQ(named.file, kFile);

    // Without a name the atom's own name is used.
    Failure unnamed =
        Catch([] { SP::GetServiceObject(SODetails::AtomFromString("fwtest.Unknown"), nullptr); });
    EXPECT_EQ(unnamed.message, L"Fail to query fwtest.Unknown service object: " + unsupported);

    ASSERT_EQ(ServiceProviderRegHostService("fwtest.Declining", &Declining, nullptr, "multiple"),
              SODetails::kOk);
    Failure declined =
        Catch([] { SP::GetServiceObject(SODetails::AtomFromString("fwtest.Declining"), nullptr); });
    EXPECT_EQ(declined.code, SODetails::kDeclined);
    EXPECT_EQ(declined.message,
              L"Fail to query fwtest.Declining service object: "
              L"\"ServiceProviderGetServiceObject()\" call failed with code 1.\n");
    ServiceProviderUnregHostService("fwtest.Declining");
}

} // namespace
