#include "UiAction_AddTextMarkupAnnotation.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <locale>

#include "AnnotOperationAtoms.h"
#include "RibbonMarkupActions.h"
#include "UserSettings.h"
#include "bl/BLDocumentView.h"
#include "bl/BLSelection.h"
#include "folio.h"
#include "platform/Platform.h"
#include "service-common/SequenceHash.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "service-common/TextConversion.h"
#include "ui/FrameLookup.h"
#include "ui/UIDocumentView.h"
#include "ui/UIDocumentsCollection.h"
#include "ui/UIEngineService.h"
#include "ui/UIWnd.h"

namespace {

using SODetails::CallChecked;

// The atoms this file resolves while the module loads; the host expects
// them, though the action reads only the insert operation and the text
// tools.
const SODetails::AtomStatic kTextEdit("TextEdit");
const SODetails::AtomStatic kTextCopy("TextCopy");
const AnnotOperationAtoms kAnnotOperations;
const SODetails::AtomStatic kText("Text");
const SODetails::AtomStatic kTextCopyAgain("TextCopy");
const SODetails::AtomStatic kTextEditAgain("TextEdit");

RibbonAtoms Atoms() {
    // The action never makes the markup tool.
    return {kAnnotOperations.insert, kTextEdit, kTextCopy, RibbonMarkup::kNoTool};
}

// A parameter name as the host's scripts hash it: in the ANSI code page.
uint32_t NameHash(const wchar_t* name) {
    return SODetails::SequenceHash(SLText::ToNarrow(name).c_str());
}

// "doc-path" in any mix of cases, letters compared after the locale's
// upper-casing.
bool IsDocumentPathName(const wchar_t* name) {
    static const wchar_t kUpperName[] = L"DOC-PATH";
    const std::locale locale;
    std::size_t i = 0;
    for (; name[i] && kUpperName[i]; ++i)
        if (std::toupper(name[i], locale) != kUpperName[i])
            return false;
    return !name[i] && !kUpperName[i];
}

// A decimal number as wcstol reads it (leading blanks and a sign, up to
// the first non-digit; no digits give 0), clamped to 32 signed bits however
// wide the platform's long is.
int32_t ParseDecimal(const wchar_t* text) {
    const long long value = std::wcstoll(text, nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

bool IsProperty(const wchar_t* name, const wchar_t* property) {
    return std::wcscmp(name, property) == 0;
}

} // namespace

uint32_t UiAction_AddTextMarkupAnnotation::Create(ServiceObject** out) {
    if (!out)
        return SODetails::kBadArgument;
    ServiceObject* action = Object::New();
    if (!action)
        return SODetails::kNotAvailable;
    *out = action;
    return SODetails::kOk;
}

UiAction_AddTextMarkupAnnotation::UiAction_AddTextMarkupAnnotation()
    : hwndHash_(SODetails::SequenceHash("HWND")), helementHash_(SODetails::SequenceHash("HELEMENT")),
      mkeyHash_(SODetails::SequenceHash("MKEY")) {}

// --- Parameters ----------------------------------------------------------------

uint32_t UiAction_AddTextMarkupAnnotation::PushParam(const wchar_t* name, uint64_t value) {
    if (!name)
        return SODetails::kBadArgument;
    const uint32_t hash = NameHash(name);
    if (hash == hwndHash_)
        return PushWindow(value);
    if (hash == helementHash_) {
        if (value == 0)
            return SODetails::kBadArgument;
        elementHandle_ = value;
        BindElementRecord();
        return SODetails::kOk;
    }
    if (hash == mkeyHash_)
        return SODetails::kOk; // taken, and not used
    return SODetails::kDeclined;
}

uint32_t UiAction_AddTextMarkupAnnotation::PushWindow(uint64_t handle) {
    if (handle == 0 || !Platform::IsWindow(handle))
        return SODetails::kBadArgument;
    windowHandle_ = handle;
    static const SODetails::AtomStatic kUIEngine("UIEngine");
    ObjectPtr engine;
    try {
        engine = SP::GetServiceObject(kUIEngine, "UIEngine");
    } catch (const ServiceObjectException&) {
        engine.Reset();
    }
    if (!engine)
        return SODetails::kNotAvailable;
    ObjectPtr window;
    CallChecked<UIEngineServiceOps::GetWindow>(engine.get(), handle, window.Receive());
    window_ = SODetails::WeakRefPtr::Of(window.get());
    BindElementRecord();
    return SODetails::kOk;
}

void UiAction_AddTextMarkupAnnotation::BindElementRecord() {
    const ObjectPtr window = window_.Lock();
    if (!window || !elementHandle_ || record_.IsValid())
        return;
    record_.Bind(window.get(), reinterpret_cast<HELEMENT>(elementHandle_));
}

// --- Properties ----------------------------------------------------------------

uint32_t UiAction_AddTextMarkupAnnotation::PushProperty(const wchar_t* name,
                                                        const wchar_t* value) {
    if (!name)
        return SODetails::kBadArgument;
    if (value && IsDocumentPathName(name))
        documentPath_ = value;
    if (!value)
        return SODetails::kBadArgument;
    if (IsProperty(name, L"point_x") || IsProperty(name, L"point_y")) {
        const bool x = IsProperty(name, L"point_x");
        uint8_t& set = x ? pointXSet_ : pointYSet_;
        if (set)
            return SODetails::kGivenTwice;
        (x ? pointX_ : pointY_) = ParseDecimal(value);
        set = 1;
    } else if (IsProperty(name, L"markup_type")) {
        if (kindSet_)
            return SODetails::kGivenTwice;
        PDAtomPutString(SLText::ToNarrow(value).c_str(), &kind_);
        kindSet_ = 1;
    } else if (IsProperty(name, L"color")) {
        if (colorSet_)
            return SODetails::kGivenTwice;
        color_ = static_cast<MarkupColor>(ParseDecimal(value));
        colorSet_ = 1;
    }
    return SODetails::kOk;
}

// --- Execute -------------------------------------------------------------------

uint32_t UiAction_AddTextMarkupAnnotation::Execute() {
    BindElementRecord();
    if (!documentPath_.empty())
        OpenDocumentPathSideBySide(FindDocumentsCollection().get());
    if (!pointXSet_ || !pointYSet_ || !kindSet_)
        return SODetails::kNotAvailable;
    if (!colorSet_) {
        // Read only: the action never changes a last colour.
        const MarkupOptions::LastColor* lastColor = MarkupOptions::LastColorOf(kind_);
        if (!lastColor)
            return SODetails::kNotAvailable;
        color_ = lastColor->Get();
        colorSet_ = 1;
    }
    const ObjectPtr view = ActiveBLView(FindDocumentsCollection().get());
    if (!view)
        return SODetails::kNotAvailable;
    if (!RibbonMarkup::MayAddAnnotations(view.get()))
        return SODetails::kNotPermitted;
    ObjectPtr selection;
    CallChecked<BLDocumentViewOps::GetSelection>(view.get(), selection.Receive());
    if (!selection)
        return SODetails::kNotAvailable;
    // The selection's kind is left to the creation of the annotations.
    uint32_t hasText = 0;
    if (!CallChecked<BLSelectionOps::HasText>(selection.get(), &hasText) || !hasText)
        return SODetails::kNotAvailable;
    uint64_t first, last;
    if (RibbonMarkup::SelectedPages(selection.get(), &first, &last))
        RibbonMarkup::MarkupOnSelection(view.get(), kind_, color_, first, last, Atoms(),
                                        RibbonMarkup::LastColorUse::kLeave);
    return SODetails::kOk;
}

UiAction_AddTextMarkupAnnotation::ObjectPtr
UiAction_AddTextMarkupAnnotation::FindDocumentsCollection() const {
    try {
        return SOImpl::FrameLookup::DocumentsCollection(window_.Lock().get());
    } catch (const ServiceObjectException&) {
        return {};
    }
}

void UiAction_AddTextMarkupAnnotation::OpenDocumentPathSideBySide(ServiceObject* collection) const {
    try {
        bool sideBySide = false;
        CallChecked<UIDocumentsCollectionOps::IsSideBySideMode>(collection, &sideBySide);
        if (!sideBySide)
            return;
        ObjectPtr sbsView;
        CallChecked<UIDocumentsCollectionOps::GetActiveSbSView>(collection, sbsView.Receive());
        CallChecked<UIDocumentViewSbSOps::OpenDocument>(sbsView.get(), documentPath_.c_str());
    } catch (const ServiceObjectException&) {
        // The path is a courtesy to the side-by-side view; the markup goes on.
    }
}

UiAction_AddTextMarkupAnnotation::ObjectPtr
UiAction_AddTextMarkupAnnotation::ActiveBLView(ServiceObject* collection) {
    ObjectPtr documentView, view;
    CallChecked<UIDocumentsCollectionOps::GetActiveView>(collection, documentView.Receive());
    CallChecked<UIDocumentViewOps::QueryServiceObject>(
        documentView.get(), SODetails::InterfaceId<BLDocumentView>(), view.Receive());
    return view;
}
