// The PDF file backend: exact geometry on turned and cropped pages, saved
// annotations as other PDF tools read them, safe saving and open failures.
#include "TestPdf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace testpdf;

namespace {

class PdfFile : public ::testing::Test {
protected:
    void SetUp() override { dir_ = TempDir(); }
    void TearDown() override {
        for (PDPage p : pages_)
            PDPageRelease(p);
        for (PDDocument d : docs_)
            FolioDocumentRelease(d);
        chmod(dir_.c_str(), 0700);
        std::system(("rm -rf " + dir_).c_str());
    }

    std::string Path(const std::string& name) { return dir_ + "/" + name; }
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
        EXPECT_EQ(Shell("pdfinfo " + path + " 2>&1 >/dev/null"), "");
        PDDocument doc = Open(path);
        uint64_t n = 0;
        EXPECT_EQ(FolioPageCountAnnots(LoadPage(doc, 0), &n), kPDOk);
        return n;
    }

    std::string dir_;
    std::vector<PDDocument> docs_;
    std::vector<PDPage> pages_;
};

// A glyph drawn at a known place lies there on every rotation; the display
// matrix and the renderer agree with it.
TEST_F(PdfFile, QuadsAreExactOnTurnedAndCroppedPages) {
    std::vector<Page> pages;
    for (int rotate : {0, 90, 180, 270})
        pages.push_back({{0, 0, 612, 792},
                         {50, 60, 400, 700},
                         rotate,
                         {{100, 500, 20, "H"}, {100, 120, 10, "Ok"}}});
    WritePdf(Path("turned.pdf"), pages);
    PDDocument doc = Open(Path("turned.pdf"));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        PDPage page = LoadPage(doc, i);
        int32_t rotate = -1;
        PDRectF box;
        EXPECT_EQ(PDPageGetRotate(page, &rotate), kPDOk);
        EXPECT_EQ(rotate, 90 * i);
        PDPageGetCropBox(page, &box);
        EXPECT_EQ(Str(box), "(50.00 60.00)(400.00 700.00)");

        const std::vector<PDQuadF> q = Quads(page);
        ASSERT_EQ(q.size(), 4u); // H, line feed, O, k
        const float top = 500 + kAscent * 20, bottom = 500 + kDescent * 20, right = 114.44f;
        EXPECT_EQ(Str(q[0]),
                  Str(PDQuadF{{100, top}, {right, top}, {100, bottom}, {right, bottom}}));
        EXPECT_EQ(Str(q[2].p2), Str(PDPointF{100, 120 + kDescent * 10}));

        // The crop box corner shown at the top-left turns with the page.
        const PDPointF corner[4] = {{50, 700}, {50, 60}, {400, 60}, {400, 700}};
        float m[6];
        FolioPageDisplayMatrix(page, 1, m);
        const PDPointF shown{m[0] * corner[i].x + m[2] * corner[i].y + m[4],
                             m[1] * corner[i].x + m[3] * corner[i].y + m[5]};
        EXPECT_EQ(Str(shown), "(0.00 0.00)");

        // The renderer's ink lies inside the character quads, as the matrix shows them.
        uint8_t* rgba = nullptr;
        int32_t w = 0, h = 0, inside = 0, outside = 0;
        ASSERT_EQ(FolioPageRender(page, 1, &rgba, &w, &h), kPDOk);
        EXPECT_EQ(w, i % 2 ? 640 : 350);
        const float det = m[0] * m[3] - m[1] * m[2];
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px) {
                if (rgba[(size_t(py) * w + px) * 4] > 128)
                    continue;
                const float dx = px + 0.5f - m[4], dy = py + 0.5f - m[5];
                const float x = (m[3] * dx - m[2] * dy) / det, y = (m[0] * dy - m[1] * dx) / det;
                const bool inH = x > 100 && x < right && y > bottom && y < top;
                const bool inOk = x > 100 && x < 115 && y > 117 && y < 131;
                inside += inH;
                outside += !inH && !inOk;
            }
        EXPECT_GT(inside, 50);
        EXPECT_EQ(outside, 0);
        FolioFreeBuffer(rgba);
    }
}

