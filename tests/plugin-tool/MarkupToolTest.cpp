// The markup tool as the host drives it, in the host's views of in-memory
// documents: what a drag selects, what it hands on per page, the edit group
// around it, the live painting; and the tool object's results, failure
// records and finishing button. (The factory's registration with the
// business-logic service is checked where the module is loaded.)
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "TestSupport.h"
#include "bl/SelectorInputHandlerBase.h"
#include "hostbl/HostBL.h"
#include "service-common/PdfException.h"
#include "service-common/ResultCodes.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

namespace {

using HostBL::ObjectPtr;
using SODetails::TryCall;
using testsupport::Box;
using Impl = BLAddTextMarkupAnnotationInputHandlerImpl;
namespace Ev = BLInputEventTypes;
namespace Ops = BLInputHandlerOps;

// The centre of a character on pages of 200 x 200, each with two lines of
// 10 x 10 characters:
//   index  H0 e1 l2 l3 o4 | w5 o6 r7 l8 d9 LF10   at y 170..180, x from 20;
//          "world" from x 90, nothing in the gap 70..90, LF zero-width at 140
//   index  A11 g12 a13 i14 n15                    at y 150..160, x from 20
SL::PointF CharCentre(uint64_t index) {
    if (index < 11)
        return SL::PointF{(index < 5 ? 25.0f : 45.0f) + 10.0f * index, 175.0f};
    return SL::PointF{25.0f + 10.0f * (index - 11), 155.0f};
}

testsupport::Document NewTextDocument(int pages) {
    testsupport::Document document = testsupport::InMemory(pages);
    for (uint64_t page = 0; page < uint64_t(pages); ++page) {
        for (uint64_t i = 0; i < 16; ++i) {
            const SL::PointF c = CharCentre(i);
            const wchar_t text[2] = {L"HelloworldLAgain"[i], L'\0'};
            const SL::Quad quad =
                i == 10 ? Box(140, 170, 140, 180) : Box(c.x - 5, c.y - 5, c.x + 5, c.y + 5);
            testsupport::AddChar(document.get(), page, i == 10 ? L"\n" : text, quad);
        }
    }
    return document;
}

// A tool object from the module's factory, initialised unless view is null.
ObjectPtr NewTool(ServiceObject* view, uint32_t subtype = kPDAtomHighlight,
                  uint32_t color = 0xFFFF0000u) {
    ObjectPtr tool;
    SODetails::CallChecked<BLInputHandlerFactoryOps::CreateInputHandler>(
        Impl::Factory::Make().get(), tool.Receive());
    const MarkupToolParams params{subtype, color};
    if (view) {
        EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view, &params), SODetails::kOk);
    }
    return tool;
}

// HandleEvent (expects result 0); returns "handled".
bool Send(ServiceObject* tool, uint32_t type, uint32_t button, SL::PointI point) {
    const BLInputEvent event{type, button, point};
    bool handled = true;
    EXPECT_EQ(*TryCall<Ops::HandleEvent>(tool, &event, &handled), SODetails::kOk);
    return handled;
}

// Upper-left and lower-right corners of each quad, "x0,y0-x1,y1 ...".
template <class Quad> std::string Corners(const std::vector<Quad>& quads) {
    std::ostringstream text;
    for (const Quad& q : quads)
        text << q.p0.x << "," << q.p0.y << "-" << q.p3.x << "," << q.p3.y << " ";
    return text.str();
}

// A selecting tool that records what each release hands on, and can fail:
// per call "page (open edit groups) [rect] corners of the quads".
class RecordingTool : public SelectorInputHandlerBase<RecordingTool> {
public:
    static constexpr const char* kSignatureName = "class RecordingTool";
    static SLAtom BLServiceAtom() { return SODetails::AtomFromString("BLService"); }

    RecordingTool(ServiceObject* view, ServiceObject* document) : document_(document) {
        view_ = view;
        tracker_ = std::make_unique<BL::TextSelectionTracker>(view, 0xFF00FF00u);
    }
    void OnAreaSelected(uint64_t page, const SL::RectF& r, const std::vector<SL::Quad>& quads) {
        calls.push_back(
            std::to_string(page) + " (" + std::to_string(HostBL::EditGroupDepth(document_)) +
            ") [" + Corners(std::vector<SL::Quad>{SL::Quad{{r.x0, r.y0}, {}, {}, {r.x1, r.y1}}}) +
            "] " + Corners(quads));
        if (page == failOnPage && standardFailure)
            throw std::runtime_error("the page refused its annotation");
        if (page == failOnPage)
            throw ServiceObjectException(2, L"Not initialized", "f", "file", 1);
    }
    uint64_t CaretIndex() { return tracker_->Caret().Caret().index; }

    std::vector<std::string> calls;
    uint64_t failOnPage = ~0ull;
    bool standardFailure = true;

private:
    ServiceObject* document_;
};

