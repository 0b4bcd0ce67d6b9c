#include "RibbonMarkupActions.h"

#include <utility>

#include "UserSettings.h"
#include "bl/BLDocument.h"
#include "bl/BLDocumentView.h"
#include "bl/BLInputHandler.h"
#include "bl/BLSelection.h"
#include "bl/BLService.h"
#include "pdmodel-proxy/Annot.h"
#include "service-common/ServiceProvider.h"

namespace RibbonMarkup {

namespace {

using SODetails::BasicServiceObjectPtr;
using SODetails::CallChecked;

// The host's question "may annotations be added to the document?" as the
// ribbon asks it: the class of operations, the operation, and two flags
// whose meaning is the host's.
constexpr uint32_t kAnnotationOperations = 3;
constexpr uint32_t kAddAnnotation = 4;
constexpr bool kRibbonFirstFlag = true;
constexpr bool kRibbonSecondFlag = false;

// Closes an open edit group however its scope ends.
class EditGroup {
public:
    explicit EditGroup(ServiceObject* document) : document_(document) {
        CallChecked<BLDocumentOps::BeginEditGroup>(document_);
    }
    ~EditGroup() {
        if (document_)
            SODetails::TryCall<BLDocumentOps::EndEditGroup>(document_);
    }
    // The normal end, whose failure is thrown.
    void End() {
        ServiceObject* document = std::exchange(document_, nullptr);
        CallChecked<BLDocumentOps::EndEditGroup>(document);
    }
    EditGroup(const EditGroup&) = delete;
    EditGroup& operator=(const EditGroup&) = delete;

private:
    ServiceObject* document_;
};

} // namespace

bool MayAddAnnotations(ServiceObject* view) {
    bool allowed = true;
    CallChecked<BLDocumentViewOps::IsOperationAllowed>(
        view, kAnnotationOperations, kAddAnnotation, kRibbonFirstFlag, kRibbonSecondFlag, &allowed);
    return allowed;
}

SLAtom ActiveTool(ServiceObject* view) {
    SLAtom tool = kNoTool;
    CallChecked<BLDocumentViewOps::GetActiveTool>(view, &tool);
    return tool;
}

BasicServiceObjectPtr<> TextSelection(ServiceObject* view, const RibbonAtoms& atoms) {
    BasicServiceObjectPtr<> selection;
    CallChecked<BLDocumentViewOps::GetSelection>(view, selection.Receive());
    if (!selection)
        return {};
    SLAtom type = 0;
    CallChecked<BLSelectionOps::GetType>(selection.get(), &type);
    if (type != atoms.textEdit && type != atoms.textCopy)
        return {};
    uint32_t hasText = 0;
    CallChecked<BLSelectionOps::HasText>(selection.get(), &hasText);
    return hasText ? selection : BasicServiceObjectPtr<>();
}

bool SelectedPages(ServiceObject* selection, uint64_t* first, uint64_t* last) {
    *first = kNoPage;
    *last = kNoPage;
    std::optional<uint32_t> code =
        SODetails::TryCall<BLSelectionOps::GetSelectedPages>(selection, first, last);
    return code && !SODetails::IsFailure(*code);
}

uint64_t MarkupPages(ServiceObject* view, uint32_t kind, MarkupColor color, uint64_t first,
                     uint64_t last, const RibbonAtoms& atoms,
                     const std::function<void()>& afterInsert) {
    BasicServiceObjectPtr<> document;
    CallChecked<BLDocumentViewOps::GetDocument>(view, document.Receive());
    if (!document)
        return 0;
    uint64_t inserted = 0;
    EditGroup group(document.get());
    for (uint64_t page = first; page <= last && page != kNoPage; ++page) {
        PDModel::Annot annot;
        CreateTextMarkupAnnot(view, page, kind, color, annot.Receive());
        if (!annot)
            continue;
        const AnnotOperationArgs args{document.get(), page, annot.get()};
        CallChecked<BLDocumentOps::PerformAnnotOperation>(document.get(), atoms.annotInsert, &args,
                                                          0u);
        ++inserted;
        if (afterInsert)
            afterInsert();
    }
    group.End();
    return inserted;
}

bool InstallMarkupTool(ServiceObject* view, uint32_t kind, MarkupColor color,
                       const RibbonAtoms& atoms) {
    CallChecked<BLDocumentViewOps::EndActiveTool>(view, true);
    const BasicServiceObjectPtr<> service =
        SP::GetServiceObject(BLServiceOps::kFixedAtom, "BLService");
    BasicServiceObjectPtr<> registry;
    CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(), registry.Receive());
    if (!registry)
        return false;
    BasicServiceObjectPtr<> tool;
    CallChecked<BLInputHandlerRegistryOps::CreateToolHandler>(registry.get(), atoms.markupTool,
                                                              tool.Receive());
    if (!tool)
        return false;
    const MarkupToolParams params{kind, color};
    CallChecked<BLInputHandlerOps::Initialize>(tool.get(), view, &params);
    CallChecked<BLDocumentViewOps::SetActiveTool>(view, atoms.markupTool, tool.get());
    return true;
}

void StoreLastColor(uint32_t kind, MarkupColor color) {
    if (MarkupOptions::LastColor* option = MarkupOptions::LastColorOf(kind))
        option->Set(color);
}

} // namespace RibbonMarkup
