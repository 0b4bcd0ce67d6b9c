// The root of the user options tree: the top group, which also holds the
// tree's one recursive mutex.
#pragma once

#include <boost/thread/recursive_mutex.hpp>

#include "support-proxy/IUserSettingGroup.h"

namespace usropts {

class BaseUserSettingAccess {
protected:
    boost::recursive_mutex treeMutex;
};

class BaseUserSettingRoot : public IUserSettingGroup, public BaseUserSettingAccess {
protected:
    BaseUserSettingRoot() = default;
    // The nodes go before the mutex that guards them.
    ~BaseUserSettingRoot() override;
};

} // namespace usropts
