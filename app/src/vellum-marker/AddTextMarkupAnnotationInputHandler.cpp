#include "AddTextMarkupAnnotationInputHandler.h"

#include <cstddef>
#include <memory>

#include "AnnotOperationAtoms.h"

namespace {

const SODetails::AtomStatic kBLService("BLService");
const AnnotOperationAtoms kAnnotOperations;
const SODetails::AtomStatic kToolAtom(BLAddTextMarkupAnnotationInputHandlerImpl::kToolName);

using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;
using Handler = bool (Tool::*)(const SL::PointI& point, unsigned int flags);

constexpr uint32_t kAnyButton = 0xFFFFFFFFu;

struct EventRoute {
    uint32_t type;
    uint32_t button; // kAnyButton: every button
    Handler handler;
};

// Events not listed here are not handled.
const EventRoute kEventRoutes[] = {
    {BLInputEventTypes::kButtonDown, BLInputEventTypes::kLeftButton, &Tool::OnLButtonDown},
    {BLInputEventTypes::kButtonUp, BLInputEventTypes::kLeftButton, &Tool::OnLButtonUp},
    {BLInputEventTypes::kButtonUp, BLInputEventTypes::kFinishButton, &Tool::OnFinishButtonUp},
    {BLInputEventTypes::kMouseMove, kAnyButton, &Tool::OnMouseMove},
};

} // namespace

SLAtom BLAddTextMarkupAnnotationInputHandlerImpl::BLServiceAtom() {
    return kBLService;
}

uint32_t BLAddTextMarkupAnnotationInputHandlerImpl::Initialize(ServiceObject* view,
                                                               const MarkupToolParams* params) {
    view_ = view;
    finished_ = false;
    if (!params)
        return SODetails::kNotAvailable;
    subtype_ = params->subtype;
    color_ = params->color;
    // The new tracker is in place before the earlier one goes.
    tracker_ = std::make_unique<BL::TextSelectionTracker>(view, color_);
    return SODetails::kOk;
}

uint32_t BLAddTextMarkupAnnotationInputHandlerImpl::Terminate() {
    view_ = nullptr;
    tracker_.reset();
    return SODetails::kOk;
}

uint32_t BLAddTextMarkupAnnotationInputHandlerImpl::GetToolName(SLAtom* name) {
    *name = kToolAtom;
    return SODetails::kOk;
}

uint32_t BLAddTextMarkupAnnotationInputHandlerImpl::IsFinished(bool* finished) {
    *finished = finished_;
    return SODetails::kOk;
}

uint32_t BLAddTextMarkupAnnotationInputHandlerImpl::HandleEvent(const BLInputEvent* event,
                                                                bool* handled) {
    *handled = false;
    for (const EventRoute& route : kEventRoutes) {
        if (route.type != event->type ||
            (route.button != kAnyButton && route.button != event->button))
            continue;
        *handled = (this->*route.handler)(event->point, 0);
        break;
    }
    return SODetails::kOk;
}

uint32_t BLAddTextMarkupAnnotationInputHandlerImpl::Removed(bool* removed) {
    *removed = true;
    return SODetails::kOk;
}

bool BLAddTextMarkupAnnotationInputHandlerImpl::OnFinishButtonUp(const SL::PointI&, unsigned int) {
    finished_ = true;
    return false;
}

void BLAddTextMarkupAnnotationInputHandlerImpl::OnAreaSelected(uint64_t page, const SL::RectF&,
                                                               const std::vector<SL::Quad>& quads) {
    InsertTextMarkupAnnot(view_, subtype_, color_, page, quads);
}
