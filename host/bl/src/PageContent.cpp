// What a page holds, as the plug-in's text layer reads it: the characters
// of its text with their quads, its crop box and rotation.
#include <stdexcept>

#include "Objects.h"

namespace HostBLImpl {

std::vector<HostBL::PageChar> ReadPageChars(PDDocument document, uint64_t page) {
    const PageHandle handle = LoadPage(document, page);
    PageTextHandle text;
    uint64_t count = 0;
    PDResult result = PDPageLoadPageText(handle.get(), text.Receive());
    if (result == kPDOk)
        result = PDPageTextGetNumChars(text.get(), &count);
    std::vector<HostBL::PageChar> chars(count);
    for (uint64_t i = 0; i < count && result == kPDOk; ++i) {
        uint64_t length = 0;
        result = PDPageTextGetCharUnicode(text.get(), i, nullptr, 0, &length);
        chars[i].text.resize(length);
        if (result == kPDOk)
            result = PDPageTextGetCharUnicode(text.get(), i, chars[i].text.data(), length, &length);
        chars[i].text.resize(length);
        if (result == kPDOk)
            result = PDPageTextGetCharQuad(text.get(), i, &chars[i].quad);
    }
    if (result != kPDOk)
        throw std::runtime_error(FolioMessage()); // it names the page
    return chars;
}

} // namespace HostBLImpl

namespace HostBL {

using namespace HostBLImpl;

bool WasRepaired(ServiceObject* document) {
    uint32_t repaired = 0;
    const PDResult result = FolioDocumentWasRepaired(DocumentOf(document).document, &repaired);
    if (result != kPDOk)
        throw std::runtime_error("cannot read the document's state: " + FolioMessage());
    return repaired != 0;
}

PageInfo GetPageInfo(ServiceObject* document, uint64_t page) {
    const PageHandle handle = LoadPage(DocumentOf(document).document, page);
    PageInfo info{};
    PDResult result = PDPageGetCropBox(handle.get(), &info.cropBox);
    if (result == kPDOk)
        result = PDPageGetRotate(handle.get(), &info.rotate);
    if (result != kPDOk)
        throw std::runtime_error("cannot read the geometry of page " + std::to_string(page + 1) +
                                 ": " + FolioMessage());
    return info;
}

std::vector<PageChar> PageChars(ServiceObject* document, uint64_t page) {
    return ReadPageChars(DocumentOf(document).document, page);
}

} // namespace HostBL
