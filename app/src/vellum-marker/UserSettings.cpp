#include "UserSettings.h"

#include "folio.h"
#include "support-proxy/UserOptions.h"

namespace MarkupOptions {

LastColor* LastColorOf(uint32_t kind) {
    UsrOpt_Options::UsrOptGroup_General& general = GetOptions().General;
    switch (kind) {
    case kPDAtomHighlight:
        return &general.LastColorHighlight;
    case kPDAtomUnderline:
        return &general.LastColorUnderline;
    case kPDAtomStrikeOut:
        return &general.LastColorStrikeOut;
    default:
        return nullptr;
    }
}

unsigned InkOpacity() {
    return GetOptions().Ink.Opacity.Get();
}

} // namespace MarkupOptions
