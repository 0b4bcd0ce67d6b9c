// The markup group's split buttons and colour popups, played as a user
// plays them.
#include "RibbonTestHost.h"
#include "support-proxy/UserOptions.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"
#include "vellum-marker/UserSettings.h"

namespace uitest {
namespace {

using UIElementState::kChecked;
using UIElementState::kDisabled;
using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;

class MarkupGroup : public RibbonTest {
protected:
    void SetUp() override {
        AttachHandlers();
        view = ShowDocument(document);
    }
    UIEngine::GestureResult Click(const char* selector) {
        return OnUI([&] { return UIEngine::Click(One(selector)); });
    }
    // Opens the drop-down part's popup; the request it received.
    UIEngine::ColorPopupRecord OpenPopup(const char* dropDown) {
        HELEMENT popup = UIEngine::PopupOf(One(dropDown));
        EXPECT_TRUE(OnUI([&] { return UIEngine::OpenPopup(One(dropDown)).delivered; }));
        return UIEngine::Describe(popup).popupRequest.value_or(UIEngine::ColorPopupRecord{});
    }
    void ChooseColor(const char* dropDown, const wchar_t* color) {
        OnUI([&] { UIEngine::ChooseColor(UIEngine::PopupOf(One(dropDown)), color); });
    }
    // The active markup tool's kind and colour (none: kind 0).
    std::pair<uint32_t, uint32_t> ActiveTool() {
        ObjectPtr tool = HostBL::ActiveTool(view.get());
        if (!tool)
            return {0, 0};
        const Tool& impl = Tool::Object::ImplOf(tool.get());
        return {impl.Subtype(), impl.Color()};
    }
    std::vector<const char*> Checked() {
        std::vector<const char*> checked;
        for (const char* button : {"#Highlight", "#Underline", "#Strikethrough"})
            if (StateOf(button) & kChecked)
                checked.push_back(button);
        return checked;
    }

