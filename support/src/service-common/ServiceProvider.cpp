#include "service-common/ServiceProvider.h"

#include <boost/format.hpp>

#include "service-common/FailureSites.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/SystemError.h"
#include "service-common/TextConversion.h"
#include "strpool.h"
#include "svcbroker.h"

namespace SP {

namespace {

using Site = FailureSites::ServiceProvider;

[[noreturn]] void Fail(uint32_t code, const std::wstring& text, uint32_t line) {
    throw ServiceObjectException(code, text, Site::kFunction, Site::kFile, line);
}

// A fixed text for a code, with or without the system's own words.
struct ProviderText {
    uint32_t code;
    const wchar_t* plain; // without a system error
    uint32_t plainLine;
    const wchar_t* withSystem; // %1% system error, %2% system text; null: use plain
    uint32_t withSystemLine;
};

const ProviderText kTexts[] = {
    {kSPServiceNotSupportedByModule, L"service is not supported by the corresponding module.\n",
     Site::kServiceNotSupportedByModuleLine, nullptr, Site::kServiceNotSupportedByModuleLine},
    {kSPFactoryFailed, L"service object factory function failed.\n", Site::kFactoryFailedLine,
     nullptr, Site::kFactoryFailedLine},
    {kSPNoPublicObjects, L"there are no public service objects in corresponding module.\n",
     Site::kNoPublicObjectsLine, nullptr, Site::kNoPublicObjectsLine},
    {kSPServiceNotSupported, L"corresponding service is not supported by the service provider.\n",
     Site::kServiceNotSupportedLine, nullptr, Site::kServiceNotSupportedLine},
    {kSPModuleNotFound,
     L"the service provider cannot find corresponding module to create service object.\n",
     Site::kModuleNotFoundWithoutSystemErrorLine,
     L"the service provider cannot find corresponding module to create service object.\n\n"
     L"System error code: [%1%]\nDescription: %2%\n",
     Site::kModuleNotFoundLine},
    {kSPFactoryFunctionNotFound,
     L"the service provider cannot find corresponding factory function in the module to "
     L"create service object. ",
     Site::kFactoryFunctionNotFoundWithoutSystemErrorLine,
     L"the service provider cannot find corresponding factory function in the module to "
     L"create service object.\n\nSystem error code: [%1%]\nDescription: %2%\n",
     Site::kFactoryFunctionNotFoundLine},
};

} // namespace

void _CheckServiceProviderApiResult(uint32_t code, uint32_t systemError) {
    if (code == SODetails::kOk)
        return;
    for (const ProviderText& t : kTexts) {
        if (t.code != code)
            continue;
        if (systemError != 0 && t.withSystem)
            Fail(
                code,
                (boost::wformat(t.withSystem) % systemError % FormatSystemError(systemError)).str(),
                t.withSystemLine);
        Fail(code, t.plain, t.plainLine);
    }
    if (systemError != 0)
        Fail(code,
             (boost::wformat(L"\"ServiceProviderGetServiceObject()\" call failed with code %1%.\n\n"
                             L"System error code: [%2%]\nDescription: %3%\n") %
              code % systemError % FormatSystemError(systemError))
                 .str(),
             Site::kOtherResultLine);
    Fail(code,
         (boost::wformat(L"\"ServiceProviderGetServiceObject()\" call failed with code %1%.\n") %
          code)
             .str(),
         Site::kOtherResultWithoutSystemErrorLine);
}

SODetails::BasicServiceObjectPtr<> GetServiceObject(SLAtom atom, const char* name) {
    SODetails::BasicServiceObjectPtr<> result;
    uint32_t systemError = 0;
    uint32_t code = ServiceProviderGetServiceObject(atom, result.Receive(), &systemError);
    try {
        _CheckServiceProviderApiResult(code, systemError);
    } catch (const ServiceObjectException& e) {
        const char* serviceName = name;
        if (!serviceName)
            SLGetStringFromAtom(atom, &serviceName);
        std::wstring wideName = SLText::ToWide(serviceName ? serviceName : "");
        std::wstring text =
            (boost::wformat(L"Fail to query %1% service object: %2%") % wideName % e.Message())
                .str();
        throw ServiceObjectException(e.Code(), text, e.Function(), e.File(), e.Line());
    }
    return result;
}

} // namespace SP
