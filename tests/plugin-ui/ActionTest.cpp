// The scripted action "UiAction_AddTextMarkupAnnotation" on the host's own
// windows, frames and views: what its parameters and properties take, and
// what Execute marks up.
#include "RibbonTestHost.h"
#include "TestSupport.h"
#include "folio.h"
#include "service-common/ResultCodes.h"
#include "service-common/TextConversion.h"
#include "ui-engine/UIActionOps.h"
#include "uiengine/Elements.h"
#include "vellum-marker/UiAction_AddTextMarkupAnnotation.h"
#include "vellum-marker/UserSettings.h"

namespace uitest {
namespace {

using Action = UiAction_AddTextMarkupAnnotation;
using SODetails::kBadArgument;
using SODetails::kDeclined;
using SODetails::kGivenTwice;
using SODetails::kNotAvailable;
using SODetails::kNotPermitted;
using SODetails::kOk;

constexpr uint32_t kHighlightColor = 0xFFFFEA3Bu; // -5573 as the options store it

class ActionTest : public RibbonTest {
protected:
    static ObjectPtr NewAction() { return CreateByName(Action::kActionName); }
    Action& Impl() { return Action::Object::ImplOf(action.get()); }

    // The action's operation `Slot`, called on the UI thread.
    template <class Slot, class... Args> uint32_t Run(Args... args) {
        return OnUI([&] { return *SODetails::TryCall<Slot>(action.get(), args...); });
    }
    uint32_t Param(const wchar_t* name, uint64_t value) {
        return Run<UIActionOps::PushParam>(name, value);
    }
    uint32_t Property(const wchar_t* name, const wchar_t* value) {
        return Run<UIActionOps::PushProperty>(name, value);
    }
    uint32_t Execute() { return Run<UIActionOps::Execute>(); }
    uint64_t MainWindow() {
        return OnUI([&] { return HostUI::WindowHandle(desk.mainWindow.get()); });
    }
    // A new action, given the window and element of the ribbon's Markup
    // group, a point and `kind`.
    void NewActionOn(const wchar_t* kind) {
        action = NewAction();
        ASSERT_EQ(Param(L"HWND", MainWindow()), kOk);
        ASSERT_EQ(Param(L"HELEMENT", reinterpret_cast<uint64_t>(One("#Markup"))), kOk);
        ASSERT_EQ(Property(L"point_x", L"0"), kOk);
        ASSERT_EQ(Property(L"point_y", L"0"), kOk);
        ASSERT_EQ(Property(L"markup_type", kind), kOk);
    }
    void SelectPages(uint64_t first, uint64_t last) {
        OnUI([&] {
            HostBL::ActivateTool(blView.get(), HostBL::kTextCopyTool, MarkupToolParams{});
            HostBL::SelectText(blView.get(), HostBL::kTextCopyTool, first, 0, last, 6);
        });
    }

