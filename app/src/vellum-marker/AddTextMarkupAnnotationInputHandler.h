// The markup tool: marks the text dragged over with a Highlight, Underline
// or StrikeOut annotation per page, in the kind and colour it was
// initialised with.
#pragma once

#include <cstdint>
#include <vector>

#include "TextMarkupAnnot.h"
#include "bl/InputHandler.h"
#include "bl/InputHandlerFactory.h"
#include "bl/SelectorInputHandlerBase.h"
#include "service-common/Atom.h"

class BLAddTextMarkupAnnotationInputHandlerImpl
    : public SelectorInputHandlerBase<BLAddTextMarkupAnnotationInputHandlerImpl> {
public:
    static constexpr const char* kSignatureName = "class BLAddTextMarkupAnnotationInputHandlerImpl";
    static constexpr const char* kToolName = "AddTextMarkupAnnot";
    using Interface = SOImpl::CppBLInputHandlerBase<BLAddTextMarkupAnnotationInputHandlerImpl,
                                                    SODetails::ServiceObjectTraits>;
    using Object = Interface::Object;
    using Factory = _AutoReg_BLInputHandler::Factory<BLAddTextMarkupAnnotationInputHandlerImpl>;

    // The "BLInputHandler" operations.
    uint32_t Initialize(ServiceObject* view, const MarkupToolParams* params);
    uint32_t Terminate();
    uint32_t GetToolName(SLAtom* name);
    uint32_t IsFinished(bool* finished);
    uint32_t HandleEvent(const BLInputEvent* event, bool* handled);
    uint32_t Removed(bool* removed);
    uint32_t FocusAnnot(const void*) { return SODetails::kDeclined; }
    uint32_t RestoreSelection(const void*) { return SODetails::kDeclined; }
    uint32_t OnDeathrattle(const void*) { return SODetails::kDeclined; }

    // One page of a finished drag: an annotation over `quads` (the rectangle
    // is not used; the annotation's own is computed from the quads).
    void OnAreaSelected(uint64_t page, const SL::RectF& rect, const std::vector<SL::Quad>& quads);

    static SLAtom BLServiceAtom();

    bool IsFinishedNow() const { return finished_; }
    uint32_t Subtype() const { return subtype_; }
    MarkupColor Color() const { return color_; }

    // The release of the host's finishing button: the tool is done; the
    // event counts as not handled.
    bool OnFinishButtonUp(const SL::PointI& point, unsigned int flags);

private:
    bool finished_ = false;
    uint32_t subtype_ = kNoMarkupKind;
    MarkupColor color_ = 0;
};
