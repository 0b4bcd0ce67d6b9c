// Document views: layout, coordinate conversions, events, the active tool
// and the permission to add annotations. (Drawing through the graphics
// factory is checked with the markup tool's live painting.)
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "HostBLProbes.h"
#include "bl/BLInputHandler.h"
#include "service-common/BoundingRect.h"
#include "service-common/EventSubscription.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace {

using namespace HostBLTest;
using namespace BLDocumentViewOps;
using SODetails::CallChecked;

constexpr float kZoom = 1.5f;

template <class Rect> std::vector<double> Corners(const Rect& r) {
    return {double(r.x0), double(r.y0), double(r.x1), double(r.y1)};
}

// Upright, cropped and turned pages of different sizes.
const std::vector<PageSpec> kPages = {
    {{0, 0, 200, 100}, 0, 3},
    {{50, 20, 250, 140}, 90, 3},
    {{10, 10, 110, 210}, 180, 3},
    {{0, 0, 300, 150}, 270, 3},
};

class ViewTest : public ::testing::Test {
protected:
    ObjectPtr document = MakeDocument(kPages);
    ObjectPtr view = HostBL::CreateView(document.get(), 400, 300, kZoom);

    uint64_t PageAt(int32_t x, int32_t y) {
        SL::PointI p{x, y};
        uint64_t page = 0;
        CallChecked<PageFromPoint>(view.get(), &p, &page);
        return page;
    }
};

TEST_F(ViewTest, ConversionsAreInversesOnTurnedAndCroppedPages) {
    for (uint64_t page = 0; page < kPages.size(); ++page) {
        SCOPED_TRACE(page);
        HostBL::ScrollToPage(view.get(), page);
        const SL::RectI shown = HostBL::PageDeviceRect(view.get(), page);
        const PDRectF& crop = kPages[page].crop;

        // Device -> page -> device is exact, over the whole shown page.
        for (int32_t y = shown.y0; y < shown.y1; y += 7)
            for (int32_t x = shown.x0; x < shown.x1; x += 7) {
                const SL::PointI back = HostBL::PageToDevice(
                    view.get(), page, HostBL::DeviceToPage(view.get(), page, {x, y}));
                ASSERT_EQ(back.x, x);
                ASSERT_EQ(back.y, y);
            }

        // One pixel to the right moves along the page as the rotation says.
        const SL::PointF a = HostBL::DeviceToPage(view.get(), page, {shown.x0 + 10, shown.y0 + 10});
        const SL::PointF b = HostBL::DeviceToPage(view.get(), page, {shown.x0 + 11, shown.y0 + 10});
        const float step = 1 / kZoom;
        const int rotate = kPages[page].rotate;
        EXPECT_NEAR(b.x - a.x, rotate == 0 ? step : rotate == 180 ? -step : 0, 1e-4);
        EXPECT_NEAR(b.y - a.y, rotate == 90 ? step : rotate == 270 ? -step : 0, 1e-4);

        // The crop box is exactly the shown page.
        SL::RectF box{crop.x0, crop.y0, crop.x1, crop.y1};
        SL::RectI device{};
        CallChecked<PageRectToDevice>(view.get(), page, &box, &device);
        EXPECT_EQ(Corners(device), Corners(shown));

        // Page rect -> device -> page within half a pixel, minimum first.
        SL::RectF inner{crop.x0 + 61.1f, crop.y0 + 40.2f, crop.x0 + 13.3f, crop.y0 + 7.7f};
        CallChecked<PageRectToDevice>(view.get(), page, &inner, &device);
        EXPECT_LT(device.x0, device.x1);
        EXPECT_LT(device.y0, device.y1);
        SL::RectF back{};
        CallChecked<DeviceRectToPage>(view.get(), page, &device, &back);
        const std::vector<double> got = Corners(back), want = Corners(SL::Ordered(inner));
        for (std::size_t i = 0; i < want.size(); ++i)
            EXPECT_NEAR(got[i], want[i], 0.5f / kZoom + 1e-3f) << i;
    }
}

