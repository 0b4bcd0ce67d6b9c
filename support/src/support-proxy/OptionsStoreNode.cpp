#include "support-proxy/OptionsStoreNode.h"

#include <boost/make_shared.hpp>

#include "support-proxy/BrandProxy.h"
#include "support-proxy/SLSettingsNode.h"
#include "support-proxy/SLUserSettingNode.h"
#include "support-proxy/SettingsInterface.h"

usropts::UserSettingNodePtr CreateOptionsStoreNode() {
    const std::wstring base = BrandProxy::Raw::GetDefaultSettingsRelativePath();
    boost::shared_ptr<Settings::ISettingsNode> node =
        boost::make_shared<Settings::SLSettingsNode<Settings::SLSettingsRoot>>(
            Settings::kUserSettingsRoot, base);
    return boost::make_shared<usropts::SLUserSettingNode>(node);
}
