#include "MarkupControls.h"

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <utility>

#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"
#include "uiengine/UserGestures.h"

namespace {

struct KindControls {
    const char* kind;
    const char* name;       // on the ribbon; also the split button's id
    const char* fontIcon;   // the Font group's icon
};
constexpr KindControls kControls[] = {
    {"highlight", "Highlight", "div .font-highlight-icon"},
    {"underline", "Underline", "div .font-underline-icon"},
    {"strikeout", "Strikethrough", "div .font-strike-icon"},
};

const KindControls& ControlsOf(const std::string& kind) {
    for (const KindControls& controls : kControls)
        if (kind == controls.kind)
            return controls;
    throw std::invalid_argument("no ribbon controls for the kind " + kind);
}

} // namespace

MarkupControls::MarkupControls(const UIEngine::ElementTree& ribbon, RibbonGroup group,
                               const std::string& kind)
    : ribbon_(ribbon), group_(group), name_(ControlsOf(kind).name) {
    const KindControls& controls = ControlsOf(kind);
    if (group == RibbonGroup::kMarkup) {
        button_ = Find(std::string("#") + controls.name);
        popupOwner_ = Find(std::string("#") + controls.name + "-split-item");
    } else {
        button_ = popupOwner_ = Find(controls.fontIcon);
    }
}

HELEMENT MarkupControls::Find(const std::string& selector) const {
    HELEMENT element = UIEngine::SelectFirst(ribbon_.Root(), selector);
    if (!element)
        throw std::runtime_error("the ribbon has no element \"" + selector + "\"");
    return element;
}

template <class Gesture>
void MarkupControls::Perform(Gesture&& gesture, const std::string& what) {
    UIEngine::GestureResult result;
    try {
        result = gesture();
    } catch (const ServiceObjectException& e) {
        const std::string warning = what + " failed in the ribbon's handler: " +
                                    SLText::ToNarrow(e.Message());
        if (std::find(warnings_.begin(), warnings_.end(), warning) == warnings_.end())
            warnings_.push_back(warning);
        return;
    }
    if (!result.delivered)
        throw std::runtime_error("the ribbon refused " + what + ": " + result.refusal);
}

std::vector<std::string> MarkupControls::TakeWarnings() {
    return std::exchange(warnings_, {});
}

std::wstring MarkupControls::ColorText(uint32_t color) {
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"%x", color);
    return text;
}

void MarkupControls::Apply(std::optional<uint32_t> color) {
    const std::string where = group_ == RibbonGroup::kMarkup ? " button" : " icon of the Font group";
    if (!color) {
        if (group_ == RibbonGroup::kFont)
            throw std::invalid_argument("the Font group's icons need a colour");
        Perform([&] { return UIEngine::Click(button_); }, "a click on the " + name_ + where);
        return;
    }
    Perform([&] { return UIEngine::OpenPopup(popupOwner_); },
            "opening the colour popup of the " + name_ + where);
    Perform([&] { return UIEngine::ChooseColor(UIEngine::PopupOf(popupOwner_), ColorText(*color)); },
            "choosing the colour in the popup of the " + name_ + where);
}

std::string MarkupControls::CheckedButton() const {
    for (HELEMENT button : UIEngine::Select(ribbon_.Root(), "div.split-button"))
        if (UIEngine::State(button) & UIElementState::kChecked)
            return UIEngine::Describe(button).id;
    return {};
}

bool MarkupControls::ClickChecked() {
    const std::string id = CheckedButton();
    if (id.empty())
        return false;
    Perform([&] { return UIEngine::Click(Find("#" + id)); },
            "a click on the checked " + id + " button");
    return true;
}
