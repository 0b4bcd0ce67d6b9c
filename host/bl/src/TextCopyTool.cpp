// "TextCopy": the host's own text tool. A left press on a character starts a
// selection, moves extend it, and the release makes the characters between
// the two ends the view's selection, which the host's copy command (and the
// ribbon's markup buttons) act on.
//
// The tool reads the view through its flat interface, as any tool does, and
// the page text as the host's own document model gives it.
#include <map>
#include <optional>
#include <stdexcept>

#include "Objects.h"
#include "Services.h"
#include "bl/BLInputHandler.h"
#include "service-common/FolioGeometry.h"
#include "service-common/SegmentDistance.h"
#include "service-common/WeakRefPtr.h"

namespace HostBLImpl {

namespace {

namespace Input = BLInputEventTypes;

// A place between two characters of a page: before character `index`.
struct Caret {
    uint64_t page = 0;
    uint64_t index = 0;
    bool operator==(const Caret& other) const {
        return page == other.page && index == other.index;
    }
};

SL::PointF Point(PDPointF p) {
    return {p.x, p.y};
}

PDPointF Mid(PDPointF a, PDPointF b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// How far a point lies from a quad: 0 inside, else from its nearest edge.
float DistanceToQuad(const PDQuadF& q, PDPointF p) {
    if (SL::QuadContains(q, p))
        return 0;
    const SL::PointF at = Point(p);
    return std::min({SL::DistanceToSegment(at, Point(q.p0), Point(q.p1)),
                     SL::DistanceToSegment(at, Point(q.p1), Point(q.p3)),
                     SL::DistanceToSegment(at, Point(q.p3), Point(q.p2)),
                     SL::DistanceToSegment(at, Point(q.p2), Point(q.p0))});
}

bool IsLineBreak(const HostBL::PageChar& c) {
    return !c.text.empty() && c.text[0] == L'\n';
}

class TextCopyTool {
public:
    uint32_t Initialize(ServiceObject* view) {
        if (!view)
            return kBadArgument;
        view_ = SODetails::WeakRefPtr::Of(view);
        chars_.clear();
        dragging_ = finished_ = false;
        return kOk;
    }

    void Terminate() {
        view_.Reset();
        chars_.clear();
        dragging_ = false;
    }

    bool Finished() const { return finished_; }

    // Whether the tool took the event.
    bool Handle(const BLInputEvent& event) {
        if (event.type == Input::kButtonUp && event.button == Input::kFinishButton) {
            finished_ = true;
            return false;
        }
        if (event.button != Input::kLeftButton && event.type != Input::kMouseMove)
            return false;
        ObjectPtr view = view_.Lock();
        if (!view)
            return false;
        const std::optional<Caret> caret = CaretAt(view.get(), event.point);
        switch (event.type) {
        case Input::kButtonDown:
            dragging_ = caret.has_value();
            if (caret)
                anchor_ = end_ = *caret;
            return dragging_;
        case Input::kMouseMove:
            if (dragging_ && caret)
                end_ = *caret;
            return dragging_;
        case Input::kButtonUp:
            if (!dragging_)
                return false;
            dragging_ = false;
            if (caret)
                end_ = *caret;
            Select(view.get());
            return true;
        default:
            return false;
        }
    }

private:
    void Select(ServiceObject* view) {
        if (anchor_ == end_)
            HostBL::ClearSelection(view);
        else
            HostBL::SelectText(view, HostBL::kTextCopyTool, anchor_.page, anchor_.index, end_.page,
                               end_.index);
    }

    // The caret nearest the point: before or after the character under it
    // (or next to it, within the character's height), whichever side of the
    // character's middle the point lies on along the reading direction.
    std::optional<Caret> CaretAt(ServiceObject* view, SL::PointI device) {
        uint64_t page = kNoPage;
        SODetails::CallChecked<BLDocumentViewOps::PageFromPoint>(view, &device, &page);
        if (page == kNoPage)
            return std::nullopt;
        SL::PointF onPage{};
        SODetails::CallChecked<BLDocumentViewOps::DeviceToPage>(view, page, &device, &onPage);
        const PDPointF p{onPage.x, onPage.y};
        const std::vector<HostBL::PageChar>* chars = Chars(view, page);
        if (!chars)
            return std::nullopt;
        std::optional<uint64_t> nearest;
        float nearestDistance = 0;
        for (uint64_t i = 0; i < chars->size(); ++i) {
            const HostBL::PageChar& c = (*chars)[i];
            if (IsLineBreak(c))
                continue;
            const float distance = DistanceToQuad(c.quad, p);
            const float height =
                SL::Distance(Point(Mid(c.quad.p0, c.quad.p1)), Point(Mid(c.quad.p2, c.quad.p3)));
            if (distance <= std::max(height, 1.0f) && (!nearest || distance < nearestDistance)) {
                nearest = i;
                nearestDistance = distance;
            }
        }
        if (!nearest)
            return std::nullopt;
        const PDQuadF& q = (*chars)[*nearest].quad;
        const PDPointF leading = Mid(q.p0, q.p2), trailing = Mid(q.p1, q.p3);
        const PDPointF centre = SL::QuadCentre(q);
        const float along =
            (p.x - centre.x) * (trailing.x - leading.x) + (p.y - centre.y) * (trailing.y - leading.y);
        return Caret{page, *nearest + (along > 0 ? 1 : 0)};
    }

    // A page whose text cannot be read has no characters to select.
    const std::vector<HostBL::PageChar>* Chars(ServiceObject* view, uint64_t page) {
        if (auto found = chars_.find(page); found != chars_.end())
            return &found->second;
        try {
            return &chars_.emplace(page, ReadPageChars(ViewOf(view).documentImpl->document, page))
                        .first->second;
        } catch (const std::runtime_error&) {
            return nullptr;
        }
    }

    SODetails::WeakRefPtr view_; // the view holds the tool, not the other way round
    std::map<uint64_t, std::vector<HostBL::PageChar>> chars_;
    bool dragging_ = false;
    bool finished_ = false;
    Caret anchor_, end_;
};

struct ToolInterface
    : SODetails::InterfaceOf<ToolInterface, TextCopyTool, BLInputHandlerOps::kOperationCount> {
    static constexpr const char* kName = "BLInputHandler";
    static constexpr const wchar_t* kWideName = L"BLInputHandler";

    static uint32_t Initialize(ServiceObject* self, ServiceObject* view, const MarkupToolParams*) {
        return HOSTBL_REPORT(Object::ImplOf(self).Initialize(view), kWideName, L"Initialize");
    }
    static uint32_t Terminate(ServiceObject* self) {
        Object::ImplOf(self).Terminate();
        return kOk;
    }
    static uint32_t GetToolName(ServiceObject*, SLAtom* name) {
        if (!name)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetToolName");
        *name = AtomOf(HostBL::kTextCopyTool);
        return kOk;
    }
    static uint32_t IsFinished(ServiceObject* self, bool* finished) {
        if (!finished)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"IsFinished");
        *finished = Object::ImplOf(self).Finished();
        return kOk;
    }
    static uint32_t HandleEvent(ServiceObject* self, const BLInputEvent* event, bool* handled) {
        if (!event || !handled)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"HandleEvent");
        *handled = Object::ImplOf(self).Handle(*event);
        return kOk;
    }
    static uint32_t Removed(ServiceObject*, bool* removed) {
        if (!removed)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"Removed");
        *removed = true;
        return kOk;
    }
    static uint32_t Ignored(ServiceObject*, const void*) { return kDeclined; }