    testsupport::TempFolder scratch;
    ObjectPtr document = NewTextDocument();
    ObjectPtr blView = desk.ShowDocument(document);
    ObjectPtr action = NewAction();
};

TEST_F(ActionTest, ParamsAreKnownByTheHashOfTheirExactName) {
    EXPECT_EQ(Param(nullptr, 1), kBadArgument);
    EXPECT_EQ(Param(L"hwnd", MainWindow()), kDeclined);
    EXPECT_EQ(Param(L"HWND", 0), kBadArgument);
    EXPECT_EQ(Param(L"HWND", 0x7777777), kBadArgument); // no window's handle
    EXPECT_EQ(Param(L"HELEMENT", 0), kBadArgument);
    EXPECT_EQ(Param(L"MKEY", 42), kOk);

    // Either order binds the element record once both are there.
    EXPECT_EQ(Param(L"HELEMENT", reinterpret_cast<uint64_t>(One("#Highlight"))), kOk);
    EXPECT_FALSE(OnUI([&] { return Impl().RecordIsValid(); }));
    EXPECT_EQ(Param(L"HWND", MainWindow()), kOk);
    EXPECT_TRUE(OnUI([&] { return Impl().RecordIsValid(); }));

    // A closed window is no window: its handle is refused, its record invalid.
    const uint64_t closed = MainWindow();
    OnUI([&] { HostUI::CloseWindow(desk.mainWindow.get()); });
    EXPECT_FALSE(OnUI([&] { return Impl().RecordIsValid(); }));
    EXPECT_EQ(Param(L"HWND", closed), kBadArgument);
}

TEST_F(ActionTest, PropertiesAreTakenOnceAndReadAsTheirTypesRead) {
    EXPECT_EQ(Property(nullptr, L"x"), kBadArgument);
    EXPECT_EQ(Property(L"doc-path", nullptr), kBadArgument);
    EXPECT_EQ(Property(L"DOC-Path", L"/tmp/a.pdf"), kOk);
    EXPECT_EQ(Impl().DocumentPath(), L"/tmp/a.pdf");

    // The first value stays.
    EXPECT_EQ(Property(L"color", L"-5573"), kOk);
    EXPECT_EQ(Property(L"color", L"1"), kGivenTwice);
    EXPECT_EQ(Impl().Color(), kHighlightColor);
    EXPECT_EQ(Property(L"point_x", L"  12abc"), kOk);
    EXPECT_EQ(Property(L"point_x", L"13"), kGivenTwice);
    EXPECT_EQ(Property(L"markup_type", L"Highlight"), kOk);
    EXPECT_EQ(Property(L"markup_type", L"Underline"), kGivenTwice);
    EXPECT_EQ(Impl().Kind(), uint32_t{kPDAtomHighlight});
    EXPECT_EQ(Property(L"Point_Y", L"1"), kOk); // not a property: nothing set
    EXPECT_EQ(Property(L"point_y", L"1"), kOk);

    // Text that is no number reads as 0; numbers beyond 32 bits clamp.
    for (const auto& [text, expected] : std::vector<std::pair<const wchar_t*, uint32_t>>{
             {L"abc", 0u}, {L"99999999999", 0x7FFFFFFFu}, {L"-99999999999", 0x80000000u}}) {
        action = NewAction();
        EXPECT_EQ(Property(L"color", text), kOk);
        EXPECT_EQ(Impl().Color(), expected) << text;
    }
}

// Execute needs a selection, both points, a kind with a colour and a view
// that permits annotations; it needs no window.
TEST_F(ActionTest, ExecuteRefusesWhatItLacksAndNeedsNoWindow) {
    NewActionOn(L"Highlight");
    EXPECT_EQ(Execute(), kNotAvailable); // no selection
    SelectPages(0, 0);
    action = NewAction();
    ASSERT_EQ(Param(L"HWND", MainWindow()), kOk);
    ASSERT_EQ(Property(L"point_x", L"0"), kOk);
    ASSERT_EQ(Property(L"markup_type", L"Highlight"), kOk);
    EXPECT_EQ(Execute(), kNotAvailable); // no point_y
    NewActionOn(L"Squiggly");
    EXPECT_EQ(Execute(), kNotAvailable); // no last colour for that kind
    OnUI([&] { HostBL::SetReadOnly(blView.get(), true); });
    ASSERT_EQ(Property(L"color", L"-65536"), kOk);
    EXPECT_EQ(Execute(), kNotPermitted);
    EXPECT_TRUE(Marks(document).empty());
    OnUI([&] { HostBL::SetReadOnly(blView.get(), false); });
    EXPECT_EQ(Execute(), kOk); // the annotation's creation decides

    // Without a window the action finds the view through the thread's main
    // frame.
    action = NewAction();
    ASSERT_EQ(Property(L"point_x", L"0"), kOk);
    ASSERT_EQ(Property(L"point_y", L"0"), kOk);
    ASSERT_EQ(Property(L"markup_type", L"StrikeOut"), kOk);
    EXPECT_EQ(Execute(), kOk);
    EXPECT_EQ(Marks(document).size(), 1u);
}

// The selection over pages 2 to 3 gets a highlight per page in the last
// highlight colour; the colour stays for the next run, and neither the
// active tool nor any last colour changes.
TEST_F(ActionTest, ExecuteMarksUpTheSelectionAndChangesNoUserState) {
    MarkupOptions::LastColorOf(kPDAtomHighlight)->Set(0x80112233u);
    const uint32_t underline = MarkupOptions::LastColorOf(kPDAtomUnderline)->Get();
    SelectPages(1, 2);
    NewActionOn(L"Highlight");
    EXPECT_EQ(Execute(), kOk);
    const Mark onPage2{1, kPDAtomHighlight, 0x112233u}, onPage3{2, kPDAtomHighlight, 0x112233u};
    EXPECT_EQ(Marks(document), (std::vector<Mark>{onPage2, onPage3}));
    EXPECT_TRUE(Impl().HasColor());

    MarkupOptions::LastColorOf(kPDAtomHighlight)->Set(kHighlightColor);
    EXPECT_EQ(Execute(), kOk); // again, with the colour of the first run
    EXPECT_EQ(Marks(document), (std::vector<Mark>{onPage2, onPage2, onPage3, onPage3}));

    NewActionOn(L"Underline");
    ASSERT_EQ(Property(L"color", L"-16776961"), kOk); // FF0000FF
    EXPECT_EQ(Execute(), kOk);
    EXPECT_EQ(Marks(document).size(), 6u);
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomUnderline)->Get(), underline);
    EXPECT_EQ(MarkupOptions::LastColorOf(kPDAtomHighlight)->Get(), kHighlightColor);
    EXPECT_EQ(OnUI([&] { return HostBL::ActiveToolName(blView.get()); }), "TextCopy");
    EXPECT_EQ(OnUI([&] { return HostBL::UndoSteps(document.get()); }), 3u);
}

// The document path goes to the side-by-side view when the collection shows
// one; a path it cannot open does not stop the markup.
TEST_F(ActionTest, DocumentPathOpensInTheSideBySideView) {
    const std::string path = scratch.Path("beside.pdf");
    testsupport::WritePdf(path,
                          {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 12, "Beside"}}}});
    const ObjectPtr sbs = desk.OnUI([&] {
        ObjectPtr made = HostUI::CreateSideBySideView(300, 200, 1);
        HostUI::AddSideBySideView(desk.Collection().get(), made.get());
        HostUI::ActivateSideBySideView(desk.Collection().get(), made.get());
        return made;
    });
    SelectPages(0, 0);
    NewActionOn(L"Highlight");
    ASSERT_EQ(Property(L"doc-path", SLText::ToWide(path).c_str()), kOk);
    EXPECT_EQ(Execute(), kOk);
    EXPECT_EQ(OnUI([&] { return HostUI::SideBySideViews(sbs.get()).size(); }), 1u);

    NewActionOn(L"Highlight");
    ASSERT_EQ(Property(L"doc-path", L"/no/such/file.pdf"), kOk);
    EXPECT_EQ(Execute(), kOk);
    EXPECT_EQ(Marks(document).size(), 2u);
}

} // namespace
} // namespace uitest
