#include "support-proxy/NodesList.h"

#include "service-common/ServiceObjectException.h"
#include "support-proxy/SettingsInterface.h"

namespace Settings {

NodesList::NodesList(ServiceObject* list) {
    if (!list)
        return;
    int32_t count = 0;
    SODetails::CallChecked<SettingsListOps::GetCount>(list, &count);
    for (int32_t index = 0; index < count; ++index) {
        const wchar_t* text = nullptr;
        SODetails::CallChecked<SettingsListOps::GetName>(list, static_cast<uint32_t>(index), &text);
        if (text)
            names.emplace_back(text);
    }
}

int64_t NodesList::size() const {
    return static_cast<int64_t>(names.size());
}

const std::wstring& NodesList::name(uint64_t index) const {
    if (index >= names.size())
        throw ServiceObjectException(SODetails::kOutOfRange, L"out of range",
                                     FailureSites::kNodesListName);
    return names[index];
}

} // namespace Settings
