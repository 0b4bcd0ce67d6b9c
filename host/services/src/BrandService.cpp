// "Brand": the product's legal text and the settings location.
#include "HostServices.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "support-proxy/BrandInterface.h"

namespace {

struct Brand {
    const wchar_t* legalCopyright = L"Copyright (c) 2026 The Vellum authors. All rights reserved.";
    const wchar_t* settingsPath = L"Vellum\\Vellum Editor";
};

struct BrandInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<BrandInterface, Brand>;
    static constexpr const char* kName = "Brand";
    static constexpr std::size_t kOperationCount = BrandOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BrandOps::GetLegalCopyright>(ops, &GetLegalCopyright);
        SODetails::SetOperation<BrandOps::GetSettingsRelativePath>(ops, &GetSettingsRelativePath);
    }
    static uint32_t GetLegalCopyright(ServiceObject* self, const wchar_t** text) {
        if (!text)
            return SODetails::kBadArgument;
        *text = Object::ImplOf(self).legalCopyright;
        return SODetails::kOk;
    }
    static uint32_t GetSettingsRelativePath(ServiceObject* self, const wchar_t** text) {
        if (!text)
            return SODetails::kBadArgument;
        *text = Object::ImplOf(self).settingsPath;
        return SODetails::kOk;
    }
};

} // namespace

namespace HostServices {
ServiceObject* NewBrand() {
    return BrandInterface::Object::New();
}
} // namespace HostServices
