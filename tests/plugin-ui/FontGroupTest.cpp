// The font group's three markup icons and their colour popups.
#include "RibbonTestHost.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/UserSettings.h"

namespace uitest {
namespace {

using UIElementState::kDisabled;

class FontGroup : public RibbonTest {};

constexpr const char* kUnderlineIcon = "div .font-underline-icon";
constexpr const char* kStrikeIcon = "div .font-strike-icon";
constexpr const char* kHighlightIcon = "div .font-highlight-icon";

TEST_F(FontGroup, ChoiceWithoutViewIsNotHandled) {
    AttachHandlers();
    EXPECT_FALSE(ChooseColor(kStrikeIcon, L"ff0000ff"));
    EXPECT_EQ(Font().LastKind(), kNoMarkupKind);
}

// Without a text selection the tool is made with the chosen colour, which
// the strike icon's popup then shows while the tool is active.
TEST_F(FontGroup, StrikeColourInstallsTheToolAndItsPopupShowsIt) {
    AttachHandlers();
    ObjectPtr view = ShowDocument(NewTextDocument());
    EXPECT_TRUE(ChooseColor(kStrikeIcon, L"ff112233"));
    EXPECT_EQ(ActiveTool(view), std::make_pair(uint32_t{kPDAtomStrikeOut}, 0xFF112233u));
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomStrikeOut)->Get(), 0xFF112233u);
    for (const auto& [icon, shown] : {std::pair{kStrikeIcon, L"ff112233"}, {kUnderlineIcon, L""}}) {
        const UIEngine::ColorPopupRecord request = OpenPopup(icon);
        EXPECT_EQ(request.colorText, shown) << icon;
        EXPECT_FALSE(request.opacity) << icon; // the font group's popups show none
    }
}

// A "TextCopy" selection over pages 2 to 4: one annotation on each, one
// repaint, the tool unchanged, the colour kept.
TEST_F(FontGroup, SelectionOverSeveralPagesIsMarkedUpWithOneRepaint) {
    AttachHandlers();
    ObjectPtr document = NewTextDocument();
    ObjectPtr view = ShowDocument(document);
    OnUI([&] { HostBL::SelectText(view.get(), "TextCopy", 1, 2, 3, 4); });
    const uint64_t repaints = HostBL::InvalidateCount(view.get());
    EXPECT_TRUE(ChooseColor(kHighlightIcon, L"ff00ff00"));
    EXPECT_EQ(Marks(document), (std::vector<Mark>{{1, kPDAtomHighlight, 0x00FF00u},
                                                  {2, kPDAtomHighlight, 0x00FF00u},
                                                  {3, kPDAtomHighlight, 0x00FF00u}}));
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u);
    EXPECT_EQ(HostBL::InvalidateCount(view.get()), repaints + 1);
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomHighlight)->Get(), 0xFF00FF00u);
}

// A read-only view refuses annotations: a choice sent anyway is taken and
// nothing follows; the view's state, and then its deactivation, turn the
// icons off.
TEST_F(FontGroup, ViewThatRefusesAnnotationsTakesTheChoiceOnly) {
    AttachHandlers();
    const ObjectPtr view = ShowDocument(NewTextDocument());
    EXPECT_FALSE(StateOf(kUnderlineIcon) & kDisabled);
    HostBL::SetReadOnly(view.get(), true);
    desk.thread->WaitIdle();
    for (const char* icon : {kUnderlineIcon, kStrikeIcon, kHighlightIcon})
        EXPECT_TRUE(StateOf(icon) & kDisabled) << icon;
    EXPECT_TRUE(ChooseColor(kUnderlineIcon, L"ff0000ff"));
    EXPECT_EQ(Font().LastKind(), kNoMarkupKind);
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));

    HostBL::SetReadOnly(view.get(), false);
    desk.thread->WaitIdle();
    EXPECT_FALSE(StateOf(kStrikeIcon) & kDisabled);
    CloseActiveView();
    EXPECT_TRUE(StateOf(kStrikeIcon) & kDisabled);
}

} // namespace
} // namespace uitest