class MarkupToolTest : public ::testing::Test {
protected:
    // The host's "BLService", "GraphicsFactory" and "BLAuthor" for the
    // plug-in to find, registered once.
    static void SetUpTestSuite() { HostBL::RegisterServicesInProcess(); }

    // The centre of a character, moved right by dx; or any page point.
    SL::PointI At(uint64_t page, uint64_t index, float dx = 0) {
        const SL::PointF c = CharCentre(index);
        return Point(page, c.x + dx, c.y);
    }
    SL::PointI Point(uint64_t page, float x, float y) {
        return HostBL::PageToDevice(view.get(), page, SL::PointF{x, y});
    }
    // Press, move, release through the tool object; what each answered.
    std::string Drag(ServiceObject* tool, SL::PointI from, SL::PointI to) {
        std::string handled;
        handled += Send(tool, Ev::kButtonDown, Ev::kLeftButton, from) ? '1' : '0';
        handled += Send(tool, Ev::kMouseMove, 0, to) ? '1' : '0';
        handled += Send(tool, Ev::kButtonUp, Ev::kLeftButton, to) ? '1' : '0';
        return handled;
    }
    void Drag(RecordingTool& tool, SL::PointI from, SL::PointI to) {
        EXPECT_TRUE(tool.OnLButtonDown(from, 0));
        EXPECT_TRUE(tool.OnMouseMove(to, 0));
        EXPECT_TRUE(tool.OnLButtonUp(to, 0));
    }

    // Three pages, shown at zoom 1.
    testsupport::Document pd = NewTextDocument(3);
    ObjectPtr document = HostBL::WrapDocument(pd.get());
    ObjectPtr view = HostBL::CreateView(document.get(), 300, 720, 1.0f);
};

// The runs of each annotation, "corners ; " per annotation.
std::string Runs(const std::vector<HostBL::AnnotRecord>& annots) {
    std::string runs;
    for (const HostBL::AnnotRecord& annot : annots)
        runs += Corners(annot.quads) + "; ";
    return runs;
}

TEST_F(MarkupToolTest, DragsEitherWayAndOverThreePagesAreOneUndoStepEach) {
    const ObjectPtr tool = NewTool(view.get(), kPDAtomUnderline);
    EXPECT_EQ(Drag(tool.get(), At(2, 7), At(2, 1)), "111"); // "ello wo", backwards
    EXPECT_TRUE(Send(tool.get(), Ev::kButtonDown, Ev::kLeftButton, At(0, 1)));
    EXPECT_TRUE(Send(tool.get(), Ev::kMouseMove, 0, At(1, 5)));
    EXPECT_EQ(Drag(tool.get(), At(2, 7), At(2, 7)), "011"); // a second press is refused
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    // From "e" on the first page (the line feed's empty run is dropped),
    // the whole middle page, up to "r" on the last.
    const std::vector<HostBL::AnnotRecord> annots = HostBL::ListAnnots(document.get());
    EXPECT_EQ(Runs(annots), "30,180-140,170 20,160-70,150 ; 20,180-140,170 20,160-70,150 ; "
                            "30,180-110,170 ; 20,180-110,170 ; ");
    for (const HostBL::AnnotRecord& annot : annots)
        EXPECT_EQ(annot.info.subtype, uint32_t(kPDAtomUnderline));

    EXPECT_TRUE(HostBL::Undo(document.get()));
    EXPECT_EQ(Runs(HostBL::ListAnnots(document.get())), "30,180-110,170 ; ");
}

TEST_F(MarkupToolTest, OffTextPressesAndClicksCreateNothing) {
    const ObjectPtr tool = NewTool(view.get());
    EXPECT_EQ(Drag(tool.get(), Point(0, 100, 100), At(0, 5)), "000"); // empty page space
    EXPECT_EQ(Drag(tool.get(), SL::PointI{2, 2}, At(0, 5)), "000");   // off every page
    EXPECT_EQ(Drag(tool.get(), At(0, 2), At(0, 2)), "111");           // one character
    EXPECT_TRUE(HostBL::ListAnnots(document.get()).empty());
    EXPECT_FALSE(HostBL::Undo(document.get())); // not even an empty edit group
    // Without the button, moves only show the cursor.
    EXPECT_TRUE(Send(tool.get(), Ev::kMouseMove, 0, At(0, 2)));
    EXPECT_EQ(HostBL::LastCursor(), 4u);
    EXPECT_TRUE(Send(tool.get(), Ev::kMouseMove, 0, Point(0, 100, 100)));
    EXPECT_EQ(HostBL::LastCursor(), 5u);
}

