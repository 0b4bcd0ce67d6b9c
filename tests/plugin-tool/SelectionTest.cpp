// Dragging over text in the host's views: what the tool selects, what it
// hands on per page, the edit group around it, and the live painting. The
// documents are those of ToolTestSupport.h, three pages.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "ToolTestSupport.h"
#include "bl/SelectorInputHandlerBase.h"
#include "hostbl/HostBL.h"
#include "service-common/PdfException.h"

namespace {

using tooltest::ObjectPtr;
namespace Ev = BLInputEventTypes;

// A selecting tool that records what each release hands on, and can fail.
class RecordingTool : public SelectorInputHandlerBase<RecordingTool> {
public:
    static constexpr const char* kSignatureName = "class RecordingTool";
    static SLAtom BLServiceAtom() { return SODetails::AtomFromString("BLService"); }

    RecordingTool(ServiceObject* view, ServiceObject* document) : document_(document) {
        view_ = view;
        tracker_ = std::make_unique<BL::TextSelectionTracker>(view, 0xFF00FF00u);
    }
    void OnAreaSelected(uint64_t page, const SL::RectF& rect, const std::vector<SL::Quad>& quads) {
        calls.push_back({page, rect, quads, HostBL::EditGroupDepth(document_)});
        if (page == failOnPage && standardFailure)
            throw std::runtime_error("the page refused its annotation");
        if (page == failOnPage)
            throw ServiceObjectException(2, L"Not initialized", "f", "file", 1);
    }
    uint64_t CaretIndex() { return tracker_->Caret().Caret().index; }

    struct Call {
        uint64_t page;
        SL::RectF rect;
        std::vector<SL::Quad> quads;
        uint32_t openGroups;
    };
    std::vector<Call> calls;
    uint64_t failOnPage = ~0ull;
    bool standardFailure = true;

private:
    ServiceObject* document_;
};

class SelectionTest : public ::testing::Test {
protected:
    SelectionTest() { tooltest::UseHostServices(); }

    // The centre of a character, moved right by dx; or any page point.
    SL::PointI At(uint64_t page, uint64_t index, float dx = 0) {
        const SL::PointF c = tooltest::CharCentre(index);
        return Point(page, c.x + dx, c.y);
    }
    SL::PointI Point(uint64_t page, float x, float y) {
        return tooltest::Device(view.get(), page, SL::PointF{x, y});
    }
    // Press, move, release through the tool object; what each answered.
    std::string Drag(ServiceObject* tool, SL::PointI from, SL::PointI to) {
        std::string handled;
        handled += tooltest::Send(tool, Ev::kButtonDown, Ev::kLeftButton, from) ? '1' : '0';
        handled += tooltest::Send(tool, Ev::kMouseMove, 0, to) ? '1' : '0';
        handled += tooltest::Send(tool, Ev::kButtonUp, Ev::kLeftButton, to) ? '1' : '0';
        return handled;
    }
    void Drag(RecordingTool& tool, SL::PointI from, SL::PointI to) {
        EXPECT_TRUE(tool.OnLButtonDown(from, 0));
        EXPECT_TRUE(tool.OnMouseMove(to, 0));
        EXPECT_TRUE(tool.OnLButtonUp(to, 0));
    }

    testsupport::Document pd = tooltest::NewTextDocument(3);
    ObjectPtr document = HostBL::WrapDocument(pd.get());
    ObjectPtr view = tooltest::NewView(document.get());
};

// The run's upper-left and lower-right corners.
std::string RunOf(const PDQuadF& q) {
    return std::to_string(int(q.p0.x)) + "," + std::to_string(int(q.p0.y)) + "-" +
           std::to_string(int(q.p3.x)) + "," + std::to_string(int(q.p3.y));
}

TEST_F(SelectionTest, ForwardAndBackwardDragsMarkTheSameRun) {
    const ObjectPtr tool = tooltest::NewTool(view.get());
    EXPECT_EQ(Drag(tool.get(), At(0, 1), At(0, 7)), "111"); // "ello wo"
    EXPECT_EQ(Drag(tool.get(), At(1, 7), At(1, 1)), "111");
    const std::vector<HostBL::AnnotRecord> annots = HostBL::ListAnnots(document.get());
    ASSERT_EQ(annots.size(), 2u);
    for (const HostBL::AnnotRecord& annot : annots) {
        EXPECT_EQ(annot.info.subtype, uint32_t(kPDAtomHighlight));
        ASSERT_EQ(annot.quads.size(), 1u);
        EXPECT_EQ(RunOf(annot.quads[0]), "30,180-110,170");
    }
    EXPECT_EQ(annots[1].page, 1u);
}

TEST_F(SelectionTest, ADragOverThreePagesIsOneUndoStep) {
    const ObjectPtr tool = tooltest::NewTool(view.get(), kPDAtomUnderline);
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kButtonDown, Ev::kLeftButton, At(0, 1)));
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kMouseMove, 0, At(1, 5)));
    EXPECT_EQ(Drag(tool.get(), At(2, 7), At(2, 7)), "011"); // a second press is refused
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);

    const std::vector<HostBL::AnnotRecord> annots = HostBL::ListAnnots(document.get());
    ASSERT_EQ(annots.size(), 3u);
    // From "e" on the first page (the line feed's empty run is dropped),
    // the whole middle page, up to "r" on the last.
    ASSERT_EQ(annots[0].quads.size(), 2u);
    EXPECT_EQ(RunOf(annots[0].quads[0]), "30,180-140,170");
    EXPECT_EQ(RunOf(annots[0].quads[1]), "20,160-70,150");
    ASSERT_EQ(annots[1].quads.size(), 2u);
    EXPECT_EQ(RunOf(annots[1].quads[0]), "20,180-140,170");
    ASSERT_EQ(annots[2].quads.size(), 1u);
    EXPECT_EQ(RunOf(annots[2].quads[0]), "20,180-110,170");

    EXPECT_TRUE(HostBL::Undo(document.get()));
    EXPECT_TRUE(HostBL::ListAnnots(document.get()).empty());
    EXPECT_FALSE(HostBL::Undo(document.get()));
}

