// Text markup annotations: rectangle and opacity, the refusals of
// CreateTextMarkupAnnot, the per-page routine of the tool, and one
// annotation carried all the way into a saved PDF file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Fakes.h"
#include "TestDocuments.h"
#include "bl/BLService.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/Atom.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"
#include "svcbroker.h"
#include "vellum-marker/TextMarkupAnnot.h"

namespace {

using testdocs::Box;

const SLAtom kTextCopy = SODetails::AtomFromString("TextCopy");
const SLAtom kTextEdit = SODetails::AtomFromString("TextEdit");
const SLAtom kAnnotInsert = SODetails::AtomFromString("Annot_Insert");

TEST(TextMarkupAnnotRect, CapsOnBothSidesThenHalfAUnitAround) {
    const SL::Quad one = Box(10, 20, 16, 30);
    SL::RectF r = TextMarkupAnnotRect(&one, 1);
    EXPECT_FLOAT_EQ(r.x0, 7.5f);
    EXPECT_FLOAT_EQ(r.y0, 19.5f);
    EXPECT_FLOAT_EQ(r.x1, 18.5f);
    EXPECT_FLOAT_EQ(r.y1, 30.5f);

    // A second line below, and a quad whose sides have no length (no caps).
    const SL::Quad two[] = {one, Box(0, 0, 4, 5), SL::Quad{{50, 1}, {60, 1}, {50, 1}, {60, 1}}};
    r = TextMarkupAnnotRect(two, 3);
    EXPECT_FLOAT_EQ(r.x0, -1.5f); // 0 - 0.2 x 5 - 0.5
    EXPECT_FLOAT_EQ(r.y0, -0.5f);
    EXPECT_FLOAT_EQ(r.x1, 60.5f);
    EXPECT_FLOAT_EQ(r.y1, 30.5f);
}

TEST(TextMarkupFillOpacity, FromTheAlphaInHundredths) {
    EXPECT_EQ(TextMarkupFillOpacity(0xFF00FF00u), 1.0f);
    EXPECT_EQ(TextMarkupFillOpacity(0x80123456u), 0.5f);
    EXPECT_EQ(TextMarkupFillOpacity(0x00FFFFFFu), 0.0f);
}

class MarkupTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdocs::AddChar(doc.get(), 1, L"A", Box(10, 20, 16, 30));
        testdocs::AddChar(doc.get(), 1, L"B", Box(16, 20, 22, 30));
    }

    FolioAnnotInfo OnlyAnnotOf(uint64_t index) {
        PDPage page = nullptr;
        FolioDocumentLoadPage(doc.get(), index, &page);
        uint64_t count = 0;
        FolioPageCountAnnots(page, &count);
        FolioAnnotInfo info{};
        EXPECT_EQ(count, 1u);
        if (count == 1)
            FolioPageGetAnnot(page, 0, &info, nullptr, 0);
        PDPageRelease(page);
        return info;
    }

    testdocs::Document doc = testdocs::InMemory(2);
    fakes::ObjectPtr document = fakes::Document::Make(doc.get());
    std::vector<SL::Quad> quads = {Box(10, 20, 16, 30), Box(16, 20, 22, 30)};
};

TEST_F(MarkupTest, CreatesFromTextSelectionsOnly) {
    PDAnnot sentinel = reinterpret_cast<PDAnnot>(0x1);
    auto attempt = [&](SLAtom kind, uint64_t page, uint32_t subtype, bool withView) {
        fakes::ObjectPtr selection = fakes::Selection::Make(kind, {{1, quads}});
        fakes::ObjectPtr view = fakes::View::Make(document, selection);
        PDAnnot out = sentinel;
        CreateTextMarkupAnnot(withView ? view.get() : nullptr, page, subtype, 0xFF0000FFu, &out);
        return out;
    };
    EXPECT_EQ(attempt(SODetails::AtomFromString("Rectangle"), 1, kPDAtomHighlight, true), sentinel);
    EXPECT_EQ(attempt(kTextEdit, 0, kPDAtomHighlight, true), sentinel); // no quads there
    EXPECT_EQ(attempt(kTextEdit, 1, kNoMarkupKind, true), sentinel);
    EXPECT_EQ(attempt(kTextEdit, ~0ull, kPDAtomHighlight, true), sentinel);
    EXPECT_EQ(attempt(kTextEdit, 1, kPDAtomHighlight, false), sentinel);
    EXPECT_EQ(attempt(kTextEdit, 1, 12345, true), sentinel); // the library refuses

    for (SLAtom kind : {kTextEdit, kTextCopy}) {
        PDAnnot annot = attempt(kind, 1, kPDAtomUnderline, true);
        EXPECT_NE(annot, sentinel);
        EXPECT_NE(annot, nullptr);
        if (annot != sentinel && annot)
            PDAnnotRelease(annot);
    }
}

