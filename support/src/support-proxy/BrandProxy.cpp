#include "support-proxy/BrandProxy.h"

#include <string>

#include "service-common/Atom.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "support-proxy/BrandInterface.h"

namespace BrandProxy {
namespace Raw {

namespace {
const wchar_t* gLegalCopyright = nullptr; // the service's own text
std::wstring& LegalCopyrightCopy() {
    static std::wstring copy; // lives until unload
    return copy;
}
} // namespace

const wchar_t* GetLegalCopyright() {
    if (!gLegalCopyright) {
        static const SODetails::AtomStatic kBrand("Brand");
        SODetails::BasicServiceObjectPtr<> brand = SP::GetServiceObject(kBrand, nullptr);
        SODetails::CallChecked<BrandOps::GetLegalCopyright>(brand.get(), &gLegalCopyright);
    }
    if (!gLegalCopyright)
        throw ServiceObjectException(SODetails::kNotAvailable,
                                     L"LegalCopyright was not found in Brand service",
                                     FailureSites::kBrandLegalCopyright);
    LegalCopyrightCopy() = gLegalCopyright;
    return LegalCopyrightCopy().c_str();
}

} // namespace Raw
} // namespace BrandProxy
