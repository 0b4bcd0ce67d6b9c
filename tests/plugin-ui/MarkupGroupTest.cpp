// The markup group's split buttons and colour popups, played as a user
// plays them.
#include "RibbonTestHost.h"
#include "TestSupport.h"
#include "support-proxy/UserOptions.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/UserSettings.h"

namespace uitest {
namespace {

using UIElementState::kChecked;
using UIElementState::kDisabled;

class MarkupGroup : public DocumentShown {
protected:
    UIEngine::GestureResult Click(const char* selector) {
        return OnUI([&] { return UIEngine::Click(One(selector)); });
    }
    std::vector<const char*> Checked() {
        std::vector<const char*> checked;
        for (const char* button : {"#Highlight", "#Underline", "#Strikethrough"})
            if (StateOf(button) & kChecked)
                checked.push_back(button);
        return checked;
    }
};

uint32_t LastColor(uint32_t kind) {
    return MarkupOptions::LastColorOf(kind)->Get();
}

TEST_F(MarkupGroup, ClickInstallsTheToolAndACheckedClickOnlyEndsIt) {
    const uint32_t highlight = LastColor(kPDAtomHighlight);
    EXPECT_TRUE(Click("#Underline").delivered);
    EXPECT_EQ(ActiveTool(view),
              std::make_pair(uint32_t{kPDAtomUnderline}, LastColor(kPDAtomUnderline)));
    EXPECT_EQ(Checked(), std::vector<const char*>{"#Underline"});

    Click("#Highlight"); // another kind: the view's report unchecks the first
    EXPECT_EQ(ActiveTool(view).first, uint32_t{kPDAtomHighlight});
    EXPECT_EQ(Checked(), std::vector<const char*>{"#Highlight"});

    Click("#Highlight");
    EXPECT_EQ(ActiveTool(view).first, 0u);
    EXPECT_TRUE(Checked().empty());
    EXPECT_EQ(LastColor(kPDAtomHighlight), highlight);
}

// A text selection over pages 2 to 4 is marked up at once, one annotation
// per page in one undo step, in the kind's last colour; no tool is made.
TEST_F(MarkupGroup, SelectionOverSeveralPagesIsMarkedUpInOneStep) {
    OnUI([&] { HostBL::SelectText(view.get(), "TextCopy", 1, 0, 3, 6); });
    const uint32_t underline = LastColor(kPDAtomUnderline) & 0xFFFFFFu;
    Click("#Underline");
    EXPECT_EQ(Marks(document), (std::vector<Mark>{{1, kPDAtomUnderline, underline},
                                                  {2, kPDAtomUnderline, underline},
                                                  {3, kPDAtomUnderline, underline}}));
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u);
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    EXPECT_EQ(ActiveTool(view).first, 0u);
    EXPECT_TRUE(Checked().empty());
}

// A colour chosen in a popup makes the tool with that colour and becomes
// the kind's last colour; the popups then show the active tool's colour,
// and only the popup of the checked kind does. Popup command names are
// translated when a popup is requested.
TEST_F(MarkupGroup, PopupColourInstallsTheToolAndIsShownBack) {
    GetOptions().Ink.Opacity.Set(40);
    EXPECT_TRUE(ChooseColor("#Strikethrough-split-item", L"ff0000ff"));
    EXPECT_EQ(ActiveTool(view), std::make_pair(uint32_t{kPDAtomStrikeOut}, 0xFF0000FFu));
    EXPECT_EQ(LastColor(kPDAtomStrikeOut), 0xFF0000FFu);
    EXPECT_EQ(Checked(), std::vector<const char*>{"#Strikethrough"});

    UIEngine::ColorPopupRecord strike = OpenPopup("#Strikethrough-split-item");
    EXPECT_EQ(strike.colorText, L"ff0000ff");
    EXPECT_EQ(strike.markCurrent, 1);
    EXPECT_FLOAT_EQ(strike.opacity.value_or(-1), 0.4f);
    EXPECT_EQ(UIEngine::Text(One("#Highlight .cmd-base-name")), L"Hervorheben");
    EXPECT_EQ(OpenPopup("#Highlight-split-item").colorText, L"");
}

// A ribbon whose highlight popup has no colour grid.
std::string RibbonWithoutHighlightGrid() {
    std::string html = testsupport::ReadFile(UIEngine::ElementTree::ResourcePath("ribbon.html"));
    return html.replace(html.find("<div id=\"ColorsPopup\""), 21, "<div");
}

class WithoutHighlightGrid : public DocumentShown {
protected:
    WithoutHighlightGrid() : DocumentShown(RibbonWithoutHighlightGrid()) {}
};

TEST_F(WithoutHighlightGrid, PopupWithoutColourGridGetsNoRequest) {
    OnUI([&] { UIEngine::OpenPopup(One("#Highlight-split-item")); });
    EXPECT_FALSE(UIEngine::Describe(UIEngine::PopupOf(One("#Highlight-split-item"))).popupRequest);
    OpenPopup("#Underline-split-item"); // which fails the test without a request
}

// A read-only view turns the drop-down parts off, not the main parts, and
// gets neither annotations nor a tool: a colour sent anyway, to either
// group, is taken and nothing follows.
TEST_F(RibbonTest, ViewThatRefusesAnnotationsGetsNone) {
    AttachHandlers();
    const ObjectPtr document = NewTextDocument();
    const ObjectPtr view = HostBL::CreateView(document.get(), 400, 1200, 1.0f);
    HostBL::SetReadOnly(view.get(), true);
    desk.Show(view);
    for (const char* part :
         {"#Highlight-split-item", "#Underline-split-item", "#Strikethrough-split-item"})
        EXPECT_TRUE(StateOf(part) & kDisabled) << part;
    EXPECT_FALSE(StateOf("#Highlight") & kDisabled);

    const uint32_t underline = LastColor(kPDAtomUnderline);
    OnUI([&] { HostBL::SelectText(view.get(), "TextCopy", 1, 0, 3, 6); });
    OnUI([&] { UIEngine::Click(One("#Highlight")); });
    ChooseColor("#Underline-split-item", L"ff00ff00");
    EXPECT_TRUE(ChooseColor("div .font-underline-icon", L"ff0000ff"));
    EXPECT_EQ(Font().LastKind(), kNoMarkupKind);
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));
    EXPECT_TRUE(Marks(document).empty());
    EXPECT_EQ(LastColor(kPDAtomUnderline), underline);

    HostBL::SetReadOnly(view.get(), false);
    desk.thread->WaitIdle();
    EXPECT_FALSE(StateOf("#Underline-split-item") & kDisabled);
}

} // namespace
} // namespace uitest
