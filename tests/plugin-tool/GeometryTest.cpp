// Joining character quads into line runs, and the fill geometry of the live
// selection, on synthetic quads.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "TestSupport.h"
#include "bl/GraphicsFactory.h"
#include "bl/internal/TextSelectionTracker.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace {

using SODetails::SetOperation;
using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
using testsupport::Box;

// A graphics factory whose paths write what they are given as text:
// "R x0,y0,x1,y1" for a rectangle, "F x,y x,y ..." for a figure.
struct Path {
    std::string shapes;
    static constexpr const char* kName = "GRPath";
    static constexpr std::size_t kOperationCount = GRPathOps::kOperationCount;
    using Object = SODetails::ServiceObjectCppTheConcrete<Path, Path>;
    // Appends `text` to the shapes of the path `self`.
    static uint32_t Add(ServiceObject* self, const std::string& text) {
        Object::ImplOf(self).shapes += text;
        return 0;
    }
    static std::string Text(float v) { return std::to_string(int(v)); }
    static std::string Text(const SL::PointF* p) { return Text(p->x) + "," + Text(p->y); }
    static void FillOperations(SODetails::Operation* ops) {
        SetOperation<GRPathOps::BeginFigure>(ops, [](ServiceObject* self, const SL::PointF* p) {
            return Add(self, "F " + Text(p));
        });
        SetOperation<GRPathOps::AddLine>(
            ops, [](ServiceObject* self, const SL::PointF* p) { return Add(self, " " + Text(p)); });
        SetOperation<GRPathOps::EndFigure>(
            ops, [](ServiceObject* self, uint32_t) { return Add(self, "; "); });
        SetOperation<GRPathOps::AddRectangle>(ops, [](ServiceObject* self, const SL::RectF* r) {
            return Add(self, "R " + Text(r->x0) + "," + Text(r->y0) + "," + Text(r->x1) + "," +
                                 Text(r->y1) + "; ");
        });
    }
};

struct Factory {
    static constexpr const char* kName = "GRFactory";
    static constexpr std::size_t kOperationCount = GRFactoryOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SetOperation<GRFactoryOps::CreatePath>(ops, [](ServiceObject*, ServiceObject** out) {
            *out = Path::Object::New();
            return 0u;
        });
    }
};

TEST(JoinQuadsTest, RunsFollowTheLinesOfTheText) {
    const SL::Quad a = Box(10, 20, 16, 30);
    EXPECT_TRUE(BL::CanJoinQuads(a, Box(16, 20, 22, 30)));
    EXPECT_TRUE(BL::CanJoinQuads(a, Box(30, 20, 36, 30)));                    // across a word gap
    EXPECT_TRUE(BL::CanJoinQuads(a, Box(16, 20.01f, 22, 30.01f)));            // a hair off
    EXPECT_FALSE(BL::CanJoinQuads(a, Box(16, 23, 20, 33)));                   // raised baseline
    EXPECT_FALSE(BL::CanJoinQuads(a, Box(16, 20, 22, 31)));                   // another top line
    EXPECT_FALSE(BL::CanJoinQuads(Box(10, 20, 40, 30), Box(20, 20, 26, 30))); // not beyond
    EXPECT_FALSE(BL::CanJoinQuads(a, Box(10, 5, 16, 15)));                    // the next line
    // A bottom edge of 0.1 or less, on either side, keeps a run of its own.
    EXPECT_FALSE(BL::CanJoinQuads(a, Box(16, 20, 16, 30)));
    EXPECT_FALSE(BL::CanJoinQuads(a, Box(16, 20, 16.08f, 30)));
    EXPECT_FALSE(BL::CanJoinQuads(Box(16, 20, 16.05f, 30), Box(16.05f, 20, 22, 30)));

    const std::vector<SL::Quad> runs =
        BL::JoinQuads({a, Box(16, 20, 22, 30), Box(22, 20, 28, 30), Box(28, 20, 28, 30),
                       Box(10, 5, 16, 15), Box(16, 5, 22, 15)});
    ASSERT_EQ(runs.size(), 3u);
    const SL::Quad& line = runs[0]; // the first quad's left side, the last one's right
    EXPECT_EQ(std::vector<float>(
                  {line.p0.x, line.p2.x, line.p1.x, line.p3.x, runs[2].p3.x, runs[2].p3.y}),
              std::vector<float>({10, 10, 28, 28, 22, 5}));
}

TEST(SelectionGeometryTest, LinesMergeIntoRectanglesOtherShapesBecomeFigures) {
    const SL::Quad slanted{{32, 30}, {38, 30}, {30, 20}, {36, 20}};
    const SL::Quad mirrored{{56, 30}, {50, 30}, {56, 20}, {50, 20}};
    const SL::Quad turned{{60, 100}, {60, 94}, {50, 100}, {50, 94}}; // text running down
    const ObjectPtr factory =
        ObjectPtr::Adopt(SODetails::ServiceObjectCppTheConcrete<Factory, Factory>::New());
    const ObjectPtr path = BL::BuildSelectionGeometry(
        factory.get(), {Box(10, 20, 16, 30), Box(16, 20, 22, 30),
                        Box(22, 21, 28, 31.5f), // less than 2 off the line: merged
                        slanted, Box(40, 20, 46, 30), mirrored, Box(10, 5, 16, 15),
                        Box(16, 5, 22, 15), Box(12, 5, 20, 15), // not advancing to the right
                        turned});
    EXPECT_EQ(Path::Object::ImplOf(path.get()).shapes,
              "R 10,20,28,31; F 32,30 38,30 36,20 30,20; R 40,20,46,30; "
              "F 56,30 50,30 50,20 56,20; R 10,5,22,15; R 12,5,20,15; R 50,94,60,100; ");
}

// Upright rectangles skip the angle computation; whatever their size, the
// angles would have said the same.
TEST(SelectionGeometryTest, UprightRectanglesOfAnySizeAreRightAngled) {
    const auto byAngles = [](const SL::Quad& q) {
        const auto angle = [](const SL::PointF& from, const SL::PointF& to) {
            return std::atan2(double(to.y) - from.y, double(to.x) - from.x);
        };
        const auto quarter = [&](const SL::PointF& v, const SL::PointF& a, const SL::PointF& b) {
            double turn = angle(v, a) - angle(v, b);
            turn += turn < 0.0 ? 6.283185307179586 : 0.0;
            return turn >= 1.5706964 && turn <= 1.5708964;
        };
        return quarter(q.p0, q.p1, q.p2) && quarter(q.p1, q.p3, q.p0) && quarter(q.p3, q.p2, q.p1);
    };
    std::mt19937 random(7);
    std::uniform_real_distribution<float> exponent(-44, 38);
    const auto any = [&] {
        return std::pow(10.0f, exponent(random)) * (random() % 2 ? 1.0f : -1.0f);
    };
    for (int i = 0; i < 20000; ++i) {
        float x0 = any(), x1 = any(), y0 = any(), y1 = any();
        if (!(x0 < x1) || !(y0 < y1))
            continue;
        const SL::Quad q = Box(x0, y0, x1, y1);
        ASSERT_TRUE(byAngles(q)) << x0 << " " << y0 << " " << x1 << " " << y1;
        ASSERT_TRUE(BL::IsRightAngled(q));
    }
}

} // namespace
