// "BLDocument": a document of the document-model library, its page objects
// ("BLPage"), the annotation operation "Annot_Insert", edit groups and the
// page-content event.
#include <stdexcept>

#include "Objects.h"
#include "fileout/OutputFile.h"
#include "fileout/OutputTarget.h"
#include "service-common/FolioGeometry.h"

namespace HostBLImpl {

std::string FolioMessage() {
    const char* message = FolioLastErrorMessage();
    return message && *message ? message : "the document model failed without saying why";
}

PageHandle LoadPage(PDDocument document, uint64_t page) {
    PageHandle handle;
    const PDResult result = FolioDocumentLoadPage(document, page, handle.Receive());
    if (result != kPDOk)
        throw std::runtime_error(FolioMessage()); // it names the page
    return handle;
}

// ---------------------------------------------------------------------------
// Page objects

namespace {

struct PageImpl {
    PageImpl(ObjectPtr owner, PDDocument handle, uint64_t pageIndex)
        : document(std::move(owner)), handle(handle), index(pageIndex) {}

    ObjectPtr document; // keeps the document-model handle alive
    PDDocument handle;
    uint64_t index;
    std::mutex mutex;
    uint32_t accessDepth = 0;
    uint64_t lastToken = 0;
};

struct PageInterface {
    using Impl = PageImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<PageInterface, PageImpl>;
    static constexpr const char* kName = "BLPage";
    static constexpr const wchar_t* kWideName = L"BLPage";
    static constexpr std::size_t kOperationCount = BLPageOps::kOperationCount;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLPageOps::GetPDPage>(ops, &GetPDPage);
        SODetails::SetOperation<BLPageOps::BeginPageAccess>(ops, &BeginPageAccess);
        SODetails::SetOperation<BLPageOps::EndPageAccess>(ops, &EndPageAccess);
    }

    static uint32_t GetPDPage(ServiceObject* self, PDPage* out) {
        uint32_t code = kBadArgument;
        if (out) {
            PageImpl& page = Object::ImplOf(self);
            code = PDResultToServiceCode(FolioDocumentLoadPage(page.handle, page.index, out));
        }
        return HOSTBL_REPORT(code, kWideName, L"GetPDPage");
    }

    static uint32_t BeginPageAccess(ServiceObject* self, uint32_t, uint64_t* token) {
        uint32_t code = kBadArgument;
        if (token) {
            PageImpl& page = Object::ImplOf(self);
            std::lock_guard<std::mutex> lock(page.mutex);
            ++page.accessDepth;
            *token = ++page.lastToken;
            code = kOk;
        }
        return HOSTBL_REPORT(code, kWideName, L"BeginPageAccess");
    }

    static uint32_t EndPageAccess(ServiceObject* self) {
        PageImpl& page = Object::ImplOf(self);
        uint32_t code = kBadArgument;
        {
            std::lock_guard<std::mutex> lock(page.mutex);
            if (page.accessDepth > 0) {
                --page.accessDepth;
                code = kOk;
            }
        }
        return HOSTBL_REPORT(code, kWideName, L"EndPageAccess");
    }
};

// ---------------------------------------------------------------------------
// Document operations

// The rectangle of the page's newest annotation, or its crop box.
SL::RectF InsertedRect(PDPage page) {
    uint64_t count = 0;
    FolioAnnotInfo info{};
    if (FolioPageCountAnnots(page, &count) == kPDOk && count > 0 &&
        FolioPageGetAnnot(page, count - 1, &info, nullptr, 0) == kPDOk)
        return SL::FromFolio(info.rect);
    PDRectF box{};
    PDPageGetCropBox(page, &box);
    return SL::FromFolio(box);
}

struct DocumentOperations {
    using Object = DocumentInterface::Object;
    static constexpr const wchar_t* kWideName = DocumentInterface::kWideName;

    static uint32_t GetPage(ServiceObject* self, uint64_t page, ServiceObject** out) {
        uint32_t code = kBadArgument;
        if (out) {
            DocumentImpl& document = Object::ImplOf(self);
            if (page < document.PageCount()) {
                *out = SODetails::ServiceObjectCppTheConcrete<PageInterface, PageImpl>::New(
                    ObjectPtr::Share(self), document.document, page);
                code = kOk;
            } else {
                code = kNotAvailable;
            }
        }
        return HOSTBL_REPORT(code, kWideName, L"GetPage");
    }

    static uint32_t GetPDDocument(ServiceObject* self, PDDocument* out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetPDDocument");
        *out = Object::ImplOf(self).document;
        return kOk;
    }

