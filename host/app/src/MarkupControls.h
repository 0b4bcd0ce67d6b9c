// The ribbon's controls of one markup kind, used as a user uses them: the
// kind's split button in the "Markup" group (a click; its drop-down part's
// colour popup), or the kind's icon in the "Font" group (its colour popup).
// Called on the application's UI thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui-engine/UIElementApi.h"

namespace UIEngine {
class ElementTree;
}

enum class RibbonGroup { kMarkup, kFont };

class MarkupControls {
public:
    // `kind` is "highlight", "underline" or "strikeout".
    MarkupControls(const UIEngine::ElementTree& ribbon, RibbonGroup group, const std::string& kind);

    // Marks up with the kind as a user asks for it: without a colour, a
    // click on the kind's split button (its last colour applies); with one,
    // the colour chosen in the kind's popup, opened first. The Font group's
    // icons have no click: they need the colour. Throws std::runtime_error
    // when the ribbon refuses a gesture, saying why. A handler that fails
    // while it handles one has done what it did before it failed (started
    // the tool, for one): its failure is kept as a warning, and the caller
    // looks at what came of the gesture.
    void Apply(std::optional<uint32_t> color);
    // The warnings kept so far, each once; they are then forgotten.
    std::vector<std::string> TakeWarnings();

    // The id of the Markup group's checked split button, or empty.
    std::string CheckedButton() const;
    // A click on the checked split button, which ends the markup tool;
    // false when none is checked.
    bool ClickChecked();

    // The colour text of the ribbon: lowercase hexadecimal without leading
    // zeros.
    static std::wstring ColorText(uint32_t color);

private:
    HELEMENT Find(const std::string& selector) const;
    template <class Gesture> void Perform(Gesture&& gesture, const std::string& what);

    const UIEngine::ElementTree& ribbon_;
    RibbonGroup group_;
    std::string name_;     // the kind's name on the ribbon ("Highlight", ...)
    HELEMENT button_;      // the split button's main part, or the font icon
    HELEMENT popupOwner_;  // the split button's drop-down part, or the font icon
    std::vector<std::string> warnings_;
};
