#include "service-common/TextConversion.h"

#include "service-common/ResultCodes.h"
#include "textcodec.h"

namespace SLText {

std::wstring ToWide(const std::string& text) {
    size_t length = 0;
    if (text.empty() ||
        SLConvertACPToUnicode(text.data(), text.size(), nullptr, &length) != SODetails::kOk)
        return std::wstring();
    // One more than needed, as the converter expects; the terminator is ours.
    std::wstring out(length + 1, L'\0');
    size_t converted = out.size();
    if (SLConvertACPToUnicode(text.data(), text.size(), &out[0], &converted) != SODetails::kOk)
        return std::wstring();
    out.resize(converted);
    return out;
}

std::string ToNarrow(const std::wstring& text) {
    size_t length = 0;
    if (text.empty() ||
        SLConvertUnicodeToACP(text.data(), text.size(), nullptr, &length) != SODetails::kOk)
        return std::string();
    std::string out(length + 1, '\0');
    size_t converted = out.size();
    if (SLConvertUnicodeToACP(text.data(), text.size(), &out[0], &converted) != SODetails::kOk)
        return std::string();
    out.resize(converted);
    return out;
}

} // namespace SLText
