// Asking a UI handler's window for one of the frame objects it belongs to.
#pragma once

#include <cstdint>

#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SequenceHash.h"

namespace SOImpl {

class UIWndServiceObjectRequester {
public:
    // The window's object of interface T (T::kName: "UIDocumentsCollection",
    // "UIMainFrame"), asked for with forwarding to the windows above it.
    // False for a null window or when the window has none; a window that
    // failed is logged (with its own error record's message when it gave
    // one). Never throws.
    template <class T>
    static bool QueryServiceObjectFromUIWnd(ServiceObject* window,
                                            SODetails::BasicServiceObjectPtr<T>& out) {
        ServiceObject* found = Query(window, SODetails::InterfaceId<T>(), T::kName);
        if (!found)
            return false;
        out = SODetails::BasicServiceObjectPtr<T>::Adopt(found);
        return true;
    }

private:
    // The object with one reference, or null.
    static ServiceObject* Query(ServiceObject* window, uint32_t id,
                                const char* interfaceName) noexcept;
};

} // namespace SOImpl
