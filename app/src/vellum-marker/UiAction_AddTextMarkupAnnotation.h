// The scripted action "UiAction_AddTextMarkupAnnotation": marks up the text
// selected in the active document view of a window, without the ribbon.
// The host's scripts push where the action comes from (parameters "HWND",
// "HELEMENT", "MKEY") and what it should do (properties "markup_type",
// "color", "point_x", "point_y", "doc-path"), then execute it.
#pragma once

#include <cstdint>
#include <string>

#include "TextMarkupAnnot.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/WeakRefPtr.h"
#include "ui-engine/UIAction.h"
#include "ui/UIElementRecord.h"

class UiAction_AddTextMarkupAnnotation {
public:
    static constexpr const char* kSignatureName = "class UiAction_AddTextMarkupAnnotation";
    static constexpr const char* kActionName = "UiAction_AddTextMarkupAnnotation";
    using Interface =
        SOImpl::CppUIActionBase<UiAction_AddTextMarkupAnnotation, SODetails::ServiceObjectTraits>;
    using Object = Interface::Object;
    using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

    // The factory the UI service is given: a new action with one reference
    // through `out`. kBadArgument for a null `out`, kNotAvailable when no
    // object could be made.
    static uint32_t Create(ServiceObject** out);

    UiAction_AddTextMarkupAnnotation();

    uint32_t PushParam(const wchar_t* name, uint64_t value);
    uint32_t PushProperty(const wchar_t* name, const wchar_t* value);
    uint32_t Execute();

    // What the pushes left, for the host's tests.
    const std::wstring& DocumentPath() const { return documentPath_; }
    bool HasColor() const { return colorSet_ != 0; }
    MarkupColor Color() const { return color_; }
    uint32_t Kind() const { return kind_; }
    bool RecordIsValid() const { return record_.IsValid(); }

private:
    uint32_t PushWindow(uint64_t handle);
    // Builds the element record from the window and the element handle,
    // unless it is valid already or one of them is missing.
    void BindElementRecord();
    // The documents collection of the window (or of the main frame); empty
    // when there is none or the host failed to give it.
    ObjectPtr FindDocumentsCollection() const;
    // Opens the document path in the active side-by-side view, if the
    // collection is in side-by-side mode.
    void OpenDocumentPathSideBySide(ServiceObject* collection) const;
    // The business-logic view of the collection's active view, or empty.
    static ObjectPtr ActiveBLView(ServiceObject* collection);

    // Parameter names by their hash, as the host's scripts spell them.
    const uint32_t hwndHash_;
    const uint32_t helementHash_;
    const uint32_t mkeyHash_;
    SOImpl::UIElementRecord record_;
    uint64_t windowHandle_ = 0;
    uint64_t elementHandle_ = 0;
    SODetails::WeakRefPtr window_;
    std::wstring documentPath_;
    uint8_t pointXSet_ = 0;
    int32_t pointX_ = 0;
    uint8_t pointYSet_ = 0;
    int32_t pointY_ = 0;
    uint8_t kindSet_ = 0;
    uint32_t kind_ = 0;
    uint8_t colorSet_ = 0;
    MarkupColor color_ = 0;
};
