// The PDF file backend: writing and open failures. (Geometry on turned
// and cropped pages is checked with both backends alike, what other PDF tools
// read of saved markups with the plug-in's annotations and end to end with
// vellum.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "FolioChecks.h"
#include "ShellCommand.h"
#include "TestSupport.h"

using namespace foliotest;
using namespace testsupport;

namespace {

class PdfFile : public ::testing::Test {
protected:
    std::string Path(const std::string& name) { return folder_.Path(name); }
    PDDocument Open(const std::string& path) {
        PDDocument doc = nullptr;
        EXPECT_EQ(FolioDocumentOpen(path.c_str(), &doc), kPDOk) << FolioLastErrorMessage();
        return docs_.emplace_back(doc).get();
    }
    static PDResult Save(PDDocument doc, const std::string& path, uint32_t flags) {
        PDResult result = kPDOk;
        std::ofstream(path, std::ios::binary) << Written(doc, flags, &result);
        return result;
    }
    // Annotations on the first page of a saved file that poppler reads without complaint.
    uint64_t Count(const std::string& path) {
        const Outcome info = RunCommand("pdfinfo " + Quote(path));
        EXPECT_EQ(std::tie(info.exit, info.err), std::make_tuple(0, std::string()));
        return AnnotsOn(Open(path), 0).value_or(99);
    }

    TempFolder folder_;
    std::vector<Document> docs_;
};

TEST_F(PdfFile, WritingAppendsOrWritesWholeAndStopsWhenTheOutputRefuses) {
    const std::string path = Path("doc.pdf");
    WritePdf(path, {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 20, "Text"}}}});
    const std::string original = ReadFile(path);
    PDDocument doc = Open(path);
    const PDPage page = Got<PDPage>(FolioDocumentLoadPage, doc, 0).value();
    const PDQuadF q = FolioBox(20, 144, 34.44f, 171.5f);

    // Incremental saves onto the file the document was read from keep its bytes.
    ASSERT_EQ(AddMarkup(doc, page, kPDAtomHighlight, {q}, 0xFFFF0000), kPDOk);
    ASSERT_EQ(Save(doc, path, kFolioSaveIncremental), kPDOk);
    EXPECT_EQ(ReadFile(path).compare(0, original.size(), original), 0);
    EXPECT_EQ(Count(path), 1u);
    ASSERT_EQ(AddMarkup(doc, page, kPDAtomHighlight, {q}, 0xFF00FF00), kPDOk);
    PDPageRelease(page);
    ASSERT_EQ(Save(doc, path, kFolioSaveIncremental), kPDOk);
    EXPECT_EQ(Count(path), 2u);
    ASSERT_EQ(Save(doc, Path("full.pdf"), kFolioSaveFull), kPDOk);
    EXPECT_EQ(Count(Path("full.pdf")), 2u);
    // What is undone is not saved.
    ASSERT_EQ(FolioDocumentUndo(doc), kPDOk);
    ASSERT_EQ(Save(doc, path, kFolioSaveFull), kPDOk);
    EXPECT_EQ(Count(path), 1u);
    ASSERT_EQ(Save(doc, Path("inc.pdf"), kFolioSaveIncremental), kPDOk);
    EXPECT_EQ(Count(Path("inc.pdf")), 1u);

    FolioDocumentBeginEdit(doc, "open");
    EXPECT_EQ(Save(doc, Path("x.pdf"), kFolioSaveFull), kPDErrEditOpen);
    FolioDocumentEndEdit(doc);

    // A writer that refuses the bytes stops the write.
    const FolioWriter refusing{
        nullptr, [](void*, const void*, size_t) -> PDResult { return kPDErrCannotWrite; }};
    EXPECT_EQ(FolioDocumentWrite(doc, &refusing, kFolioSaveIncremental), kPDErrCannotWrite);
    EXPECT_EQ(FolioDocumentWrite(doc, nullptr, kFolioSaveFull), kPDErrBadArgument);
    EXPECT_EQ(Save(InMemory(0).get(), Path("m.pdf"), kFolioSaveFull), kPDErrNotAvailable);
}

TEST_F(PdfFile, OpenSaysWhyItFailed) {
    PDDocument doc = nullptr;
    const std::string missing = Path("missing.pdf");
    EXPECT_EQ(FolioDocumentOpen(missing.c_str(), &doc), kPDErrCannotOpen);
    EXPECT_EQ(FolioLastErrorMessage(), "cannot open '" + missing + "': No such file or directory");
    EXPECT_EQ(FolioDocumentOpen(folder_.Root().c_str(), &doc), kPDErrCannotOpen);
    std::ofstream(Path("text.pdf")) << "just some text\n";
    EXPECT_EQ(FolioDocumentOpen(Path("text.pdf").c_str(), &doc), kPDErrDamaged);
    std::ofstream(Path("broken.pdf")) << "%PDF-1.4\n1 0 obj\n<< /Type /Cat";
    EXPECT_EQ(FolioDocumentOpen(Path("broken.pdf").c_str(), &doc), kPDErrDamaged);
    EXPECT_EQ(doc, nullptr);

    WritePdf(Path("plain.pdf"),
             {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 20, "Secret"}}}});
    RunCommand(
        "/usr/bin/python3 -c \"import sys,pypdf; r=pypdf.PdfReader(sys.argv[1]); "
        "w=pypdf.PdfWriter(); "
        "[w.add_page(p) for p in r.pages]; w.encrypt('user', 'owner'); w.write(sys.argv[2])\" " +
        Path("plain.pdf") + " " + Path("locked.pdf"));
    EXPECT_EQ(FolioDocumentOpen(Path("locked.pdf").c_str(), &doc), kPDErrEncrypted);
    EXPECT_EQ(FolioLastErrorMessage(),
              "'" + Path("locked.pdf") + "' is encrypted and needs a password");
    EXPECT_EQ(FolioDocumentOpen(nullptr, &doc), kPDErrBadArgument);

    // A file cut short still opens, but says that it was rebuilt.
    EXPECT_EQ(Got<uint32_t>(FolioDocumentWasRepaired, Open(Path("plain.pdf"))), 0u);
    const auto size = std::filesystem::file_size(Path("plain.pdf"));
    std::filesystem::resize_file(Path("plain.pdf"), size - size / 4);
    EXPECT_EQ(Got<uint32_t>(FolioDocumentWasRepaired, Open(Path("plain.pdf"))), 1u);
}

} // namespace