TEST_F(MarkupToolTest, EveryPageOfTheSelectionIsHandedOnInsideTheGroup) {
    RecordingTool tool(view.get(), document.get());
    Drag(tool, At(0, 1), At(1, 0, -3)); // ends before the first character of page 1
    // "ello world", the line feed, "Again"; nothing on page 1.
    EXPECT_EQ(tool.calls,
              (std::vector<std::string>{
                  "0 (1) [20,150-140,180 ] 30,180-140,170 140,180-140,170 20,160-70,150 ",
                  "1 (1) [0,0-0,0 ] "}));

    // A failing page ends the release; the group is closed all the same.
    for (bool standard : {true, false}) {
        RecordingTool failing(view.get(), document.get());
        failing.failOnPage = 1;
        failing.standardFailure = standard;
        Drag(failing, At(0, 1), At(2, 3));
        EXPECT_EQ(failing.calls.size(), 2u);
    }
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
}

TEST_F(MarkupToolTest, BetweenCharactersTheCaretSnapsToTheNearestOneSwept) {
    RecordingTool tool(view.get(), document.get());
    EXPECT_TRUE(tool.OnLButtonDown(At(0, 1), 0));
    EXPECT_TRUE(tool.OnMouseMove(Point(0, 78, 175), 0)); // the word gap: after "o"
    EXPECT_EQ(tool.CaretIndex(), 5u);
    EXPECT_FALSE(tool.OnMouseMove(SL::PointI{2, 2}, 0)); // off the pages: it stays
    EXPECT_EQ(tool.CaretIndex(), 5u);
    // Between the lines of page 1, swept from its top edge: after "Hello".
    EXPECT_TRUE(tool.OnMouseMove(Point(1, 62, 165), 0));
    EXPECT_EQ(tool.CaretIndex(), 5u);
    EXPECT_TRUE(tool.OnLButtonUp(Point(1, 62, 165), 0));
    ASSERT_EQ(tool.calls.size(), 2u);
    EXPECT_EQ(tool.calls[1], "1 (1) [20,170-70,180 ] 20,180-70,170 ");

    // A press on the right half of a line's last character anchors after it.
    Drag(tool, At(0, 9, 3), At(0, 5));
    ASSERT_EQ(tool.calls.size(), 3u);
    EXPECT_EQ(tool.calls[2], "0 (1) [90,170-140,180 ] 90,180-140,170 ");
}

// A page whose text cannot be loaded: pointing at it fails with the hit
// test's "Not initialized", and a drag across it ends in the failure to read
// its runs. Neither leaves an edit group open or the tool stuck.
TEST_F(MarkupToolTest, APageWithoutLoadableTextFailsCleanly) {
    ASSERT_EQ(FolioMemoryDamagePageText(pd.get(), 1), kPDOk);
    const ObjectPtr tool = NewTool(view.get());
    try {
        Send(tool.get(), Ev::kMouseMove, 0, At(1, 3));
        ADD_FAILURE() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), SODetails::kNotAvailable);
        EXPECT_EQ(e.Message(), L"Not initialized");
        EXPECT_STREQ(e.Function().c_str(), FailureSites::kHitTestChar.function);
    }
    EXPECT_TRUE(Send(tool.get(), Ev::kButtonDown, Ev::kLeftButton, At(0, 1)));
    EXPECT_TRUE(Send(tool.get(), Ev::kMouseMove, 0, At(2, 3)));
    EXPECT_THROW(Send(tool.get(), Ev::kButtonUp, Ev::kLeftButton, At(2, 3)), PDF::Exception);
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u); // what was made before the failure

    EXPECT_EQ(Drag(tool.get(), At(2, 1), At(2, 7)), "111");
    EXPECT_EQ(HostBL::PageAnnots(document.get(), 2).size(), 1u);
}

// Half-transparent red over the white page, where the characters are selected.
TEST_F(MarkupToolTest, TheDragIsPaintedLiveInTheToolColour) {
    const ObjectPtr tool = NewTool(view.get(), kPDAtomHighlight, 0x80FF0000u);
    const SL::PointI inside = At(0, 3), outside = At(0, 9);
    EXPECT_TRUE(Send(tool.get(), Ev::kButtonDown, Ev::kLeftButton, At(0, 1)));
    HostBL::Draw(view.get());
    EXPECT_TRUE(Send(tool.get(), Ev::kMouseMove, 0, At(0, 7)));
    EXPECT_TRUE(HostBL::IsDirty(view.get())) << "the move asks for a repaint";
    const HostBL::Image image = HostBL::Draw(view.get());
    EXPECT_EQ(image.Pixel(inside.x, inside.y), 0xFF7F7FFFu);
    EXPECT_EQ(image.Pixel(outside.x, outside.y), 0xFFFFFFFFu);

    // Released, only the annotation is left: as a view without the tool shows it.
    EXPECT_TRUE(Send(tool.get(), Ev::kButtonUp, Ev::kLeftButton, At(0, 7)));
    const ObjectPtr plain = HostBL::CreateView(document.get(), 300, 720, 1.0f);
    EXPECT_EQ(HostBL::Draw(view.get()).Pixel(inside.x, inside.y),
              HostBL::Draw(plain.get()).Pixel(inside.x, inside.y));
}