// A highlight saved to a file, read back by pypdf, poppler's text and poppler's
// renderer, and by the library itself.
TEST_F(PdfFile, SavedHighlightIsWhatOtherToolsSee) {
    WritePdf(Path("in.pdf"),
             {{{0, 0, 612, 792}, {0, 0, 612, 792}, 0, {{72, 700, 20, "Hello World"}}}});
    PDDocument doc = Open(Path("in.pdf"));
    PDPage page = LoadPage(doc, 0);
    const std::vector<PDQuadF> c = Quads(page);
    const PDQuadF hello{c[0].p0, c[4].p1, c[0].p2, c[4].p3};
    ASSERT_EQ(AddMarkup(doc, page, kPDAtomHighlight, {hello}, 0xFFFFEA3B, 0.5f,
                        L"J\u00fcrgen \U0001F600"),
              kPDOk);
    ASSERT_EQ(Save(doc, Path("out.pdf"), kFolioSaveFull), kPDOk);

    const std::string py =
        "import sys,pypdf; a=pypdf.PdfReader(sys.argv[1]).pages[0]['/Annots'][0].get_object(); "
        "f=lambda v: ' '.join('%.2f' % float(x) for x in v); "
        "sys.stdout.buffer.write(('%s|%s|%s|%.2f|%s' % (a['/Subtype'], f(a['/QuadPoints']), "
        "f(a['/C']), float(a['/CA']), a['/T'])).encode())";
    std::string points; // p0 p1 p2 p3, as x y pairs
    for (const PDPointF& p : {hello.p0, hello.p1, hello.p2, hello.p3}) {
        char xy[40];
        snprintf(xy, sizeof xy, "%s%.2f %.2f", points.empty() ? "" : " ", p.x, p.y);
        points += xy;
    }
    EXPECT_EQ(Shell("/usr/bin/python3 -c \"" + py + "\" " + Path("out.pdf")),
              "/Highlight|" + points + "|1.00 0.92 0.23|0.50|J\u00fcrgen \U0001F600");

    // poppler's words: "Hello" under the quad, "World" beside it (y down from the top).
    const std::string words = Shell("pdftotext -bbox " + Path("out.pdf") + " -");
    int seen = 0;
    for (size_t at = words.find("<word "); at != std::string::npos;
         at = words.find("<word ", at + 1), ++seen) {
        float x0, y0, x1, y1;
        char text[64] = {};
        ASSERT_EQ(sscanf(words.c_str() + at,
                         "<word xMin=\"%f\" yMin=\"%f\" xMax=\"%f\" yMax=\"%f\">%63[^<]", &x0, &y1,
                         &x1, &y0, text),
                  5);
        y0 = 792 - y0, y1 = 792 - y1;
        const bool inside = x0 >= hello.p0.x - 0.5 && x1 <= hello.p1.x + 0.5 &&
                            y0 >= hello.p2.y - 0.5 && y1 <= hello.p0.y + 0.5;
        EXPECT_EQ(inside, std::string(text) == "Hello") << text;
    }
    EXPECT_EQ(seen, 2);

    // Colour under the quad above the glyphs, white beside it: poppler, then MuPDF.
    const float x = (hello.p0.x + hello.p1.x) / 2, y = 700 + 0.95f * 20;
    Shell("pdftoppm -r 72 -f 1 -l 1 " + Path("out.pdf") + " " + Path("shot"));
    const std::string ppm = Slurp(Path("shot-1.ppm"));
    ASSERT_EQ(ppm.compare(0, 15, "P6\n612 792\n255\n"), 0);
    auto popplerPixel = [&](float px, float py) {
        return ppm.data() + 15 + (size_t(792 - py) * 612 + size_t(px)) * 3;
    };
    const unsigned char* under = reinterpret_cast<const unsigned char*>(popplerPixel(x, y));
    EXPECT_TRUE(under[0] > 240 && under[1] > 230 && under[2] < 200);
    EXPECT_EQ(popplerPixel(x, 700 + 40)[2], char(255));

    PDPage saved = LoadPage(Open(Path("out.pdf")), 0);
    uint8_t* rgba = nullptr;
    int32_t w = 0, h = 0;
    ASSERT_EQ(FolioPageRender(saved, 1, &rgba, &w, &h), kPDOk);
    const uint8_t* mu = rgba + (size_t(792 - y) * w + size_t(x)) * 4;
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(mu[i], under[i], 3) << i;
    FolioFreeBuffer(rgba);
    FolioAnnotInfo info;
    PDQuadF back;
    ASSERT_EQ(FolioPageGetAnnot(saved, 0, &info, &back, 1), kPDOk);
    EXPECT_EQ(info.color, 0xFFFFEA3Bu);
    EXPECT_FLOAT_EQ(info.opacity, 0.5f);
    EXPECT_EQ(Str(back), Str(hello));
}

TEST_F(PdfFile, WritingAppendsOrWritesWholeAndStopsWhenTheOutputRefuses) {
    const std::string path = Path("doc.pdf");
    WritePdf(path, {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 20, "Text"}}}});
    const std::string original = Slurp(path);
    PDDocument doc = Open(path);
    PDPage page = LoadPage(doc, 0);
    const PDQuadF q = Quads(page)[0];

    // Incremental saves onto the file the document was read from keep its bytes.
    ASSERT_EQ(AddMarkup(doc, page, kPDAtomHighlight, {q}, 0xFFFF0000), kPDOk);
    ASSERT_EQ(Save(doc, path, kFolioSaveIncremental), kPDOk);
    EXPECT_EQ(Slurp(path).compare(0, original.size(), original), 0);
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
    EXPECT_EQ(FolioDocumentOpen(dir_.c_str(), &doc), kPDErrCannotOpen);
    std::ofstream(Path("text.pdf")) << "just some text\n";
    EXPECT_EQ(FolioDocumentOpen(Path("text.pdf").c_str(), &doc), kPDErrDamaged);
    std::ofstream(Path("broken.pdf")) << "%PDF-1.4\n1 0 obj\n<< /Type /Cat";
    EXPECT_EQ(FolioDocumentOpen(Path("broken.pdf").c_str(), &doc), kPDErrDamaged);
    EXPECT_EQ(doc, nullptr);

    WritePdf(Path("plain.pdf"),
             {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 20, "Secret"}}}});
    Shell("/usr/bin/python3 -c \"import sys,pypdf; r=pypdf.PdfReader(sys.argv[1]); "
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
