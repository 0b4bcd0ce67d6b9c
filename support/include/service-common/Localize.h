// Translating UI texts through the host's "LocaleManager" service.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/ServiceObject.h"

// The process-wide holder of the LocaleManager service (singleton "LMSH").
struct LocaleManagerHolder {
    enum State : uint32_t { kNotAsked = 0, kHeld = 1, kNotAvailable = 2, kAskAgain = 3 };
    static constexpr uint32_t kStaticDataId = 0x48534D4Cu;  // "LMSH"

    uint32_t state;
    ServiceObject* service;

    // Throws std::runtime_error when the singleton storage cannot give it.
    static LocaleManagerHolder& Instance();
};
static_assert(sizeof(LocaleManagerHolder) == 16, "the holder block is 16 bytes");

// The translation of `text`, or `text` itself when there is no service or no
// translation.
std::wstring Localize(const wchar_t* text);
