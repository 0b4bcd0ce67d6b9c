// "BLSelection": a text selection of the host's text tools, one quad per
// selected character.
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "Objects.h"
#include "service-common/FolioGeometry.h"

namespace HostBLImpl {

namespace {

struct SelectionOperations {
    using Object = SelectionInterface::Object;
    static constexpr const wchar_t* kWideName = SelectionInterface::kWideName;

    static uint32_t GetType(ServiceObject* self, SLAtom* type) {
        if (!type)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetType");
        *type = Object::ImplOf(self).type;
        return kOk;
    }

    static uint32_t GetSelectedPages(ServiceObject* self, uint64_t* first, uint64_t* last) {
        if (!first || !last)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetSelectedPages");
        const SelectionImpl& selection = Object::ImplOf(self);
        *first = selection.firstPage;
        *last = selection.lastPage;
        return kOk;
    }

    static uint32_t HasText(ServiceObject* self, uint32_t* hasText) {
        if (!hasText)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"HasText");
        *hasText = Object::ImplOf(self).quads.empty() ? 0 : 1;
        return kOk;
    }

    static uint32_t GetQuadCount(ServiceObject* self, uint64_t page, uint64_t* count) {
        if (!count)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetQuadCount");
        const SelectionImpl& selection = Object::ImplOf(self);
        auto it = selection.quads.find(page);
        *count = it == selection.quads.end() ? 0 : it->second.size();
        return kOk;
    }

    static uint32_t GetQuads(ServiceObject* self, uint64_t page, SL::Quad* quads) {
        if (!quads)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetQuads");
        const SelectionImpl& selection = Object::ImplOf(self);
        auto it = selection.quads.find(page);
        if (it != selection.quads.end())
            std::copy(it->second.begin(), it->second.end(), quads);
        return kOk;
    }
};

// The quads of the characters [begin, end) of a page, line feeds left out.
std::vector<SL::Quad> CharacterQuads(PDDocument document, uint64_t page, uint64_t begin,
                                     uint64_t end, bool toEnd) {
    const std::vector<HostBL::PageChar> chars = ReadPageChars(document, page);
    const uint64_t count = chars.size();
    if (toEnd)
        end = count;
    if (begin > count || end > count)
        throw std::out_of_range("SelectText: character index beyond page " + std::to_string(page) +
                                "'s " + std::to_string(count));
    std::vector<SL::Quad> quads;
    for (uint64_t index = begin; index < end; ++index)
        if (chars[index].text.empty() || chars[index].text[0] != L'\n')
            quads.push_back(SL::FromFolio(chars[index].quad));
    return quads;
}

} // namespace

void SelectionInterface::FillOperations(SODetails::Operation* ops) {
    using namespace BLSelectionOps;
    using O = SelectionOperations;
    SODetails::SetOperation<GetType>(ops, &O::GetType);
    SODetails::SetOperation<GetSelectedPages>(ops, &O::GetSelectedPages);
    SODetails::SetOperation<HasText>(ops, &O::HasText);
    SODetails::SetOperation<GetQuadCount>(ops, &O::GetQuadCount);
    SODetails::SetOperation<GetQuads>(ops, &O::GetQuads);
}

} // namespace HostBLImpl

namespace HostBL {

using namespace HostBLImpl;

ObjectPtr SelectText(ServiceObject* view, const std::string& toolName, uint64_t firstPage,
                     uint64_t firstChar, uint64_t lastPage, uint64_t lastChar) {
    ViewImpl& impl = ViewOf(view);
    if (toolName.empty())
        throw std::invalid_argument("SelectText: no tool name");
    if (std::make_pair(lastPage, lastChar) < std::make_pair(firstPage, firstChar)) {
        std::swap(firstPage, lastPage);
        std::swap(firstChar, lastChar);
    }
    if (lastPage >= impl.documentImpl->PageCount())
        throw std::out_of_range("SelectText: no page " + std::to_string(lastPage));

    SelectionImpl selection;
    selection.type = AtomOf(toolName.c_str());
    for (uint64_t page = firstPage; page <= lastPage; ++page) {
        std::vector<SL::Quad> quads =
            CharacterQuads(impl.documentImpl->document, page, page == firstPage ? firstChar : 0,
                           page == lastPage ? lastChar : 0, page != lastPage);
        if (quads.empty())
            continue;
        if (selection.firstPage == kNoPage)
            selection.firstPage = page;
        selection.lastPage = page;
        selection.quads.emplace(page, std::move(quads));
    }
    ObjectPtr object = ObjectPtr::Adopt(SelectionInterface::Object::New(std::move(selection)));
    impl.SetSelection(object);
    return object;
}

void ClearSelection(ServiceObject* view) {
    ViewOf(view).SetSelection(nullptr);
}

bool HasTextSelection(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    const SelectionImpl* selection = ImplOrNull<SelectionInterface>(impl.selection.get());
    return selection && !selection->quads.empty();
}

} // namespace HostBL
