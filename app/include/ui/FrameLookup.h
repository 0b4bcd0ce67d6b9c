// Finding the frame objects a window belongs to: its main frame, and the
// documents collection whose active view a ribbon control or a UI action
// acts on.
#pragma once

#include "service-common/BasicServiceObjectPtr.h"

namespace SOImpl {

class FrameLookup {
public:
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    // The window's "UIMainFrame"; without one (or without a window), the
    // main frame that "UIService" gives for the calling thread. Empty when
    // neither has one. Failing host calls throw ServiceObjectException.
    static ObjectPtr MainFrame(ServiceObject* window);

    // The window's "UIDocumentsCollection"; without one, that of the main
    // frame's active document frame (MainFrame above). Empty when there is
    // none. Failing host calls throw ServiceObjectException.
    static ObjectPtr DocumentsCollection(ServiceObject* window);
};

} // namespace SOImpl