TEST_F(ViewTest, PageFromPointFindsPagesAndMissesGaps) {
    const SL::RectI first = HostBL::PageDeviceRect(view.get(), 0);
    const SL::RectI second = HostBL::PageDeviceRect(view.get(), 1);
    EXPECT_EQ(first.y0, HostBL::kPageGap);
    EXPECT_EQ(second.y0, first.y1 + HostBL::kPageGap);
    EXPECT_EQ(first.x0, (400 - 300) / 2); // centred

    EXPECT_EQ(PageAt(first.x0, first.y0), 0u);
    EXPECT_EQ(PageAt(first.x1 - 1, first.y1 - 1), 0u);
    EXPECT_EQ(PageAt(first.x1, first.y0), kNoPage);          // right of the page
    EXPECT_EQ(PageAt(first.x0 + 5, first.y0 - 1), kNoPage);  // above it
    EXPECT_EQ(PageAt(second.x0 + 5, first.y1 + 3), kNoPage); // in the gap
    EXPECT_EQ(PageAt(second.x0, second.y0), 1u);
    EXPECT_EQ(PageAt(second.x0 - 1, second.y0 + 5), kNoPage); // beside a narrow page

    // Scrolling moves the pages up; the scroll position is clamped.
    HostBL::ScrollTo(view.get(), 50);
    EXPECT_EQ(HostBL::PageDeviceRect(view.get(), 1).y0, second.y0 - 50);
    EXPECT_EQ(PageAt(second.x0, second.y0 - 50), 1u);
    HostBL::ScrollTo(view.get(), 1 << 20);
    const SL::RectI last = HostBL::PageDeviceRect(view.get(), 3);
    EXPECT_EQ(last.y1 + HostBL::kPageGap, 300);
    EXPECT_EQ(HostBL::VisiblePages(view.get()).back(), 3u);
}

namespace E = BLDocumentViewEvents;

template <class... Slots> std::vector<uint64_t> SubscribeAll(ServiceObject* view, Probe& probe) {
    return {SubscribeProbe<Slots>(view, probe)...};
}

TEST_F(ViewTest, EverySubscriptionIsDestroyedExactlyOnce) {
    Probe probe, refused;
    const std::vector<uint64_t> handles =
        SubscribeAll<E::OnLayoutChanged, E::OnFocusPageChanged, E::OnVisibleRangeChanged,
                     E::OnPagesChanged, E::OnZoomChanged, E::OnSelectionChanged,
                     E::OnAvailableOperationsChanged, E::OnActiveToolChanged, E::OnDrawPageView,
                     E::OnScrollChanged, E::OnViewRulerStateChanged, E::OnViewGridStateChanged,
                     E::OnLockedStateChanged, E::OnViewStateChanged>(view.get(), probe);
    EXPECT_EQ(std::set<uint64_t>(handles.begin(), handles.end()).size(), 14u);
    EXPECT_EQ(std::count(handles.begin(), handles.end(), 0u), 0);

    // No handler: refused, and the context is let go at once.
    EXPECT_EQ(SubscribeProbe<E::OnSelectionChanged>(view.get(), refused, false), 0u);
    EXPECT_EQ(refused.destroyed, 1);

    // Unsubscribing destroys the context; a handle is good only once.
    EXPECT_EQ(UnsubscribeProbe<E::OnSelectionChanged>(view.get(), handles[5]), SODetails::kOk);
    EXPECT_EQ(probe.destroyed, 1);
    EXPECT_EQ(UnsubscribeProbe<E::OnSelectionChanged>(view.get(), handles[5]),
              SODetails::kBadArgument);
    EXPECT_EQ(UnsubscribeProbe<E::OnActiveToolChanged>(view.get(), handles[0]),
              SODetails::kBadArgument);

    HostBL::SelectText(view.get(), "TextCopy", 0, 0, 0, 2); // nobody listens any more
    EXPECT_EQ(probe.calls, 0);
    CallChecked<SetActiveTool>(view.get(), 7u, nullptr);
    EXPECT_EQ(probe.calls, 1);

    view.Reset(); // the rest die with the view
    EXPECT_EQ(probe.destroyed, 14);
}

