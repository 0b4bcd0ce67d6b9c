#include "support-proxy/BrandProxy.h"

#include <string>

#include "service-common/Atom.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "support-proxy/BrandInterface.h"

namespace BrandProxy {
namespace Raw {

namespace {

// The service's own texts; they stay owned by the service.
const wchar_t* gLegalCopyright = nullptr;
const wchar_t* gSettingsRelativePath = nullptr;

// Asks the Brand service for one of its texts, unless it gave it already.
template <class Slot> void FetchBrandText(const wchar_t** text) {
    if (*text)
        return;
    // Function-local: the plug-in asks for its texts from its own static
    // initialisers, maybe before this file's statics are made.
    static const SODetails::AtomStatic kBrand("Brand");
    SODetails::BasicServiceObjectPtr<> brand = SP::GetServiceObject(kBrand, nullptr);
    SODetails::CallChecked<Slot>(brand.get(), text);
}

std::wstring& LegalCopyrightCopy() {
    static std::wstring copy; // lives until unload
    return copy;
}

std::wstring FetchSettingsRelativePath() {
    FetchBrandText<BrandOps::GetSettingsRelativePath>(&gSettingsRelativePath);
    if (!gSettingsRelativePath)
        throw ServiceObjectException(SODetails::kNotAvailable,
                                     L"DefaultSettingsRelativePath was not found in Brand service",
                                     FailureSites::kBrandSettingsRelativePath);
    return gSettingsRelativePath;
}

} // namespace

const wchar_t* GetLegalCopyright() {
    FetchBrandText<BrandOps::GetLegalCopyright>(&gLegalCopyright);
    if (!gLegalCopyright)
        throw ServiceObjectException(SODetails::kNotAvailable,
                                     L"LegalCopyright was not found in Brand service",
                                     FailureSites::kBrandLegalCopyright);
    LegalCopyrightCopy() = gLegalCopyright;
    return LegalCopyrightCopy().c_str();
}

std::wstring GetDefaultSettingsRelativePath() {
    // An initialiser that throws leaves the copy unmade: the next call asks again.
    static const std::wstring copy = FetchSettingsRelativePath();
    return copy;
}

} // namespace Raw
} // namespace BrandProxy
