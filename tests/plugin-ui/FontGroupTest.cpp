// The font group's three markup icons and their colour popups.
#include "RibbonTestHost.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/UserSettings.h"

namespace uitest {
namespace {

using FontGroup = DocumentShown;

constexpr const char* kStrikeIcon = "div .font-strike-icon";

// Without a text selection the tool is made with the chosen colour, which
// the strike icon's popup then shows while the tool is active.
TEST_F(FontGroup, StrikeColourInstallsTheToolAndItsPopupShowsIt) {
    EXPECT_TRUE(ChooseColor(kStrikeIcon, L"ff112233"));
    EXPECT_EQ(ActiveTool(view), std::make_pair(uint32_t{kPDAtomStrikeOut}, 0xFF112233u));
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomStrikeOut)->Get(), 0xFF112233u);
    for (const auto& [icon, shown] :
         {std::pair{kStrikeIcon, L"ff112233"}, {"div .font-underline-icon", L""}}) {
        const UIEngine::ColorPopupRecord request = OpenPopup(icon);
        EXPECT_EQ(request.colorText, shown) << icon;
        EXPECT_FALSE(request.opacity) << icon; // the font group's popups show none
    }
}

// A "TextCopy" selection over pages 2 to 4: one annotation on each, one
// repaint, the tool unchanged, the colour kept.
TEST_F(FontGroup, SelectionOverSeveralPagesIsMarkedUpWithOneRepaint) {
    OnUI([&] { HostBL::SelectText(view.get(), "TextCopy", 1, 2, 3, 4); });
    const uint64_t repaints = HostBL::InvalidateCount(view.get());
    EXPECT_TRUE(ChooseColor("div .font-highlight-icon", L"ff00ff00"));
    EXPECT_EQ(Marks(document), (std::vector<Mark>{{1, kPDAtomHighlight, 0x00FF00u},
                                                  {2, kPDAtomHighlight, 0x00FF00u},
                                                  {3, kPDAtomHighlight, 0x00FF00u}}));
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u);
    EXPECT_EQ(HostBL::InvalidateCount(view.get()), repaints + 1);
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomHighlight)->Get(), 0xFF00FF00u);
}

} // namespace
} // namespace uitest