    static uint32_t PerformAnnotOperation(ServiceObject* self, SLAtom operation,
                                          const AnnotOperationArgs* args, uint32_t) {
        static const SLAtom kInsert = AtomOf("Annot_Insert");
        if (operation != kInsert)
            return kDeclined;
        DocumentImpl& document = Object::ImplOf(self);
        if (!args || !args->annot || (args->document && args->document != self))
            return HOSTBL_REPORT(kBadArgument, kWideName, L"PerformAnnotOperation");
        PageHandle page;
        PDResult result = FolioDocumentLoadPage(document.document, args->page, page.Receive());
        if (result == kPDOk)
            result = FolioPageInsertAnnot(page.get(), args->annot);
        if (result != kPDOk)
            return HOSTBL_REPORT(PDResultToServiceCode(result), kWideName,
                                 L"PerformAnnotOperation");
        document.AnnouncePage(args->page, InsertedRect(page.get()));
        return kOk;
    }

    static uint32_t BeginEditGroup(ServiceObject* self) {
        DocumentImpl& document = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(document.mutex);
        const PDResult result = FolioDocumentBeginEdit(document.document, "Edit");
        if (result == kPDOk)
            ++document.editDepth;
        return HOSTBL_REPORT(PDResultToServiceCode(result), kWideName, L"BeginEditGroup");
    }

    static uint32_t EndEditGroup(ServiceObject* self) {
        DocumentImpl& document = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(document.mutex);
        if (document.editDepth == 0)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"EndEditGroup");
        const PDResult result = FolioDocumentEndEdit(document.document);
        if (result == kPDOk)
            --document.editDepth;
        return HOSTBL_REPORT(PDResultToServiceCode(result), kWideName, L"EndEditGroup");
    }
};

} // namespace

void DocumentInterface::FillOperations(SODetails::Operation* ops) {
    using namespace BLDocumentOps;
    SODetails::SetOperation<GetPage>(ops, &DocumentOperations::GetPage);
    SODetails::SetOperation<GetPDDocument>(ops, &DocumentOperations::GetPDDocument);
    SODetails::SetOperation<PerformAnnotOperation>(ops, &DocumentOperations::PerformAnnotOperation);
    SODetails::SetOperation<BeginEditGroup>(ops, &DocumentOperations::BeginEditGroup);
    SODetails::SetOperation<EndEditGroup>(ops, &DocumentOperations::EndEditGroup);
    EventEntries<DocumentInterface, BLDocumentEvents::OnPageContentChanged,
                 &DocumentImpl::onPageContentChanged>::Fill(ops);
}

DocumentImpl::DocumentImpl(PDDocument handle) : document(handle) {
    FolioDocumentAcquire(document);
}

DocumentImpl::~DocumentImpl() {
    // Groups a caller left open are closed, so that their edits stay.
    while (editDepth > 0 && FolioDocumentEndEdit(document) == kPDOk)
        --editDepth;
    FolioDocumentRelease(document);
}

uint64_t DocumentImpl::PageCount() const {
    uint64_t count = 0;
    if (FolioDocumentGetPageCount(document, &count) != kPDOk)
        return 0;
    return count;
}

void DocumentImpl::AnnouncePage(uint64_t page, const SL::RectF& rect) const {
    onPageContentChanged.Raise(page, &rect, 1);
}

void DocumentImpl::AnnounceAllPages() const {
    const uint64_t count = PageCount();
    for (uint64_t index = 0; index < count; ++index) {
        PageHandle page;
        PDRectF box{};
        if (FolioDocumentLoadPage(document, index, page.Receive()) == kPDOk)
            PDPageGetCropBox(page.get(), &box);
        AnnouncePage(index, SL::FromFolio(box));
    }
}

DocumentImpl& DocumentOf(ServiceObject* document) {
    DocumentImpl* impl = ImplOrNull<DocumentInterface>(document);
    if (!impl)
        throw std::invalid_argument("not a document object of this host");
    return *impl;
}

} // namespace HostBLImpl

namespace HostBL {

using namespace HostBLImpl;

ObjectPtr OpenDocument(const std::string& path) {
    // Taken before the first byte is read, so that any later write shows.
    std::optional<Platform::FileState> asRead = FileOut::RegularFileState(path);
    PDDocument handle = nullptr;
    const PDResult result = FolioDocumentOpen(path.c_str(), &handle);
    if (result != kPDOk)
        throw std::runtime_error(FolioMessage()); // it names the file
    ObjectPtr document = WrapDocument(handle);
    FolioDocumentRelease(handle);
    DocumentImpl& impl = DocumentOf(document.get());
    impl.source = path;
    impl.sourceAsRead = asRead;
    return document;
}

ObjectPtr WrapDocument(PDDocument document) {
    if (!document)
        throw std::invalid_argument("WrapDocument: null document handle");
    return ObjectPtr::Adopt(DocumentInterface::Object::New(document));
}

PDDocument DocumentHandle(ServiceObject* document) {
    return DocumentOf(document).document;
}

uint64_t PageCount(ServiceObject* document) {
    return DocumentOf(document).PageCount();
}

uint32_t EditGroupDepth(ServiceObject* document) {
    DocumentImpl& impl = DocumentOf(document);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.editDepth;
}

namespace {
bool Step(ServiceObject* document, PDResult (*step)(PDDocument), PDResult nothing,
          const char* what) {
    DocumentImpl& impl = DocumentOf(document);
    const PDResult result = step(impl.document);
    if (result == nothing)
        return false;
    if (result != kPDOk)
        throw std::runtime_error(std::string(what) + " failed: " + FolioMessage());
    impl.AnnounceAllPages();
    return true;
}
} // namespace

bool Undo(ServiceObject* document) {
    return Step(document, &FolioDocumentUndo, kPDErrNothingToUndo, "undo");
}

bool Redo(ServiceObject* document) {
    return Step(document, &FolioDocumentRedo, kPDErrNothingToRedo, "redo");
}

namespace {
// Hands the document model's bytes to an output file. What the file says
// when it cannot take them is kept for the message.
struct OutputWriter {
    FileOut::OutputFile& out;
    std::string failure;

