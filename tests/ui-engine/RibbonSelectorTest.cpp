// The selector engine on the shipped ribbon: every selector and relation the
// ribbon handlers rely on, and selectors the engine must refuse.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "uiengine/UserGestures.h"

namespace UIEngineTest {
namespace {

using namespace UIEngine;

using RibbonSelectors = RibbonTree;

std::vector<std::string> Ids(const std::vector<HELEMENT>& elements) {
    std::vector<std::string> ids;
    for (HELEMENT e : elements)
        ids.push_back(Describe(e).id);
    return ids;
}

struct SplitButton {
    const char* main;
    const char* dropDown;
    const char* popupClass;
};
const SplitButton kSplitButtons[] = {
    {"#Highlight", "#Highlight-split-item", ".highlight-popup"},
    {"#Underline", "#Underline-split-item", ".underline-popup"},
    {"#Strikethrough", "#Strikethrough-split-item", ".strikethrough-popup"},
};
const char* const kFontIcons[] = {"div .font-underline-icon", "div .font-strike-icon",
                                  "div .font-highlight-icon"};

TEST_F(RibbonSelectors, MarkupGroupHasThreeSplitButtonsWithTheirPopups) {
    for (const SplitButton& b : kSplitButtons) {
        SCOPED_TRACE(b.main);
        const std::vector<HELEMENT> main = Select(markup, b.main);
        ASSERT_EQ(main.size(), 1u);
        HELEMENT dropDown = Select(markup, b.dropDown).at(0);
        HELEMENT popup = Select(markup, b.popupClass).at(0);
        EXPECT_TRUE(Matches(popup, "div.popup"));
        EXPECT_EQ(PopupOf(dropDown), popup);
        EXPECT_EQ(Select(popup, "#ColorsPopup").size(), 1u); // its own grid

        // A colour chosen there: from the popup's parent, the split
        // container is found within 6 levels, and in it the main part.
        HELEMENT container = FindNearest(Parent(popup), ".ribbon-item-split", 6);
        ASSERT_NE(container, nullptr);
        EXPECT_EQ(Select(container, "div.split-button"), main);
        EXPECT_EQ(FindNearest(Parent(popup), ".ribbon-item-split", 1), nullptr);

        // Drop-down parts wait for a document view; main parts do not.
        EXPECT_EQ(State(dropDown), UIElementState::kDisabled);
        EXPECT_EQ(State(main[0]), 0u);
    }
}

TEST_F(RibbonSelectors, FontIconsEachOwnAColourPopup) {
    for (const char* selector : kFontIcons) {
        SCOPED_TRACE(selector);
        std::vector<HELEMENT> icons = Select(font, selector);
        ASSERT_EQ(icons.size(), 1u);
        EXPECT_TRUE(Select(markup, selector).empty());
        HELEMENT popup = PopupOf(icons[0]);
        ASSERT_NE(popup, nullptr);
        // The colour-chosen source's parent is the icon; the popup-show
        // source is the icon itself and its target the popup.
        EXPECT_TRUE(Matches(Parent(popup), selector));
        EXPECT_TRUE(Matches(icons[0], selector));
        EXPECT_EQ(Select(popup, "#ColorsPopup").size(), 1u);
        EXPECT_FALSE(Matches(popup, ".highlight-popup, .underline-popup, .strikethrough-popup"));
        EXPECT_TRUE(State(icons[0]) & UIElementState::kDisabled);
    }
}

TEST_F(RibbonSelectors, CombinatorsCompoundsAndLists) {
    HELEMENT icon = Select(font, ".font-strike-icon").at(0);
    EXPECT_TRUE(Matches(icon, "#Font .font-strike-icon"));
    EXPECT_FALSE(Matches(icon, "#Font > .font-strike-icon")); // a grandchild
    EXPECT_TRUE(Matches(icon, "#Font > div > .font-strike-icon"));
    EXPECT_TRUE(Matches(icon, "body div.ribbon-panel>.ribbon-panel-items  >div.font-icon"));
    EXPECT_FALSE(Matches(icon, "span.font-strike-icon"));
    EXPECT_TRUE(Matches(icon, "DIV.font-strike-icon"));  // type names ignore case
    EXPECT_FALSE(Matches(icon, "div.Font-Strike-Icon")); // classes do not
    EXPECT_FALSE(Matches(icon, "*[disabled]"));          // a state, not an attribute
    EXPECT_TRUE(Matches(icon, "[title=\"Strike out with a colour\"].font-icon"));

    // Scoped to the container, matched against the whole tree: the div
    // ancestor lies above the element selected from.
    HELEMENT container = Select(markup, ".ribbon-item-split").at(1);
    EXPECT_EQ(Ids(Select(container, "div .split-button")), std::vector<std::string>{"Underline"});
    EXPECT_TRUE(Select(container, ".ribbon-item-split").empty()); // not the element itself

    // Lists come out once each, in document order.
    EXPECT_EQ(Ids(Select(markup, "#Strikethrough, #Highlight, div#Highlight")),
              (std::vector<std::string>{"Highlight", "Strikethrough"}));
    EXPECT_EQ(Select(tree->Root(), "[data-color=ff44dc5e]").size(), 6u); // unquoted value
}

TEST_F(RibbonSelectors, BadSelectorsAreErrors) {
    const char* const bad[] = {"",       "  ",    "div..x",    "#",      "div >",        "> div",
                               "a,,b",   "div,",  "div:hover", "[x",     "[x=]",         "[x=\"a]",
                               "div#1x", "a + b", "a ~ b",     ".a\\:b", "[x=\"a\\\"\"]"};
    for (const char* selector : bad)
        EXPECT_THROW(Select(markup, selector), std::invalid_argument) << selector;
    try {
        Matches(markup, "div.split-button:checked");
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("offset 16"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace UIEngineTest
