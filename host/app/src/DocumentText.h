// The text of a document's pages as the plug-in reads it from the
// document-model library: per page, the characters in reading order, each
// with its text and its quad in page space (generated line feeds included).
// Pages are read on first use and kept.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "folio.h"

// Owns one page handle; throws std::runtime_error when the page cannot be
// loaded.
class PageRef {
public:
    PageRef(PDDocument document, uint64_t index);
    ~PageRef();
    PageRef(const PageRef&) = delete;
    PageRef& operator=(const PageRef&) = delete;
    PDPage get() const { return page_; }

private:
    PDPage page_ = nullptr;
};

struct PageChar {
    std::wstring text;
    PDQuadF quad;
};

struct PageInfo {
    PDRectF cropBox;
    int32_t rotate;
};

class DocumentText {
public:
    // The document must outlive this object.
    explicit DocumentText(PDDocument document);

    uint64_t PageCount() const { return pageCount_; }
    // Whether the file was damaged and rebuilt on opening: its text may then
    // be incomplete.
    bool WasRepaired() const { return repaired_; }
    // Throws std::runtime_error when the page cannot be read.
    const std::vector<PageChar>& Chars(uint64_t page);
    PageInfo Info(uint64_t page) const;

private:
    PDDocument document_;
    uint64_t pageCount_ = 0;
    bool repaired_ = false;
    std::map<uint64_t, std::vector<PageChar>> pages_;
};

// Whether a point lies inside a quad (edges included), whatever the quad's
// orientation.
bool QuadContains(const PDQuadF& quad, PDPointF point);
PDPointF QuadCentre(const PDQuadF& quad);
