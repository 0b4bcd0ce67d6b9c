// The text of a document's pages as the plug-in reads it from the
// document-model library: per page, the characters in reading order, each
// with its text and its quad in page space (generated line feeds included).
// Pages are read on first use and kept.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "hostbl/HostBL.h"
#include "service-common/FolioGeometry.h"

using PageChar = HostBL::PageChar;
using PageInfo = HostBL::PageInfo;

class DocumentText {
public:
    // The document must outlive this object.
    explicit DocumentText(ServiceObject* document);

    uint64_t PageCount() const { return pageCount_; }
    // Whether the file was damaged and rebuilt on opening: its text may then
    // be incomplete.
    bool WasRepaired() const { return repaired_; }
    // Throws std::runtime_error when the page cannot be read.
    const std::vector<PageChar>& Chars(uint64_t page);
    PageInfo Info(uint64_t page) const;

private:
    ServiceObject* document_;
    uint64_t pageCount_ = 0;
    bool repaired_ = false;
    std::map<uint64_t, std::vector<PageChar>> pages_;
};

using SL::QuadCentre;
using SL::QuadContains;
