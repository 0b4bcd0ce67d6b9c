#include "MarkupGroupHandler.h"

#include <algorithm>

#include "AnnotOperationAtoms.h"
#include "MarkupColorText.h"
#include "RibbonMarkupActions.h"
#include "UserSettings.h"
#include "bl/BLDocumentView.h"

namespace {

const AnnotOperationAtoms kAnnotOperations;
const SODetails::AtomStatic kUnderline("Underline");
const SODetails::AtomStatic kStrikeOut("StrikeOut");
const SODetails::AtomStatic kHighlight("Highlight");
const SODetails::AtomStatic kTextEdit("TextEdit");
const SODetails::AtomStatic kTextCopy("TextCopy");
const SODetails::AtomStatic kAddTextMarkupAnnot("AddTextMarkupAnnot");
const SODetails::AtomStatic kReview("Review");

RibbonAtoms Atoms() {
    return {kAnnotOperations.insert, kTextEdit, kTextCopy, kAddTextMarkupAnnot};
}

using SOImpl::UIElementSet;
using UIElementState::kChecked;
using UIElementState::kDisabled;

// The controls of each kind.
struct KindControls {
    uint32_t kind;
    const char* button;     // the split button's main part
    const char* dropDown;   // its drop-down part
    const char* popupClass; // the colour popup inside the drop-down part
};
const KindControls kKinds[] = {
    {kPDAtomHighlight, "#Highlight", "#Highlight-split-item", ".highlight-popup"},
    {kPDAtomUnderline, "#Underline", "#Underline-split-item", ".underline-popup"},
    {kPDAtomStrikeOut, "#Strikethrough", "#Strikethrough-split-item", ".strikethrough-popup"},
};
// The order in which a view state reaches the drop-down parts.
const char* const kDropDownsByViewState[] = {"#Underline-split-item", "#Strikethrough-split-item",
                                             "#Highlight-split-item"};

constexpr const char* kSplitButton = "div.split-button";
constexpr const char* kSplitContainer = ".ribbon-item-split";
constexpr uint32_t kSplitContainerDepth = 6;
constexpr const char* kPopup = "div.popup";
constexpr const char* kColorGrid = "#ColorsPopup";
constexpr uint32_t kViewReadOnly = 0x1; // view state bit 0: markup controls off

// The kind whose selector (of `member`) the element matches, or none.
const KindControls* KindMatching(const UIElementSet& element, const char* KindControls::*member) {
    for (const KindControls& controls : kKinds)
        if (element.Matches(controls.*member))
            return &controls;
    return nullptr;
}

// The ink's opacity for a colour popup: the option in percent, capped at 100.
float PopupOpacity() {
    return static_cast<float>(std::min(MarkupOptions::InkOpacity(), 100u)) / 100.0f;
}

} // namespace

SODetails::BasicServiceObjectPtr<> MarkupGroupHandler::Create() {
    return SODetails::BasicServiceObjectPtr<>::Adopt(Object::New());
}

uint32_t MarkupGroupHandler::HandleEvent(uint32_t* handled, HELEMENT element,
                                         const UIEventRecord* event) {
    switch (event->code) {
    case UIEventCode::kPopupRequested:
        LocalizeCommandNames(element);
        return SODetails::kDeclined;
    case UIEventCode::kClick:
        OnClick(event->target);
        return SODetails::kDeclined;
    case UIEventCode::kColorChosen:
        return OnColorChosen(handled, *event);
    case UIEventCode::kPopupShowing:
        OnPopupShowing(event->target);
        return SODetails::kDeclined;
    default:
        return SODetails::kDeclined;
    }
}

void MarkupGroupHandler::OnClick(HELEMENT target) {
    const ObjectPtr view = LockCurrentView();
    if (!view)
        return;
    const UIElementSet button = ElementSet(target);
    if (!button.Matches(kSplitButton))
        return;
    // A checked button ends the tool; the view's report of the change
    // unchecks it.
    if (button.HasState(kChecked)) {
        SODetails::CallChecked<BLDocumentViewOps::EndActiveTool>(view.get(), true);
        return;
    }
    const KindControls* controls = KindMatching(button, &KindControls::button);
    if (!controls)
        return;
    const MarkupColor color = MarkupOptions::LastColorOf(controls->kind)->Get();
    ApplyMarkupColor(controls->kind, button.Parent(), MarkupColorText(color));
}

uint32_t MarkupGroupHandler::OnColorChosen(uint32_t* handled, const UIEventRecord& event) {
    if (!LockCurrentView())
        return SODetails::kDeclined;
    const UIElementSet popup = ElementSet(event.target);
    if (popup.Empty()) {
        MarkHandled(handled);
        return SODetails::kOk;
    }
    const KindControls* controls = KindMatching(popup, &KindControls::popupClass);
    if (!controls)
        return SODetails::kDeclined;
    if (event.data)
        ApplyMarkupColor(controls->kind, popup.Parent(),
                         reinterpret_cast<const wchar_t*>(event.data));
    MarkHandled(handled);
    return SODetails::kOk;
}