TEST_F(ViewTest, EventsMayBeRaisedWhileSubscriptionsChange) {
    Probe steady, churn;
    SubscribeProbe<E::OnActiveToolChanged>(view.get(), steady);
    constexpr int kRounds = 2000;
    std::thread raiser([&] {
        for (int i = 0; i < kRounds; ++i)
            CallChecked<SetActiveTool>(view.get(), 1u, nullptr);
    });
    for (int i = 0; i < kRounds; ++i) {
        const uint64_t handle = SubscribeProbe<E::OnActiveToolChanged>(view.get(), churn);
        ASSERT_EQ(UnsubscribeProbe<E::OnActiveToolChanged>(view.get(), handle), SODetails::kOk);
    }
    raiser.join();
    EXPECT_EQ(steady.calls, kRounds);
    EXPECT_EQ(churn.destroyed, kRounds);
    view.Reset();
    EXPECT_EQ(steady.destroyed, 1);
}

// A tool object that counts its Terminate calls.
struct FakeToolInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<FakeToolInterface, int*>;
    static constexpr const char* kName = "BLInputHandler";
    static constexpr std::size_t kOperationCount = 9;
    static uint32_t Terminate(ServiceObject* self) {
        ++*Object::ImplOf(self);
        return 0;
    }
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLInputHandlerOps::Terminate>(ops, &Terminate);
    }
};

TEST_F(ViewTest, ActiveToolIsKeptUntilEndedAndTerminated) {
    int terminated = 0;
    Probe probe;
    SubscribeProbe<E::OnActiveToolChanged>(view.get(), probe);
    ObjectPtr tool = ObjectPtr::Adopt(FakeToolInterface::Object::New(&terminated));

    CallChecked<SetActiveTool>(view.get(), 42u, tool.get());
    EXPECT_EQ(tool->common.GetRefCount(tool.get()), 2u);
    SLAtom active = 0;
    CallChecked<GetActiveTool>(view.get(), &active);
    EXPECT_EQ(active, 42u);
    EXPECT_EQ(HostBL::ActiveTool(view.get()), tool);

    CallChecked<EndActiveTool>(view.get(), true);
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(tool->common.GetRefCount(tool.get()), 1u);
    CallChecked<GetActiveTool>(view.get(), &active);
    EXPECT_EQ(active, 0u);
    EXPECT_EQ(probe.calls, 2);

    // A view that dies with an active tool terminates it too.
    CallChecked<SetActiveTool>(view.get(), 42u, tool.get());
    view.Reset();
    EXPECT_EQ(terminated, 2);
    EXPECT_EQ(tool->common.GetRefCount(tool.get()), 1u);
}

// Whether annotations may be added in a view. (That a document whose
// permissions forbid them refuses them in every view is checked where the
// command line marks up such a file.)
bool AnnotationsAllowed(ServiceObject* view) {
    bool allowed = true;
    CallChecked<IsOperationAllowed>(view, BLViewOperation::kAnnotations, BLViewOperation::kAdd,
                                    true, false, &allowed);
    return allowed;
}

TEST_F(ViewTest, AReadOnlyViewRefusesAnnotationsAndSaysSoInItsState) {
    std::vector<uint32_t> states;
    const auto subscription = SOEvent::Subscribe<E::OnViewStateChanged>(
        view.get(), [&](uint32_t state) { states.push_back(state); });

    EXPECT_EQ(HostBL::ViewState(view.get()), 0u);
    EXPECT_TRUE(AnnotationsAllowed(view.get()));
    bool other = true;
    CallChecked<IsOperationAllowed>(view.get(), 3u, 5u, true, false, &other);
    EXPECT_FALSE(other) << "no other change is known to this host";

    HostBL::SetReadOnly(view.get(), true);
    HostBL::SetReadOnly(view.get(), true);
    EXPECT_EQ(HostBL::ViewState(view.get()), BLViewState::kReadOnly);
    EXPECT_FALSE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(HostBL::AnnotationsBlocked(view.get()), HostBL::AnnotationBlock::kReadOnlyView);
    HostBL::SetReadOnly(view.get(), false);
    EXPECT_TRUE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(states, (std::vector<uint32_t>{BLViewState::kReadOnly, 0u}))
        << "one event per change";
}

} // namespace
