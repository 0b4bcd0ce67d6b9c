// The three markup icons of the ribbon's font group. Each opens a colour
// popup; a colour chosen there marks up the text selected with the text
// tools at once, or makes the markup tool active with that kind and colour.
// The icons have no checked state: the handler remembers the kind and the
// colour last chosen through it, so that its popups can show the active
// tool's colour.
#pragma once

#include <cstdint>
#include <string>

#include "TextMarkupAnnot.h"
#include "ui-engine/UIHandler.h"
#include "ui/DocumentViewObserverBase.h"
#include "ui/UIHandlerStdImpl.h"

class FontGroupTextMarkupControlHandler
    : public SOImpl::UIHandlerStdImpl<FontGroupTextMarkupControlHandler, SOImpl::UIEngineTraits>,
      public SOImpl::DocumentViewObserverBase<FontGroupTextMarkupControlHandler, 1> {
public:
    static constexpr const char* kSignatureName = "class FontGroupTextMarkupControlHandler";
    // The icons show no tool state.
    static constexpr bool kFollowsActiveTool = false;
    using Interface =
        SOImpl::CppUIHandlerBase<FontGroupTextMarkupControlHandler, SODetails::ServiceObjectTraits>;
    using Object = Interface::Object;
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    // The factory the module registry and the ribbon's panel change share.
    static SODetails::BasicServiceObjectPtr<> Create();

    uint32_t HandleEvent(uint32_t* handled, HELEMENT element, const UIEventRecord* event);

    // A colour chosen for the last kind: stored as the kind's last colour,
    // then the text selection is marked up or the tool made active.
    void ApplyFontColor(const std::wstring& colorText);

    uint32_t LastKind() const { return lastKind_; }
    const std::wstring& LastColorText() const { return lastColorText_; }

    // The observer's hooks.
    void OnViewAttached(ServiceObject* view);
    void OnViewDetached();
    void OnViewStateChanged(uint32_t state);

private:
    uint32_t OnColorChosen(uint32_t* handled, const UIEventRecord& event);
    void OnPopupShowing(const UIEventRecord& event);
    void EnableIcons(bool enable);

    uint32_t lastKind_ = kNoMarkupKind;
    std::wstring lastColorText_;
};