TEST_F(MarkupToolTest, NullPointersGiveBadArgumentAndEveryToolIsNew) {
    const ObjectPtr factory = Impl::Factory::Make();
    ObjectPtr tools[2];
    for (ObjectPtr& tool : tools) {
        ASSERT_EQ(
            *TryCall<BLInputHandlerFactoryOps::CreateInputHandler>(factory.get(), tool.Receive()),
            SODetails::kOk);
        EXPECT_EQ(tool->common.GetRefCount(tool.get()), 1u);
        SLAtom name = 0;
        EXPECT_EQ(*TryCall<Ops::GetToolName>(tool.get(), &name), SODetails::kOk);
        EXPECT_EQ(name, SODetails::AtomFromString("AddTextMarkupAnnot"));
    }
    EXPECT_NE(tools[0], tools[1]);

    ServiceObject* t = tools[0].get();
    const MarkupToolParams params{kPDAtomHighlight, 0xFF00FF00u};
    const BLInputEvent event{Ev::kMouseMove, 0, {0, 0}};
    bool flag = false;
    EXPECT_EQ(*TryCall<Ops::Initialize>(t, nullptr, &params), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::GetToolName>(t, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::IsFinished>(t, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::Removed>(t, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::HandleEvent>(t, nullptr, &flag), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::HandleEvent>(t, &event, nullptr), SODetails::kBadArgument);
    // Declined, which is not recorded as a failure.
    EXPECT_EQ(*TryCall<Ops::FocusAnnot>(t, nullptr), SODetails::kDeclined);
    ErrorInfo info{};
    t->common.GetErrorInfo(t, &info, nullptr);
    EXPECT_EQ(std::wstring(info.message), L"BLInputHandler::HandleEvent() failed, code: 3");
    EXPECT_STREQ(info.function,
                 "SOImpl::CppBLInputHandlerBase<class BLAddTextMarkupAnnotationInputHandlerImpl,"
                 "class SODetails::ServiceObjectTraits>::HandleEventImpl::staticF");
    EXPECT_STREQ(info.file, "app\\include\\bl\\inputhandler");

    EXPECT_EQ(*TryCall<BLInputHandlerFactoryOps::CreateInputHandler>(factory.get(), nullptr),
              SODetails::kBadArgument);
    factory->common.GetErrorInfo(factory.get(), &info, nullptr);
    EXPECT_STREQ(info.file, "app\\include\\bl\\inputhandlerfactory");
}

TEST_F(MarkupToolTest, InitializeWithoutParamsAndTheFinishingButton) {
    const SL::PointI onText = At(0, 1);
    const ObjectPtr tool = NewTool(nullptr);
    Impl& impl = Impl::Object::ImplOf(tool.get());

    // The view is kept, but without a tracker no press or release is handled.
    EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view.get(), nullptr), SODetails::kNotAvailable);
    EXPECT_EQ(impl.View(), view.get());
    EXPECT_FALSE(Send(tool.get(), Ev::kButtonDown, 0, onText));
    EXPECT_FALSE(Send(tool.get(), Ev::kButtonUp, 0, onText));

    const MarkupToolParams params{kPDAtomStrikeOut, 0x80102030u};
    EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view.get(), &params), SODetails::kOk);
    const BL::TextSelectionTracker* tracker = impl.Tracker();
    bool finished = true;
    for (uint32_t type : {2u, 3u, 7u}) // other buttons and events do not finish
        EXPECT_FALSE(Send(tool.get(), type, type == 3 ? 2 : 1, onText));
    EXPECT_EQ(*TryCall<Ops::IsFinished>(tool.get(), &finished), SODetails::kOk);
    EXPECT_FALSE(finished);
    EXPECT_FALSE(Send(tool.get(), Ev::kButtonUp, 1, onText));
    EXPECT_EQ(*TryCall<Ops::IsFinished>(tool.get(), &finished), SODetails::kOk);
    EXPECT_TRUE(finished);

    // Only Initialize clears it; without params the rest stays as it was.
    EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view.get(), nullptr), SODetails::kNotAvailable);
    EXPECT_EQ(std::make_tuple(impl.IsFinishedNow(), impl.Tracker(), impl.Subtype(), impl.Color()),
              std::make_tuple(false, tracker, uint32_t(kPDAtomStrikeOut), 0x80102030u));
    EXPECT_EQ(*TryCall<Ops::Terminate>(tool.get()), SODetails::kOk);
    EXPECT_EQ(impl.Tracker(), nullptr);
}

} // namespace