    static PDResult Write(void* context, const void* data, size_t size) {
        OutputWriter& self = *static_cast<OutputWriter*>(context);
        try {
            self.out.Write(data, size);
            return kPDOk;
        } catch (const std::exception& e) {
            self.failure = e.what();
            return kPDErrCannotWrite;
        }
    }
};
} // namespace

void WriteDocument(ServiceObject* document, FileOut::OutputFile& out, bool incremental) {
    OutputWriter writer{out, {}};
    const FolioWriter sink{&writer, &OutputWriter::Write};
    const PDResult result = FolioDocumentWrite(
        DocumentOf(document).document, &sink, incremental ? kFolioSaveIncremental : kFolioSaveFull);
    if (result == kPDOk)
        return;
    if (!writer.failure.empty())
        throw std::runtime_error(writer.failure);
    throw std::runtime_error("cannot write '" + out.Target() + "': " + FolioMessage());
}

void Save(ServiceObject* document, const std::string& path, bool incremental) {
    DocumentImpl& impl = DocumentOf(document);
    FileOut::OutputFile out(path);
    const bool overSource = !impl.source.empty() && FileOut::SameFile(impl.source, path);
    if (overSource && impl.sourceAsRead)
        out.RequireUnchangedTarget(*impl.sourceAsRead);
    WriteDocument(document, out, incremental);
    out.Commit();
    // The next save over it compares with what this one left there.
    if (overSource)
        impl.sourceAsRead = FileOut::RegularFileState(path);
}

namespace {
uint32_t HistorySteps(ServiceObject* document, PDResult (*count)(PDDocument, uint32_t*)) {
    uint32_t steps = 0;
    if (count(DocumentOf(document).document, &steps) != kPDOk)
        throw std::runtime_error("cannot read the undo history: " + FolioMessage());
    return steps;
}
} // namespace

uint32_t UndoSteps(ServiceObject* document) {
    return HistorySteps(document, &FolioDocumentCanUndo);
}

uint32_t RedoSteps(ServiceObject* document) {
    return HistorySteps(document, &FolioDocumentCanRedo);
}

uint32_t Permissions(ServiceObject* document) {
    uint32_t permissions = 0;
    if (FolioDocumentGetPermissions(DocumentOf(document).document, &permissions) != kPDOk)
        throw std::runtime_error("cannot read the document's permissions: " + FolioMessage());
    return permissions;
}

namespace {
uint64_t CountAnnots(PDPage page, uint64_t index) {
    uint64_t count = 0;
    if (FolioPageCountAnnots(page, &count) != kPDOk)
        throw std::runtime_error("cannot count the annotations of page " +
                                 std::to_string(index + 1) + ": " + FolioMessage());
    return count;
}
} // namespace

uint64_t PageAnnotCount(ServiceObject* document, uint64_t page) {
    const PageHandle handle = LoadPage(DocumentOf(document).document, page);
    return CountAnnots(handle.get(), page);
}

std::vector<AnnotRecord> PageAnnots(ServiceObject* document, uint64_t page, uint64_t first) {
    const PageHandle handle = LoadPage(DocumentOf(document).document, page);
    const uint64_t count = CountAnnots(handle.get(), page);
    std::vector<AnnotRecord> records;
    for (uint64_t a = first; a < count; ++a) {
        AnnotRecord record{page, {}, {}};
        if (FolioPageGetAnnot(handle.get(), a, &record.info, nullptr, 0) != kPDOk)
            continue;
        record.quads.resize(record.info.quadCount);
        if (!record.quads.empty())
            FolioPageGetAnnot(handle.get(), a, &record.info, record.quads.data(),
                              record.quads.size());
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<AnnotRecord> ListAnnots(ServiceObject* document) {
    std::vector<AnnotRecord> records;
    const uint64_t pages = DocumentOf(document).PageCount();
    for (uint64_t page = 0; page < pages; ++page)
        for (AnnotRecord& record : PageAnnots(document, page))
            records.push_back(std::move(record));
    return records;
}

} // namespace HostBL