    static void FillOperations(SODetails::Operation* ops) {
        using namespace BLInputHandlerOps;
        SODetails::SetOperation<BLInputHandlerOps::Initialize>(ops, &ToolInterface::Initialize);
        SODetails::SetOperation<BLInputHandlerOps::Terminate>(ops, &ToolInterface::Terminate);
        SODetails::SetOperation<BLInputHandlerOps::GetToolName>(ops, &ToolInterface::GetToolName);
        SODetails::SetOperation<BLInputHandlerOps::IsFinished>(ops, &ToolInterface::IsFinished);
        SODetails::SetOperation<BLInputHandlerOps::HandleEvent>(ops, &ToolInterface::HandleEvent);
        SODetails::SetOperation<BLInputHandlerOps::Removed>(ops, &ToolInterface::Removed);
        SODetails::SetOperation<FocusAnnot>(ops, &Ignored);
        SODetails::SetOperation<RestoreSelection>(ops, &Ignored);
        SODetails::SetOperation<OnDeathrattle>(ops, &Ignored);
    }
};

struct Factory {};

struct FactoryInterface : SODetails::InterfaceOf<FactoryInterface, Factory,
                                                 BLInputHandlerFactoryOps::kOperationCount> {
    static constexpr const char* kName = "BLInputHandlerFactory";
    static constexpr const wchar_t* kWideName = L"BLInputHandlerFactory";

    static uint32_t CreateInputHandler(ServiceObject*, ServiceObject** handler) {
        if (!handler)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"CreateInputHandler");
        *handler = ToolInterface::Object::New();
        return kOk;
    }
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLInputHandlerFactoryOps::CreateInputHandler>(ops,
                                                                             &CreateInputHandler);
    }
};

} // namespace

ServiceObject* NewTextCopyToolFactory() {
    return FactoryInterface::Object::New();
}

} // namespace HostBLImpl