TEST_F(MarkupTest, ToolPageInsertsOrLogsAndThrowsWithoutADocument) {
    fakes::ObjectPtr view = fakes::View::Make(document);
    fakes::Document& fake = fakes::Document::Of(document.get());

    InsertTextMarkupAnnot(view.get(), kPDAtomStrikeOut, 0x80FF0000u, 0, {}); // only logs
    EXPECT_TRUE(fake.annotOperations.empty());

    InsertTextMarkupAnnot(view.get(), kPDAtomStrikeOut, 0x80FF0000u, 1, quads);
    ASSERT_EQ(fake.annotOperations.size(), 1u);
    EXPECT_EQ(fake.annotOperations[0].first, kAnnotInsert);
    EXPECT_EQ(fake.annotOperations[0].second.document, document.get());
    EXPECT_EQ(fake.annotOperations[0].second.page, 1u);
    const FolioAnnotInfo info = OnlyAnnotOf(1);
    EXPECT_EQ(info.subtype, static_cast<uint32_t>(kPDAtomStrikeOut));
    EXPECT_EQ(info.quadCount, 2u);
    EXPECT_FLOAT_EQ(info.opacity, 0.5f);
    EXPECT_FLOAT_EQ(info.rect.x0, 7.5f);
    EXPECT_FLOAT_EQ(info.rect.x1, 24.5f);

    auto expectNotInitialized = [&](ServiceObject* v, uint32_t line) {
        try {
            InsertTextMarkupAnnot(v, kPDAtomStrikeOut, 0xFF000000u, 1, quads);
            ADD_FAILURE() << "no exception";
        } catch (const ServiceObjectException& e) {
            EXPECT_EQ(e.Code(), 2u);
            EXPECT_EQ(e.Message(), L"Not initialized");
            EXPECT_EQ(e.Function(), "BLAddTextMarkupAnnotationInputHandlerImpl::OnAreaSelected");
            EXPECT_EQ(e.File(), "app\\src\\vellum-marker\\addtextmarkupannotationinputhandler");
            EXPECT_EQ(e.Line(), line);
        }
    };
    expectNotInitialized(fakes::View::Make(nullptr).get(), 113);
    fakes::ClearOperation(document.get(), BLDocumentOps::GetPDDocument::kPosition);
    expectNotInitialized(view.get(), 117);
    EXPECT_EQ(fake.annotOperations.size(), 1u);
}

// The "BLAuthor" service of the host, with a fixed name.
struct Author {
    static constexpr const char* kName = "BLAuthor";
    static constexpr std::size_t kOperationCount = 1;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLAuthorOps::GetAuthor>(ops,
                                                        [](ServiceObject*, const wchar_t** name) {
                                                            *name = L"R\u00e9viewer";
                                                            return 0u;
                                                        });
    }
    using Object = SODetails::ServiceObjectCppTheConcrete<Author, Author>;
};

std::string Shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

TEST(MarkupOnPdfFile, SavedAnnotationReadsBack) {
    ServiceProviderRegHostService(
        "BLAuthor",
        [](void*, ServiceObject** out) {
            *out = Author::Object::New();
            return 0u;
        },
        nullptr, "multiple");

    const std::string folder = testdocs::TempDir();
    PDDocument pd = nullptr;
    ASSERT_EQ(FolioDocumentOpen(testdocs::WriteTextPdf(folder, "Hello World").c_str(), &pd), 0);
    testdocs::Document owned(pd);

    // The quads of "Hello", as the page's text gives them.
    std::vector<SL::Quad> hello;
    {
        PDPage page = nullptr;
        FolioDocumentLoadPage(pd, 0, &page);
        PDModel::PageText text;
        PDPageLoadPageText(page, text.Receive());
        PDPageRelease(page);
        ASSERT_GE(text.GetNumChars(), 5u);
        for (const SL::Quad& q : text.GetRange(0, 5))
            hello.push_back(q);
    }
    fakes::ObjectPtr document = fakes::Document::Make(pd);
    fakes::ObjectPtr view =
        fakes::View::Make(document, fakes::Selection::Make(kTextCopy, {{0, hello}}));

    PDAnnot annot = nullptr;
    CreateTextMarkupAnnot(view.get(), 0, kPDAtomHighlight, 0x80FFD700u, &annot);
    ServiceProviderUnregHostService("BLAuthor");
    ASSERT_NE(annot, nullptr);
    const AnnotOperationArgs args{document.get(), 0, annot};
    ServiceObject* d = document.get();
    ASSERT_TRUE(
        SODetails::CallChecked<BLDocumentOps::PerformAnnotOperation>(d, kAnnotInsert, &args, 0u));
    PDAnnotRelease(annot);
    const std::string saved = folder + "/saved.pdf";
    ASSERT_EQ(FolioDocumentSave(pd, saved.c_str(), kFolioSaveFull), 0);

    const std::string script = folder + "/read.py";
    std::ofstream(script) << "import sys\n"
                             "from pypdf import PdfReader\n"
                             "a = PdfReader(sys.argv[1]).pages[0]['/Annots'][0].get_object()\n"
                             "q = [round(float(v), 1) for v in a['/QuadPoints']]\n"
                             "print(a['/Subtype'], len(q), q[0] < q[2], q[1] > q[5])\n"
                             "print([round(float(c), 2) for c in a['/C']], float(a['/CA']))\n"
                             "print(a['/T'])\n";
    std::istringstream lines(Shell("/usr/bin/python3 " + script + " " + saved));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "/Highlight 40 True True"); // five quads, upper edge first
    std::getline(lines, line);
    EXPECT_EQ(line, "[1.0, 0.84, 0.0] 0.5");
    std::getline(lines, line);
    EXPECT_EQ(line, "R\u00e9viewer");
    std::filesystem::remove_all(folder);
}

} // namespace
