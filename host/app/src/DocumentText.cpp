#include "DocumentText.h"

#include "FolioCheck.h"

namespace {

// Owns one page text handle.
class PageTextRef {
public:
    explicit PageTextRef(PDPage page) {
        CheckFolio(PDPageLoadPageText(page, &text_), "cannot read the page's text");
    }
    ~PageTextRef() { PDPageTextRelease(text_); }
    PageTextRef(const PageTextRef&) = delete;
    PageTextRef& operator=(const PageTextRef&) = delete;
    PDPageText get() const { return text_; }

private:
    PDPageText text_ = nullptr;
};

// Which side of the directed edge a -> b the point lies on.
float Side(PDPointF a, PDPointF b, PDPointF p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

} // namespace

DocumentText::DocumentText(PDDocument document) : document_(document) {
    CheckFolio(FolioDocumentGetPageCount(document, &pageCount_), "cannot count the pages");
    uint32_t repaired = 0;
    CheckFolio(FolioDocumentWasRepaired(document, &repaired), "cannot read the document's state");
    repaired_ = repaired != 0;
}

const std::vector<PageChar>& DocumentText::Chars(uint64_t page) {
    if (const auto found = pages_.find(page); found != pages_.end())
        return found->second;
    PageRef pageRef(document_, page);
    PageTextRef text(pageRef.get());
    uint64_t count = 0;
    CheckFolio(PDPageTextGetNumChars(text.get(), &count), "cannot count the page's characters");
    std::vector<PageChar> chars(count);
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t length = 0;
        CheckFolio(PDPageTextGetCharUnicode(text.get(), i, nullptr, 0, &length),
                   "cannot read a character");
        chars[i].text.resize(length);
        CheckFolio(PDPageTextGetCharUnicode(text.get(), i, chars[i].text.data(), length, &length),
                   "cannot read a character");
        chars[i].text.resize(length);
        CheckFolio(PDPageTextGetCharQuad(text.get(), i, &chars[i].quad),
                   "cannot read a character's quad");
    }
    return pages_.emplace(page, std::move(chars)).first->second;
}

PageRef::PageRef(PDDocument document, uint64_t index) {
    CheckFolio(FolioDocumentLoadPage(document, index, &page_),
               "cannot load page " + std::to_string(index + 1));
}

PageRef::~PageRef() {
    PDPageRelease(page_);
}

PageInfo DocumentText::Info(uint64_t page) const {
    PageRef pageRef(document_, page);
    PageInfo info{};
    CheckFolio(PDPageGetCropBox(pageRef.get(), &info.cropBox), "cannot read the crop box");
    CheckFolio(PDPageGetRotate(pageRef.get(), &info.rotate), "cannot read the rotation");
    return info;
}

bool QuadContains(const PDQuadF& q, PDPointF p) {
    // The outline runs p0 -> p1 -> p3 -> p2; inside means on one side of all
    // four edges (either side, since a quad may be mirrored).
    const float s[4] = {Side(q.p0, q.p1, p), Side(q.p1, q.p3, p), Side(q.p3, q.p2, p),
                        Side(q.p2, q.p0, p)};
    bool anyPositive = false, anyNegative = false;
    for (const float side : s) {
        anyPositive |= side > 0;
        anyNegative |= side < 0;
    }
    return !(anyPositive && anyNegative);
}

PDPointF QuadCentre(const PDQuadF& q) {
    return {(q.p0.x + q.p1.x + q.p2.x + q.p3.x) / 4, (q.p0.y + q.p1.y + q.p2.y + q.p3.y) / 4};
}