void MarkupGroupHandler::OnPopupShowing(HELEMENT target) {
    const ObjectPtr view = LockCurrentView();
    if (!view)
        return;
    const UIElementSet popup = ElementSet(target);
    if (!popup.Matches(kPopup) || !popup.Contains(kColorGrid))
        return;
    const KindControls* controls = KindMatching(popup, &KindControls::popupClass);
    const SLAtom activeTool = RibbonMarkup::ActiveTool(view.get());
    const float opacity = PopupOpacity();
    // The popup marks the active tool's colour when its kind's tool is on.
    std::wstring colorText;
    if (controls && activeTool == kAddTextMarkupAnnot.get() &&
        Select(controls->button).HasState(kChecked))
        colorText = MarkupColorText(MarkupOptions::LastColorOf(controls->kind)->Get());
    UIColorPopupRequest request{colorText.c_str(), 0, 1, &opacity, 0};
    popup.SendEvent(UIEventCode::kColorPopupRequest, reinterpret_cast<uintptr_t>(&request));
}

void MarkupGroupHandler::ApplyMarkupColor(uint32_t kind, const UIElementSet& elements,
                                          const std::wstring& colorText) {
    if (kind == kNoMarkupKind || colorText.empty())
        return;
    const ObjectPtr view = LockCurrentView();
    if (!view || !RibbonMarkup::MayAddAnnotations(view.get()))
        return;
    const MarkupColor color = ParseMarkupColorText(colorText);
    if (const ObjectPtr selection = RibbonMarkup::TextSelection(view.get(), Atoms())) {
        uint64_t first, last;
        if (RibbonMarkup::SelectedPages(selection.get(), &first, &last)) {
            MarkupOnSelection(kind, view.get(), color, first, last);
            return;
        }
    }
    ActivateMarkupTool(kind, view.get(), color, elements);
}

bool MarkupGroupHandler::MarkupOnSelection(uint32_t kind, ServiceObject* view, MarkupColor color,
                                           uint64_t first, uint64_t last) {
    if (first == RibbonMarkup::kNoPage || last == RibbonMarkup::kNoPage)
        return false;
    if (first > last)
        std::swap(first, last);
    return RibbonMarkup::MarkupPages(view, kind, color, first, last, Atoms(), [&] {
               SODetails::CallChecked<BLDocumentViewOps::Invalidate>(view);
               RibbonMarkup::StoreLastColor(kind, color);
           }) > 0;
}

bool MarkupGroupHandler::ActivateMarkupTool(uint32_t kind, ServiceObject* view, MarkupColor color,
                                            const UIElementSet& elements) {
    if (!RibbonMarkup::InstallMarkupTool(view, kind, color, Atoms()))
        return false;
    // Only now that SetActiveTool has returned: the view's report of the
    // change, which unchecks every button, came first.
    UIElementSet container = elements.Nearest(kSplitContainer, kSplitContainerDepth);
    if (container.Empty())
        container = elements;
    const UIElementSet button = container.Select(kSplitButton);
    if (button.First())
        button.SwitchState(kChecked, true);
    RibbonMarkup::StoreLastColor(kind, color);
    return true;
}

void MarkupGroupHandler::OnActiveToolChanged(SLAtom tool) {
    if (HandedOver([this, tool] { OnActiveToolChanged(tool); }))
        return;
    Select(kSplitButton).SwitchState(kChecked, false);
}

void MarkupGroupHandler::OnViewStateChanged(uint32_t state) {
    if (HandedOver([this, state] { OnViewStateChanged(state); }))
        return;
    const bool readOnly = (state & kViewReadOnly) != 0;
    for (const char* dropDown : kDropDownsByViewState)
        Select(dropDown).SwitchState(kDisabled, readOnly);
}

void MarkupGroupHandler::OnViewAttached(ServiceObject* view) {
    const ObjectPtr keep = ObjectPtr::Share(view);
    if (HandedOver([this, keep] { OnViewAttached(keep.get()); }))
        return;
    EnableDropDowns(true);
    uint32_t state = 0;
    SODetails::CallChecked<BLDocumentViewOps::GetViewState>(view, &state);
    OnViewStateChanged(state);
    OnActiveToolChanged(RibbonMarkup::ActiveTool(view));
}

void MarkupGroupHandler::OnViewDetached() {
    if (HandedOver([this] { OnViewDetached(); }))
        return;
    EnableDropDowns(false);
    OnActiveToolChanged(RibbonMarkup::kNoTool);
}

void MarkupGroupHandler::EnableDropDowns(bool enable) {
    for (const KindControls& controls : kKinds)
        Select(controls.dropDown).SwitchState(kDisabled, !enable);
}
