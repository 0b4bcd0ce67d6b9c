#include "service-common/SystemError.h"

#include "platform/Platform.h"

std::wstring FormatSystemError(uint32_t code) {
    std::wstring text = std::to_wstring(code);
    if (code != 0)
        if (std::optional<std::wstring> system = Platform::SystemErrorText(code))
            text = *system;
    return text;
}