    ObjectPtr document = NewTextDocument();
    ObjectPtr view;
};

uint32_t LastColor(uint32_t kind) {
    return MarkupOptions::LastColorOf(kind)->Get();
}

TEST_F(MarkupGroup, ClickInstallsTheToolAndACheckedClickOnlyEndsIt) {
    const uint32_t highlight = LastColor(kPDAtomHighlight);
    EXPECT_TRUE(Click("#Underline").delivered);
    EXPECT_EQ(ActiveTool(),
              std::make_pair(uint32_t{kPDAtomUnderline}, LastColor(kPDAtomUnderline)));
    EXPECT_EQ(Checked(), std::vector<const char*>{"#Underline"});

    Click("#Highlight"); // another kind: the view's report unchecks the first
    EXPECT_EQ(ActiveTool().first, uint32_t{kPDAtomHighlight});
    EXPECT_EQ(Checked(), std::vector<const char*>{"#Highlight"});

    Click("#Highlight");
    EXPECT_EQ(ActiveTool().first, 0u);
    EXPECT_TRUE(Checked().empty());
    EXPECT_EQ(LastColor(kPDAtomHighlight), highlight);
}

// A text selection over pages 2 to 4 is marked up at once, one annotation
// per page in one undo step, in the kind's last colour; no tool is made.
TEST_F(MarkupGroup, SelectionOverSeveralPagesIsMarkedUpInOneStep) {
    OnUI([&] { HostBL::SelectText(view.get(), "TextCopy", 1, 0, 3, 6); });
    const uint32_t underline = LastColor(kPDAtomUnderline);
    Click("#Underline");
    std::vector<HostBL::AnnotRecord> annots = HostBL::ListAnnots(document.get());
    ASSERT_EQ(annots.size(), 3u);
    for (std::size_t i = 0; i < annots.size(); ++i) {
        EXPECT_EQ(annots[i].page, i + 1);
        EXPECT_EQ(annots[i].info.subtype, uint32_t{kPDAtomUnderline});
        EXPECT_EQ(annots[i].info.color & 0xFFFFFFu, underline & 0xFFFFFFu);
    }
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u);
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    EXPECT_EQ(ActiveTool().first, 0u);
    EXPECT_TRUE(Checked().empty());
}

// A colour chosen in a popup makes the tool with that colour and becomes
// the kind's last colour; the popups then show the active tool's colour,
// and only the popup of the checked kind does.
TEST_F(MarkupGroup, PopupColourInstallsTheToolAndIsShownBack) {
    GetOptions().Ink.Opacity.Set(40);
    ChooseColor("#Strikethrough-split-item", L"ff0000ff");
    EXPECT_EQ(ActiveTool(), std::make_pair(uint32_t{kPDAtomStrikeOut}, 0xFF0000FFu));
    EXPECT_EQ(LastColor(kPDAtomStrikeOut), 0xFF0000FFu);
    EXPECT_EQ(Checked(), std::vector<const char*>{"#Strikethrough"});

    UIEngine::ColorPopupRecord strike = OpenPopup("#Strikethrough-split-item");
    EXPECT_EQ(strike.colorText, L"ff0000ff");
    EXPECT_EQ(strike.markCurrent, 1);
    EXPECT_FLOAT_EQ(strike.opacity.value_or(-1), 0.4f);
    EXPECT_EQ(OpenPopup("#Highlight-split-item").colorText, L"");
}

// Popup command names are translated when the popup is requested.
TEST_F(MarkupGroup, PopupNamesAreTranslated) {
    OpenPopup("#Underline-split-item");
    EXPECT_EQ(UIEngine::Text(One("#Highlight .cmd-base-name")), L"Hervorheben");
}

TEST_F(RibbonTest, PopupWithoutColourGridGetsNoRequest) {
    std::string html = testsupport::ReadFile(UIEngine::ElementTree::ResourcePath("ribbon.html"));
    html.replace(html.find("<div id=\"ColorsPopup\""), 21, "<div");
    UseRibbon(html);
    AttachHandlers();
    ShowDocument(NewTextDocument());
    HELEMENT highlight = UIEngine::PopupOf(One("#Highlight-split-item"));
    HELEMENT underline = UIEngine::PopupOf(One("#Underline-split-item"));
    OnUI([&] {
        UIEngine::OpenPopup(One("#Highlight-split-item"));
        UIEngine::OpenPopup(One("#Underline-split-item"));
    });
    EXPECT_FALSE(UIEngine::Describe(highlight).popupRequest);
    EXPECT_TRUE(UIEngine::Describe(underline).popupRequest);
}

// A read-only view turns the drop-down parts off, not the main parts, and a
// view that refuses annotations gets neither annotations nor a tool.
TEST_F(RibbonTest, ViewThatRefusesAnnotationsGetsNone) {
    AttachHandlers();
    ObjectPtr view = Make<LockedView>();
    Activate(view);
    for (const char* part :
         {"#Highlight-split-item", "#Underline-split-item", "#Strikethrough-split-item"})
        EXPECT_TRUE(StateOf(part) & kDisabled) << part;
    EXPECT_FALSE(StateOf("#Highlight") & kDisabled);

    const uint32_t underline = LastColor(kPDAtomUnderline);
    OnUI([&] { UIEngine::Click(One("#Highlight")); });
    OnUI([&] {
        UIEngine::SendEvent(UIEngine::PopupOf(One("#Underline-split-item")),
                            UIEventCode::kColorChosen,
                            UIEngine::PopupOf(One("#Underline-split-item")),
                            reinterpret_cast<uintptr_t>(L"ff00ff00"));
    });
    EXPECT_EQ(Of<LockedView>(view).toolCalls, 0);
    EXPECT_EQ(LastColor(kPDAtomUnderline), underline);

    OnUI([&] { Of<LockedView>(view).viewStateChanged.Raise(0); });
    EXPECT_FALSE(StateOf("#Underline-split-item") & kDisabled);
}

} // namespace
} // namespace uitest
