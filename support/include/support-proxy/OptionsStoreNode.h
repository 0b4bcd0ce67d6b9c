// The store node on which the options tree is built.
#pragma once

#include "support-proxy/IUserSettingNode.h"

// The node at the brand's settings path in the user's store root; the tree
// lives below it, under "Options". Throws ServiceObjectException when the
// brand gives no path or the settings service cannot be had.
usropts::UserSettingNodePtr CreateOptionsStoreNode();