TEST_F(SelectionTest, OffTextPressesAndClicksCreateNothing) {
    const ObjectPtr tool = tooltest::NewTool(view.get());
    EXPECT_EQ(Drag(tool.get(), Point(0, 100, 100), At(0, 5)), "000"); // empty page space
    EXPECT_EQ(Drag(tool.get(), SL::PointI{2, 2}, At(0, 5)), "000");   // off every page
    EXPECT_EQ(Drag(tool.get(), At(0, 2), At(0, 2)), "111");           // one character
    EXPECT_TRUE(HostBL::ListAnnots(document.get()).empty());
    EXPECT_FALSE(HostBL::Undo(document.get())); // not even an empty edit group
    // Without the button, moves only show the cursor.
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kMouseMove, 0, At(0, 2)));
    EXPECT_EQ(HostBL::LastCursor(), 4u);
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kMouseMove, 0, Point(0, 100, 100)));
    EXPECT_EQ(HostBL::LastCursor(), 5u);
}

TEST_F(SelectionTest, EveryPageOfTheSelectionIsHandedOnInsideTheGroup) {
    RecordingTool tool(view.get(), document.get());
    Drag(tool, At(0, 1), At(1, 0, -3)); // ends before the first character of page 1
    ASSERT_EQ(tool.calls.size(), 2u);
    EXPECT_EQ(tool.calls[0].quads.size(), 3u); // "ello world", the line feed, "Again"
    const SL::RectF& r = tool.calls[0].rect;
    EXPECT_EQ(std::vector<float>({r.x0, r.y0, r.x1, r.y1}),
              std::vector<float>({20, 150, 140, 180}));
    EXPECT_EQ(tool.calls[1].page, 1u);
    EXPECT_TRUE(tool.calls[1].quads.empty());
    EXPECT_EQ(tool.calls[0].openGroups + tool.calls[1].openGroups, 2u);

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

TEST_F(SelectionTest, BetweenCharactersTheCaretSnapsToTheNearestOneSwept) {
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
    ASSERT_EQ(tool.calls[1].quads.size(), 1u);
    EXPECT_EQ(tool.calls[1].quads[0].p3.x, 70);

    // A press on the right half of a line's last character anchors after it.
    Drag(tool, At(0, 9, 3), At(0, 5));
    ASSERT_EQ(tool.calls.size(), 3u);
    EXPECT_EQ(tool.calls[2].quads[0].p0.x, 90);
    EXPECT_EQ(tool.calls[2].quads[0].p1.x, 140);
}

// A page whose text cannot be loaded: pointing at it fails with the hit
// test's "Not initialized", and a drag across it ends in the failure to read
// its runs. Neither leaves an edit group open or the tool stuck.
TEST_F(SelectionTest, APageWithoutLoadableTextFailsCleanly) {
    ASSERT_EQ(FolioMemoryDamagePageText(pd.get(), 1), kPDOk);
    const ObjectPtr tool = tooltest::NewTool(view.get());
    try {
        tooltest::Send(tool.get(), Ev::kMouseMove, 0, At(1, 3));
        ADD_FAILURE() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), SODetails::kNotAvailable);
        EXPECT_EQ(e.Message(), L"Not initialized");
        EXPECT_STREQ(e.Function().c_str(), FailureSites::kHitTestChar.function);
    }
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kButtonDown, Ev::kLeftButton, At(0, 1)));
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kMouseMove, 0, At(2, 3)));
    EXPECT_THROW(tooltest::Send(tool.get(), Ev::kButtonUp, Ev::kLeftButton, At(2, 3)),
                 PDF::Exception);
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    EXPECT_EQ(HostBL::UndoSteps(document.get()), 1u); // what was made before the failure

    EXPECT_EQ(Drag(tool.get(), At(2, 1), At(2, 7)), "111");
    EXPECT_EQ(HostBL::PageAnnots(document.get(), 2).size(), 1u);
}

// Half-transparent red over the white page, where the characters are selected.
TEST_F(SelectionTest, TheDragIsPaintedLiveInTheToolColour) {
    const ObjectPtr tool = tooltest::NewTool(view.get(), kPDAtomHighlight, 0x80FF0000u);
    const SL::PointI inside = At(0, 3), outside = At(0, 9);
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kButtonDown, Ev::kLeftButton, At(0, 1)));
    HostBL::Draw(view.get());
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kMouseMove, 0, At(0, 7)));
    EXPECT_TRUE(HostBL::IsDirty(view.get())) << "the move asks for a repaint";
    const HostBL::Image image = HostBL::Draw(view.get());
    EXPECT_EQ(image.Pixel(inside.x, inside.y), 0xFF7F7FFFu);
    EXPECT_EQ(image.Pixel(outside.x, outside.y), 0xFFFFFFFFu);

    // Released, only the annotation is left: as a view without the tool shows it.
    EXPECT_TRUE(tooltest::Send(tool.get(), Ev::kButtonUp, Ev::kLeftButton, At(0, 7)));
    const ObjectPtr plain = tooltest::NewView(document.get());
    EXPECT_EQ(HostBL::Draw(view.get()).Pixel(inside.x, inside.y),
              HostBL::Draw(plain.get()).Pixel(inside.x, inside.y));
}

} // namespace
