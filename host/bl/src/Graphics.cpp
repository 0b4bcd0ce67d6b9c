// "GraphicsFactory" and what it makes: solid brushes, paths of polygons in
// page space, and the render targets through which draw handlers paint a
// page of a view's image.
#include <algorithm>
#include <cmath>

#include "Objects.h"
#include "Services.h"
#include "bl/GraphicsFactory.h"

namespace HostBLImpl {

namespace {

// ---------------------------------------------------------------------------
// Brushes

struct BrushImpl {
    explicit BrushImpl(uint32_t argb) : color(argb) {}
    uint32_t color; // alpha in the top byte, then red, green, blue
};

struct BrushInterface {
    using Impl = BrushImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<BrushInterface, BrushImpl>;
    static constexpr const char* kName = "GRSolidBrush";
    static constexpr const wchar_t* kWideName = L"GRSolidBrush";
    using GetColor = SODetails::OperationSlot<0, uint32_t(uint32_t* color)>;
    static constexpr std::size_t kOperationCount = 1;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<GetColor>(ops, &GetColorOf);
    }
    static uint32_t GetColorOf(ServiceObject* self, uint32_t* color) {
        if (!color)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetColor");
        *color = Object::ImplOf(self).color;
        return kOk;
    }
};

// ---------------------------------------------------------------------------
// Paths

using Polygon = std::vector<SL::PointF>;

struct PathImpl {
    std::mutex mutex;
    std::vector<Polygon> figures; // every figure is filled as if closed
    Polygon open;
    bool figureOpen = false;

    std::vector<Polygon> Figures() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<Polygon> all = figures;
        if (figureOpen)
            all.push_back(open);
        return all;
    }
};

struct PathInterface {
    using Impl = PathImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<PathInterface, PathImpl>;
    static constexpr const char* kName = "GRPath";
    static constexpr const wchar_t* kWideName = L"GRPath";
    static constexpr std::size_t kOperationCount = GRPathOps::kOperationCount;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<GRPathOps::BeginFigure>(ops, &BeginFigure);
        SODetails::SetOperation<GRPathOps::EndFigure>(ops, &EndFigure);
        SODetails::SetOperation<GRPathOps::AddLine>(ops, &AddLine);
        SODetails::SetOperation<GRPathOps::AddRectangle>(ops, &AddRectangle);
    }

    // A figure still open when the next begins is kept as it is.
    static uint32_t BeginFigure(ServiceObject* self, const SL::PointF* start) {
        if (!start)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"BeginFigure");
        PathImpl& path = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(path.mutex);
        if (path.figureOpen)
            path.figures.push_back(std::move(path.open));
        path.open.assign(1, *start);
        path.figureOpen = true;
        return kOk;
    }

    static uint32_t EndFigure(ServiceObject* self, uint32_t) {
        PathImpl& path = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(path.mutex);
        if (!path.figureOpen)
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"EndFigure");
        path.figures.push_back(std::move(path.open));
        path.open.clear();
        path.figureOpen = false;
        return kOk;
    }

    static uint32_t AddLine(ServiceObject* self, const SL::PointF* to) {
        if (!to)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"AddLine");
        PathImpl& path = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(path.mutex);
        if (!path.figureOpen)
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"AddLine");
        path.open.push_back(*to);
        return kOk;
    }

    static uint32_t AddRectangle(ServiceObject* self, const SL::RectF* rect) {
        if (!rect)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"AddRectangle");
        PathImpl& path = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(path.mutex);
        path.figures.push_back({{rect->x0, rect->y0},
                                {rect->x1, rect->y0},
                                {rect->x1, rect->y1},
                                {rect->x0, rect->y1}});
        return kOk;
    }
};

// ---------------------------------------------------------------------------
// Render targets

uint8_t Blend(uint8_t source, uint8_t destination, uint32_t alpha) {
    return static_cast<uint8_t>((source * alpha + destination * (255 - alpha) + 127) / 255);
}

// What blending one colour over a pixel does to each of its four bytes, for
// every value the byte can have.
struct BlendTables {
    uint8_t channel[4][256];

    BlendTables(uint32_t argb, uint32_t alpha) {
        const uint8_t source[3] = {static_cast<uint8_t>((argb >> 16) & 0xFF),
                                   static_cast<uint8_t>((argb >> 8) & 0xFF),
                                   static_cast<uint8_t>(argb & 0xFF)};
        for (uint32_t value = 0; value < 256; ++value) {
            for (int c = 0; c < 3; ++c)
                channel[c][value] = Blend(source[c], static_cast<uint8_t>(value), alpha);
            channel[3][value] = static_cast<uint8_t>(alpha + (value * (255 - alpha) + 127) / 255);
        }
    }

    void Apply(uint8_t* pixel, std::size_t count) const {
        for (uint8_t* end = pixel + count * 4; pixel != end; pixel += 4) {
            pixel[0] = channel[0][pixel[0]];
            pixel[1] = channel[1][pixel[1]];
            pixel[2] = channel[2][pixel[2]];
            pixel[3] = channel[3][pixel[3]];
        }
    }
};

// An edge of a polygon that is neither horizontal nor beyond the floats, as
// given (from -> to), with the rows of pixel centres it crosses:
// low <= y + 0.5 < high.
struct PolygonEdge {
    SL::PointF from, to;
    float low, high;
};

