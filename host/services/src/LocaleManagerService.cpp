// "LocaleManager": translates UI texts from a small catalogue. The language
// comes from VELLUM_LANG ("en" when unset); texts the catalogue does not know
// stay as they are.
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "HostServices.h"
#include "service-common/LocaleManagerInterface.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace {

using Catalogue = std::map<std::wstring, std::wstring>;

const Catalogue& GermanCatalogue() {
    static const Catalogue catalogue = {
        {L"Text Markup Plugin allows you to markup a text.",
         L"Mit dem Textmarkierungs-Plugin k\u00f6nnen Sie Text markieren."},
        {L"Highlight", L"Hervorheben"},
        {L"Underline", L"Unterstreichen"},
        {L"Strikethrough", L"Durchstreichen"},
    };
    return catalogue;
}

struct LocaleManager {
    const Catalogue* catalogue = nullptr;
    LocaleManager() {
        const char* lang = std::getenv("VELLUM_LANG");
        if (lang && std::strncmp(lang, "de", 2) == 0)
            catalogue = &GermanCatalogue();
    }
};

struct LocaleManagerInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<LocaleManagerInterface, LocaleManager>;
    static constexpr const char* kName = "LocaleManager";
    static constexpr std::size_t kOperationCount = LocaleManagerOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<LocaleManagerOps::Translate>(ops, &Translate);
    }
    // Redirects *text to the translation of `source` when there is one.
    static uint32_t Translate(ServiceObject* self, const wchar_t** text, const wchar_t* source) {
        if (!text || !source)
            return SODetails::kBadArgument;
        const Catalogue* catalogue = Object::ImplOf(self).catalogue;
        if (!catalogue)
            return SODetails::kOk;
        auto it = catalogue->find(source);
        if (it != catalogue->end())
            *text = it->second.c_str();
        return SODetails::kOk;
    }
};

} // namespace

namespace HostServices {
ServiceObject* NewLocaleManager() {
    return LocaleManagerInterface::Object::New();
}
} // namespace HostServices
