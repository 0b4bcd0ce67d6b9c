// The font group's three markup icons and their colour popups.
#include "RibbonTestHost.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"
#include "vellum-marker/FontGroupTextMarkupControlHandler.h"
#include "vellum-marker/UserSettings.h"

namespace uitest {
namespace {

using UIElementState::kDisabled;
using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;

class FontGroup : public RibbonTest {
protected:
    // A colour chosen in the icon's popup, sent as the popup's script sends
    // it (also while the icon is disabled); whether it was handled.
    bool ChooseColor(const char* icon, const wchar_t* color) {
        return OnUI([&] {
            HELEMENT popup = UIEngine::PopupOf(One(icon));
            return UIEngine::SendEvent(popup, UIEventCode::kColorChosen, popup,
                                       reinterpret_cast<uintptr_t>(color));
        });
    }
    std::wstring OpenPopup(const char* icon) {
        EXPECT_TRUE(OnUI([&] { return UIEngine::OpenPopup(One(icon)).delivered; }));
        auto request = UIEngine::Describe(UIEngine::PopupOf(One(icon))).popupRequest;
        EXPECT_TRUE(request && !request->opacity);
        return request ? request->colorText : L"<none>";
    }
    FontGroupTextMarkupControlHandler& Font() {
        return FontGroupTextMarkupControlHandler::Object::ImplOf(fontHandler.get());
    }
};

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
    ObjectPtr tool = HostBL::ActiveTool(view.get());
    ASSERT_TRUE(tool);
    EXPECT_EQ(Tool::Object::ImplOf(tool.get()).Subtype(), uint32_t{kPDAtomStrikeOut});
    EXPECT_EQ(Tool::Object::ImplOf(tool.get()).Color(), 0xFF112233u);
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomStrikeOut)->Get(), 0xFF112233u);
    EXPECT_EQ(OpenPopup(kStrikeIcon), L"ff112233");
    EXPECT_EQ(OpenPopup(kUnderlineIcon), L"");
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
    std::vector<HostBL::AnnotRecord> annots = HostBL::ListAnnots(document.get());
    ASSERT_EQ(annots.size(), 3u);
    for (std::size_t i = 0; i < annots.size(); ++i) {
        EXPECT_EQ(annots[i].page, i + 1);
        EXPECT_EQ(annots[i].info.subtype, uint32_t{kPDAtomHighlight});
    }
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u);
    EXPECT_EQ(HostBL::InvalidateCount(view.get()), repaints + 1);
    EXPECT_FALSE(HostBL::ActiveTool(view.get()));
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomHighlight)->Get(), 0xFF00FF00u);
}

// A view that refuses annotations: the choice is taken and nothing follows;
// a read-only state, and then the view's deactivation, turn the icons off.
TEST_F(FontGroup, ViewThatRefusesAnnotationsTakesTheChoiceOnly) {
    AttachHandlers();
    ObjectPtr view = Make<LockedView>();
    Of<LockedView>(view).viewState = 0;
    Activate(view);
    EXPECT_FALSE(StateOf(kUnderlineIcon) & kDisabled);
    EXPECT_TRUE(ChooseColor(kUnderlineIcon, L"ff0000ff"));
    EXPECT_EQ(Font().LastKind(), kNoMarkupKind);
    EXPECT_EQ(Of<LockedView>(view).toolCalls, 0);

    OnUI([&] { Of<LockedView>(view).viewStateChanged.Raise(1); });
    for (const char* icon : {kUnderlineIcon, kStrikeIcon, kHighlightIcon})
        EXPECT_TRUE(StateOf(icon) & kDisabled) << icon;
    OnUI([&] { Of<LockedView>(view).viewStateChanged.Raise(0); });
    OnUI([&] { Of<TestCollection>(collection).Deactivate(); });
    EXPECT_TRUE(StateOf(kStrikeIcon) & kDisabled);
}

} // namespace
} // namespace uitest
