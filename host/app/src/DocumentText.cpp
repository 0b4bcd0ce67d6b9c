#include "DocumentText.h"

DocumentText::DocumentText(ServiceObject* document)
    : document_(document), pageCount_(HostBL::PageCount(document)),
      repaired_(HostBL::WasRepaired(document)) {}

const std::vector<PageChar>& DocumentText::Chars(uint64_t page) {
    if (const auto found = pages_.find(page); found != pages_.end())
        return found->second;
    return pages_.emplace(page, HostBL::PageChars(document_, page)).first->second;
}

PageInfo DocumentText::Info(uint64_t page) const {
    return HostBL::GetPageInfo(document_, page);
}
