#include "DocumentText.h"

#include <iterator>

DocumentText::DocumentText(ServiceObject* document)
    : document_(document), pageCount_(HostBL::PageCount(document)),
      repaired_(HostBL::WasRepaired(document)) {}

const std::vector<PageChar>& DocumentText::Chars(uint64_t page) {
    // A drag reads its first and last page and those in between; a search
    // the page it is on and the next.
    constexpr std::size_t kPagesKept = 4;
    for (auto kept = pages_.begin(); kept != pages_.end(); ++kept) {
        if (kept->first != page)
            continue;
        if (std::next(kept) != pages_.end()) {
            pages_.push_back(std::move(*kept));
            pages_.erase(kept);
        }
        return pages_.back().second;
    }
    std::vector<PageChar> chars = HostBL::PageChars(document_, page);
    if (pages_.size() == kPagesKept)
        pages_.pop_front();
    pages_.emplace_back(page, std::move(chars));
    return pages_.back().second;
}

PageInfo DocumentText::Info(uint64_t page) const {
    return HostBL::GetPageInfo(document_, page);
}
