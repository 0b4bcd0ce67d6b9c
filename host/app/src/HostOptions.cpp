#include "HostOptions.h"

#include <boost/make_shared.hpp>

#include "HostSession.h"
#include "support-proxy/BrandProxy.h"
#include "support-proxy/SLSettingsNode.h"
#include "support-proxy/SettingsInterface.h"
#include "support-proxy/UserOptions.h"

namespace {

using General = UsrOpt_Options::UsrOptGroup_General;
using LastColor = usropts::BaseUserSettingValue<unsigned>;

LastColor* LastColorOf(General& general, const std::string& kind) {
    if (kind == "highlight")
        return &general.LastColorHighlight;
    if (kind == "underline")
        return &general.LastColorUnderline;
    if (kind == "strikeout")
        return &general.LastColorStrikeOut;
    return nullptr;
}

uint32_t DefaultColorOf(const std::string& kind) {
    if (kind == "underline")
        return General::UsrOptValue_LastColorUnderline::defaultValue;
    if (kind == "strikeout")
        return General::UsrOptValue_LastColorStrikeOut::defaultValue;
    return General::UsrOptValue_LastColorHighlight::defaultValue;
}

} // namespace

boost::shared_ptr<Settings::ISettingsNode> UserSettingsNode() {
    return boost::make_shared<Settings::SLSettingsNode<Settings::SLSettingsRoot>>(
        Settings::kUserSettingsRoot, BrandProxy::Raw::GetDefaultSettingsRelativePath());
}

UsrOpt_Options& LoadUserOptions() {
    UsrOpt_Options& options = GetOptions();
    // The tree's Load passes over values it cannot read; a store that cannot
    // be used at all is to be reported, so ask it first.
    UserSettingsNode()->IsNodeExists();
    options.Load(usropts::UserSettingNodePtr());
    return options;
}

uint32_t LastMarkupColor(HostSession& session, const std::string& kind) {
    UsrOpt_Options* options = session.Options();
    LastColor* lastColor = options ? LastColorOf(options->General, kind) : nullptr;
    return lastColor ? lastColor->Get() : DefaultColorOf(kind);
}
