// The names an enumeration of the settings store gave, copied out of the
// service's list object.
#pragma once

#include <boost/noncopyable.hpp>

#include <string>
#include <vector>

#include "support-proxy/ISettingsNode.h"

struct ServiceObject;

namespace Settings {

class NodesList : public INodesList, private boost::noncopyable {
public:
    // Copies the names of `list` in order, leaving out null ones. No list,
    // or a count that is not positive, gives an empty list.
    explicit NodesList(ServiceObject* list);

    int64_t size() const override;
    const std::wstring& name(uint64_t index) const override;

private:
    std::vector<std::wstring> names;
};

} // namespace Settings