// Fills the polygons (device pixels) by the non-zero rule, sampling pixel
// centres, blending `argb` over the image inside `clip`. Rows are swept
// from top to bottom with the edges that cross them.
void FillPolygons(HostBL::Image& image, const std::vector<std::vector<SL::PointF>>& polygons,
                  uint32_t argb, const SL::RectI& clip) {
    const uint32_t alpha = argb >> 24;
    if (alpha == 0)
        return;
    std::vector<PolygonEdge> edges;
    for (const auto& polygon : polygons) {
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const SL::PointF& p = polygon[i];
            const SL::PointF& q = polygon[(i + 1) % polygon.size()];
            const bool finite = std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(q.x) &&
                                std::isfinite(q.y);
            if (finite && p.y != q.y)
                edges.push_back({p, q, std::min(p.y, q.y), std::max(p.y, q.y)});
        }
    }
    if (edges.empty())
        return;
    std::sort(edges.begin(), edges.end(),
              [](const PolygonEdge& a, const PolygonEdge& b) { return a.low < b.low; });

    const BlendTables blend(argb, alpha);
    struct Crossing {
        double x;
        int winding;
        bool operator<(const Crossing& other) const { return x < other.x; }
    };
    std::vector<Crossing> crossings;
    std::vector<const PolygonEdge*> active;
    std::size_t next = 0;
    // The first row whose centre the topmost edge reaches.
    const double top = std::ceil(static_cast<double>(edges.front().low) - 0.5);
    for (int32_t y = top > clip.y0 ? static_cast<int32_t>(std::min<double>(top, clip.y1)) : clip.y0;
         y < clip.y1; ++y) {
        const double sampleY = y + 0.5;
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [&](const PolygonEdge* e) { return e->high <= sampleY; }),
                     active.end());
        for (; next < edges.size() && edges[next].low <= sampleY; ++next) {
            if (sampleY < edges[next].high)
                active.push_back(&edges[next]);
        }
        if (active.empty()) {
            if (next == edges.size())
                break;
            continue;
        }
        crossings.clear();
        for (const PolygonEdge* e : active) {
            const SL::PointF& p = e->from;
            const SL::PointF& q = e->to;
            const double x = p.x + (sampleY - p.y) * (q.x - p.x) / (q.y - p.y);
            crossings.push_back({x, p.y < q.y ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (winding == 0)
                continue;
            // Pixels whose centre lies in [x_i, x_i+1), clipped before they
            // become integers.
            const double first = std::max<double>(clip.x0, std::ceil(crossings[i].x - 0.5));
            const double end = std::min<double>(clip.x1, std::ceil(crossings[i + 1].x - 0.5));
            if (first < end)
                blend.Apply(&image.rgba[(static_cast<std::size_t>(y) * image.width +
                                         static_cast<std::size_t>(first)) *
                                        4],
                            static_cast<std::size_t>(end - first));
        }
    }
}

// Paints into an image, or records the fills when `recording` is set.
struct RenderTargetImpl {
    SharedImage image;
    Affine pageToDevice;
    SL::RectI clip;
    Recording recording;
};

struct RenderTargetInterface {
    using Impl = RenderTargetImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<RenderTargetInterface, RenderTargetImpl>;
    static constexpr const char* kName = "GRRenderTarget";
    static constexpr const wchar_t* kWideName = L"GRRenderTarget";
    static constexpr std::size_t kOperationCount = GRRenderTargetOps::kOperationCount;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<GRRenderTargetOps::FillGeometry>(ops, &FillGeometry);
    }

    static uint32_t FillGeometry(ServiceObject* self, ServiceObject* path, ServiceObject* brush) {
        PathImpl* pathImpl = ImplOrNull<PathInterface>(path);
        BrushImpl* brushImpl = ImplOrNull<BrushInterface>(brush);
        if (!pathImpl || !brushImpl)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"FillGeometry");
        const RenderTargetImpl& target = Object::ImplOf(self);
        std::vector<Polygon> polygons = pathImpl->Figures();
        for (Polygon& polygon : polygons) {
            for (SL::PointF& point : polygon) {
                double x, y;
                target.pageToDevice.Apply(point.x, point.y, x, y);
                point = {static_cast<float>(x), static_cast<float>(y)};
            }
        }
        if (target.recording)
            target.recording->push_back({std::move(polygons), brushImpl->color});
        else
            FillPolygons(*target.image, polygons, brushImpl->color, target.clip);
        return kOk;
    }
};

// ---------------------------------------------------------------------------
// The factory

struct FactoryImpl {};

struct FactoryInterface {
    using Impl = FactoryImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<FactoryInterface, FactoryImpl>;
    static constexpr const char* kName = "GraphicsFactory";
    static constexpr const wchar_t* kWideName = L"GraphicsFactory";
    static constexpr std::size_t kOperationCount = GRFactoryOps::kOperationCount;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<GRFactoryOps::CreatePath>(ops, &CreatePath);
        SODetails::SetOperation<GRFactoryOps::CreateSolidBrush>(ops, &CreateSolidBrush);
    }
    static uint32_t CreatePath(ServiceObject*, ServiceObject** path) {
        if (!path)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"CreatePath");
        *path = PathInterface::Object::New();
        return kOk;
    }
    static uint32_t CreateSolidBrush(ServiceObject*, uint32_t color, ServiceObject** brush) {
        if (!brush)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"CreateSolidBrush");
        *brush = BrushInterface::Object::New(color);
        return kOk;
    }
};

} // namespace

ServiceObject* NewRenderTarget(SharedImage image, const Affine& pageToDevice,
                               const SL::RectI& clip) {
    return RenderTargetInterface::Object::New(
        RenderTargetImpl{std::move(image), pageToDevice, clip, nullptr});
}

ServiceObject* NewRecordingTarget(Recording recording, const Affine& pageToShown) {
    return RenderTargetInterface::Object::New(
        RenderTargetImpl{nullptr, pageToShown, {}, std::move(recording)});
}

ServiceObject* NewGraphicsFactory() {
    return FactoryInterface::Object::New();
}

} // namespace HostBLImpl
