// The ribbon's markup group: three split buttons, one per markup kind. The
// main part of each switches the markup tool on and off; the drop-down part
// opens a colour popup. A click or a colour choice marks up the text
// selected with the text tools at once, or makes the markup tool active.
#pragma once

#include <cstdint>
#include <string>

#include "TextMarkupAnnot.h"
#include "ui-engine/UIHandler.h"
#include "ui/DocumentViewObserverBase.h"
#include "ui/UIHandlerStdImpl.h"

class MarkupGroupHandler
    : public SOImpl::UIHandlerStdImpl<MarkupGroupHandler, SOImpl::UIEngineTraits>,
      public SOImpl::DocumentViewObserverBase<MarkupGroupHandler, 1> {
public:
    static constexpr const char* kSignatureName = "class MarkupGroupHandler";
    static constexpr bool kFollowsActiveTool = true;
    using Interface = SOImpl::CppUIHandlerBase<MarkupGroupHandler, SODetails::ServiceObjectTraits>;
    using Object = Interface::Object;
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    // A new handler object with one reference.
    static SODetails::BasicServiceObjectPtr<> Create();

    uint32_t HandleEvent(uint32_t* handled, HELEMENT element, const UIEventRecord* event);

    // What a colour does, from a click or a popup: marks up the text
    // selection or activates the tool; `elements` is where the split button
    // is looked for. Nothing for no kind or an empty text.
    void ApplyMarkupColor(uint32_t kind, const SOImpl::UIElementSet& elements,
                          const std::wstring& colorText);
    // One annotation per selected page from `first` to `last` (either
    // order) in one edit group; whether one was made.
    bool MarkupOnSelection(uint32_t kind, ServiceObject* view, MarkupColor color, uint64_t first,
                           uint64_t last);
    // Makes the markup tool active and checks the kind's split button.
    bool ActivateMarkupTool(uint32_t kind, ServiceObject* view, MarkupColor color,
                            const SOImpl::UIElementSet& elements);

    // The observer's hooks.
    void OnViewAttached(ServiceObject* view);
    void OnViewDetached();
    void OnActiveToolChanged(SLAtom tool);
    void OnViewStateChanged(uint32_t state);

private:
    void OnClick(HELEMENT target);
    uint32_t OnColorChosen(uint32_t* handled, const UIEventRecord& event);
    void OnPopupShowing(HELEMENT target);
    void EnableDropDowns(bool enable);
};
