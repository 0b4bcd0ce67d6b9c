#include "FontGroupTextMarkupControlHandler.h"

#include "AnnotOperationAtoms.h"
#include "MarkupColorText.h"
#include "RibbonMarkupActions.h"
#include "bl/BLDocumentView.h"

namespace {

const AnnotOperationAtoms kAnnotOperations;
const SODetails::AtomStatic kTextEdit("TextEdit");
const SODetails::AtomStatic kEdit("Edit");
const SODetails::AtomStatic kTextCopy("TextCopy");
const SODetails::AtomStatic kReview("Review");
const SODetails::AtomStatic kAddTextMarkupAnnot("AddTextMarkupAnnot");

RibbonAtoms Atoms() {
    return {kAnnotOperations.insert, kTextEdit, kTextCopy, kAddTextMarkupAnnot};
}

using SOImpl::UIElementSet;
using UIElementState::kDisabled;

struct Icon {
    const char* selector;
    uint32_t kind;
};
// In the order the icons are enabled, disabled and told the view state.
const Icon kIcons[] = {
    {"div .font-underline-icon", kPDAtomUnderline},
    {"div .font-strike-icon", kPDAtomStrikeOut},
    {"div .font-highlight-icon", kPDAtomHighlight},
};

constexpr const char* kPopup = "div.popup";
constexpr const char* kColorGrid = "#ColorsPopup";
constexpr uint32_t kViewReadOnly = 0x1; // view state bit 0: markup controls off

// The kind of the icon the element is, or no kind.
uint32_t IconKind(const UIElementSet& element) {
    for (const Icon& icon : kIcons)
        if (element.Matches(icon.selector))
            return icon.kind;
    return kNoMarkupKind;
}

} // namespace

SODetails::BasicServiceObjectPtr<> FontGroupTextMarkupControlHandler::Create() {
    return SODetails::BasicServiceObjectPtr<>::Adopt(Object::New());
}

uint32_t FontGroupTextMarkupControlHandler::HandleEvent(uint32_t* handled, HELEMENT element,
                                                        const UIEventRecord* event) {
    switch (event->code) {
    case UIEventCode::kColorChosen:
        return OnColorChosen(handled, *event);
    case UIEventCode::kPopupShowing:
        OnPopupShowing(*event);
        return SODetails::kDeclined;
    case UIEventCode::kPopupRequested:
        LocalizeCommandNames(element);
        return SODetails::kDeclined;
    default:
        return SODetails::kDeclined;
    }
}

uint32_t FontGroupTextMarkupControlHandler::OnColorChosen(uint32_t* handled,
                                                          const UIEventRecord& event) {
    const ObjectPtr view = LockCurrentView();
    if (!view)
        return SODetails::kDeclined;
    if (!Window() || !RibbonMarkup::MayAddAnnotations(view.get())) {
        MarkHandled(handled);
        return SODetails::kOk;
    }
    // The popup's parent is its icon.
    const uint32_t kind = IconKind(ElementSet(event.source).Parent());
    if (kind == kNoMarkupKind)
        return SODetails::kDeclined;
    lastKind_ = kind;
    if (event.data)
        ApplyFontColor(reinterpret_cast<const wchar_t*>(event.data));
    MarkHandled(handled);
    return SODetails::kOk;
}

void FontGroupTextMarkupControlHandler::ApplyFontColor(const std::wstring& colorText) {
    const ObjectPtr view = LockCurrentView();
    if (!view || colorText.empty())
        return;
    const MarkupColor color = ParseMarkupColorText(colorText);
    RibbonMarkup::StoreLastColor(lastKind_, color);
    if (const ObjectPtr selection = RibbonMarkup::TextSelection(view.get(), Atoms())) {
        uint64_t first, last;
        if (!RibbonMarkup::SelectedPages(selection.get(), &first, &last) ||
            first == RibbonMarkup::kNoPage || last == RibbonMarkup::kNoPage)
            return;
        RibbonMarkup::MarkupPages(view.get(), lastKind_, color, first, last, Atoms(), nullptr);
        SODetails::CallChecked<BLDocumentViewOps::Invalidate>(view.get());
        return;
    }
    if (RibbonMarkup::InstallMarkupTool(view.get(), lastKind_, color, Atoms()))
        lastColorText_ = colorText;
}

void FontGroupTextMarkupControlHandler::OnPopupShowing(const UIEventRecord& event) {
    const ObjectPtr view = LockCurrentView();
    if (!view)
        return;
    const UIElementSet popup = ElementSet(event.target);
    if (!popup.Matches(kPopup) || !popup.Contains(kColorGrid))
        return;
    const SLAtom activeTool = RibbonMarkup::ActiveTool(view.get());
    const uint32_t kind = IconKind(ElementSet(event.source));
    if (kind == kNoMarkupKind)
        return;
    const std::wstring colorText =
        activeTool == kAddTextMarkupAnnot.get() && lastKind_ == kind ? lastColorText_ : L"";
    UIColorPopupRequest request{colorText.c_str(), 0, 1, nullptr, 0};
    popup.SendEvent(UIEventCode::kColorPopupRequest, reinterpret_cast<uintptr_t>(&request));
}

void FontGroupTextMarkupControlHandler::OnViewStateChanged(uint32_t state) {
    if (HandedOver([this, state] { OnViewStateChanged(state); }))
        return;
    const bool readOnly = (state & kViewReadOnly) != 0;
    for (const Icon& icon : kIcons)
        Select(icon.selector).SwitchState(kDisabled, readOnly);
}

void FontGroupTextMarkupControlHandler::OnViewAttached(ServiceObject*) {
    if (HandedOver([this] { EnableIcons(true); }))
        return;
    EnableIcons(true);
}

void FontGroupTextMarkupControlHandler::OnViewDetached() {
    if (HandedOver([this] { EnableIcons(false); }))
        return;
    EnableIcons(false);
}

void FontGroupTextMarkupControlHandler::EnableIcons(bool enable) {
    for (const Icon& icon : kIcons)
        Select(icon.selector).SwitchState(kDisabled, !enable);
}
