// The PDF file backend: writing and open failures. (Geometry on turned
// and cropped pages is checked with both backends alike, what other PDF tools
// read of saved markups with the plug-in's annotations and end to end with
// vellum.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FolioChecks.h"
#include "ShellCommand.h"

using namespace foliotest;
using namespace testsupport;

namespace {

class PdfFile : public ::testing::Test {
protected:
    void TearDown() override {
        for (PDPage p : pages_)
            PDPageRelease(p);
        for (PDDocument d : docs_)
            FolioDocumentRelease(d);
    }

    std::string Path(const std::string& name) { return folder_.Path(name); }
    // Writes the document into a file of its own through a FolioWriter.
    static PDResult Save(PDDocument doc, const std::string& path, uint32_t flags) {
        std::ofstream file(path, std::ios::binary);
        const FolioWriter writer{
            &file, [](void* context, const void* data, size_t size) -> PDResult {
                auto& out = *static_cast<std::ofstream*>(context);
                out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
                return out ? kPDOk : kPDErrCannotWrite;
            }};
        return FolioDocumentWrite(doc, &writer, flags);
    }
    PDDocument Open(const std::string& path) {
        PDDocument doc = nullptr;
        EXPECT_EQ(FolioDocumentOpen(path.c_str(), &doc), kPDOk) << FolioLastErrorMessage();
        docs_.push_back(doc);
        return doc;
    }
    PDPage LoadPage(PDDocument doc, uint64_t index) {
        PDPage page = nullptr;
        EXPECT_EQ(FolioDocumentLoadPage(doc, index, &page), kPDOk);
        pages_.push_back(page);
        return page;
    }
    std::vector<PDQuadF> Quads(PDPage page) {
        std::vector<PDQuadF> quads;
        ReadText(page, &quads);
        return quads;
    }
    // Annotations on the first page of a saved file that poppler reads without complaint.
    uint64_t Count(const std::string& path) {
        const Outcome info = RunCommand("pdfinfo " + Quote(path));
        EXPECT_EQ(info.exit, 0);
        EXPECT_EQ(info.err, "");
        PDDocument doc = Open(path);
        uint64_t n = 0;
        EXPECT_EQ(FolioPageCountAnnots(LoadPage(doc, 0), &n), kPDOk);
        return n;
    }

    TempFolder folder_;
    std::vector<PDDocument> docs_;
    std::vector<PDPage> pages_;
};

TEST_F(PdfFile, WritingAppendsOrWritesWholeAndStopsWhenTheOutputRefuses) {
    const std::string path = Path("doc.pdf");
    WritePdf(path, {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 20, "Text"}}}});
    const std::string original = ReadFile(path);
    PDDocument doc = Open(path);
    PDPage page = LoadPage(doc, 0);
    const PDQuadF q = Quads(page)[0];

    // Incremental saves onto the file the document was read from keep its bytes.
    ASSERT_EQ(AddMarkup(doc, page, kPDAtomHighlight, {q}, 0xFFFF0000), kPDOk);
    ASSERT_EQ(Save(doc, path, kFolioSaveIncremental), kPDOk);
    EXPECT_EQ(ReadFile(path).compare(0, original.size(), original), 0);
    EXPECT_EQ(Count(path), 1u);
    ASSERT_EQ(AddMarkup(doc, page, kPDAtomHighlight, {q}, 0xFF00FF00), kPDOk);
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

    PDDocument memory = nullptr;
    FolioDocumentNewInMemory(&memory);
    EXPECT_EQ(Save(memory, Path("m.pdf"), kFolioSaveFull), kPDErrNotAvailable);
    FolioDocumentRelease(memory);
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
    uint32_t repaired = 1;
    ASSERT_EQ(FolioDocumentOpen(Path("plain.pdf").c_str(), &doc), kPDOk);
    EXPECT_EQ(FolioDocumentWasRepaired(doc, &repaired), kPDOk);
    EXPECT_EQ(repaired, 0u);
    FolioDocumentRelease(doc);
    const auto size = std::filesystem::file_size(Path("plain.pdf"));
    std::filesystem::resize_file(Path("plain.pdf"), size - size / 4);
    ASSERT_EQ(FolioDocumentOpen(Path("plain.pdf").c_str(), &doc), kPDOk);
    EXPECT_EQ(FolioDocumentWasRepaired(doc, &repaired), kPDOk);
    EXPECT_EQ(repaired, 1u);
    FolioDocumentRelease(doc);
}

} // namespace
