// Odd command lines and broken documents: every bad value is refused with a
// short message and exit code 2, and a document that is partly broken can
// still be marked up where it is whole.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "CliFixture.h"

namespace {

using StrictInput = CliFixture;

// A PDF file of the given objects, numbered from 1 (the first is the
// catalog), with a correct cross-reference table.
std::string PdfOf(const std::vector<std::string>& objects) {
    std::string pdf = "%PDF-1.7\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

TEST_F(StrictInput, BadValuesExitTwoWithAShortMessage) {
    const std::string huge(100000, 'x');
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"text", "in.pdf", "--page", "18446744073709551617"}, "--page takes a page number"},
        {{"text", "in.pdf", "--page", "0"}, "counted from 1, not '0'"},
        {{"text", "in.pdf", "--page", "+1"}, "--page"},
        {Markup("out.pdf", {"--from", "0:72,700", "--to", "1:90,700"}), "--from takes PAGE:X,Y"},
        {Markup("out.pdf", {"--from", "-1:72,700", "--to", "1:90,700"}), "not '-1:72,700'"},
        {Markup("out.pdf", {"--from", "1:nan,700", "--to", "1:90,700"}), "finite numbers"},
        {Markup("out.pdf", {"--from", "1:72,700", "--to", "1:inf,700"}), "--to takes"},
        {Markup("out.pdf", {"--from", "1:72,1e39", "--to", "1:90,700"}), "finite numbers"},
        {Markup("", {"--text", kPangram}), "the output is an empty file name"},
        {Markup("out.pdf", {"--text", "caf\xC3"}), "the phrase is not valid UTF-8"},
        {Markup("out.pdf", {"--text", kPangram, "--" + huge}), "unknown option '--xxxx"},
        {Markup("out.pdf", {"--text", kPangram, "--color", huge}), "--color takes AARRGGBB"},
        {Markup("out.pdf", {"--text", kPangram, "--output", "b.pdf"}), "given more than once"},
        {{"markup", "in.pdf", "-o", "out.pdf", "--kind", "circle", "--text", kPangram},
         "--kind must be highlight, underline or strikeout, not 'circle'"},
        {Markup("out.pdf", {"--text", kPangram, "--from", "1:1,1", "--to", "1:9,9"}),
         "--text and --from/--to do not go together"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const VellumOutcome run = Run(c.args);
        ExpectExit(run, 2, c.says);
        EXPECT_LT(run.err.size(), 300u) << run.err;
    }
    EXPECT_EQ(FolderListing(Dir()), std::vector<std::string>{"in.pdf"});
}

TEST_F(StrictInput, MessagesSayAThingOnceAndCountPagesFromOne) {
    VellumOutcome run = Run(Markup("out.pdf", {"--text", kPangram}, "missing.pdf"));
    EXPECT_EQ(run.exit, 1);
    EXPECT_EQ(run.err, "vellum markup: cannot open 'missing.pdf': No such file or directory\n");

    // A long phrase that is not there is quoted short.
    run = Run(Markup("out.pdf", {"--text", std::string(100000, 'q')}));
    ExpectExit(run, 1, "is not in in.pdf");
    EXPECT_LT(run.err.size(), 300u);

    run = Run(Markup("out.pdf", {"--from", "9:72,700", "--to", "9:90,700"}));
    EXPECT_EQ(run.exit, 1);
    EXPECT_EQ(run.err, "vellum markup: page 9 is out of range: the document has 5 pages\n");
}

// Files that are no PDF, or too broken to read, fail with their name and
// leave every file alone.
TEST_F(StrictInput, UnreadableInputsFailAndWriteNothing) {
    const std::string sample = ReadFile(Path("in.pdf"));
    std::ofstream(Path("letter.pdf")) << "Dear reader, this is no PDF.\n";
    std::ofstream(Path("cut.pdf"), std::ios::binary) << sample.substr(0, sample.size() / 3);
    std::ofstream(Path("damaged.pdf")) << "%PDF-1.7\n1 0 obj << /Type /Catalog /Pages 2 0 R\n";
    const std::vector<std::string> before = FolderListing(Dir());
    for (const auto& [in, says] :
         {std::pair("letter.pdf", "'letter.pdf' is not a PDF file"),
          std::pair("cut.pdf", "cut.pdf"), std::pair("damaged.pdf", "'damaged.pdf' is damaged")}) {
        const VellumOutcome run = Run(Markup("out.pdf", {"--text", kPangram}, in));
        ExpectExit(run, 1, says);
        EXPECT_EQ(FolderListing(Dir()), before);
    }
    EXPECT_TRUE(ReadFile(Path("in.pdf")) == sample);
}

TEST_F(StrictInput, DoubleDashEndsTheOptionsAndATransparentColourWarns) {
    std::filesystem::copy_file(Path("in.pdf"), Path("-in.pdf"));
    const VellumOutcome run = Run({"markup", "-o", "out.pdf", "--kind", "highlight", "--color",
                                   "00FF0000", "--text", kPangram, "--", "-in.pdf"});
    ExpectExit(run, 0,
               "warning: the colour's alpha is 00, so the annotations will be "
               "invisible");
    EXPECT_EQ(AnnotCount(Path("out.pdf")), 1);
}

// Page 1 holds text far above the page, whose place overflows any pixel
// count, and page 2 is a page-tree node that contains itself.
TEST_F(StrictInput, TextFarOffThePageAndABrokenPageFailOnlyTheDragsThatTouchThem) {
    const std::string text = "BT /F1 24 Tf 72 1700000000 Td (Far away) Tj ET "
                             "BT /F1 24 Tf 72 700 Td (Hello first page) Tj ET";
    std::ofstream(Path("cycle.pdf"), std::ios::binary) << PdfOf(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 2 >>",
         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
         "/Resources << /Font << /F1 5 0 R >> >> >>",
         "<< /Length " + std::to_string(text.size()) + " >>\nstream\n" + text + "\nendstream",
         "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
         "<< /Type /Pages /Parent 2 0 R /Kids [6 0 R] /Count 1 >>"});
    VellumOutcome run = Run(Markup("first.pdf", {"--text", "Hello first"}, "cycle.pdf"));
    EXPECT_EQ(run.exit, 0) << run.err;
    // Other readers stumble over the cycle: look for the annotation in what
    // was appended.
    const std::string original = ReadFile(Path("cycle.pdf")), saved = ReadFile(Path("first.pdf"));
    ASSERT_EQ(saved.compare(0, original.size(), original), 0);
    EXPECT_NE(saved.find("/Highlight", original.size()), std::string::npos);

    run = Run(Markup("across.pdf", {"--from", "1:80,705", "--to", "2:80,705"}, "cycle.pdf"));
    ExpectExit(run, 1, "page 2: cycle in page tree");
    EXPECT_EQ(run.err.find("page 1"), std::string::npos) << run.err;
    ExpectExit(Run(Markup("far.pdf", {"--text", "Far away"}, "cycle.pdf")), 1, "not the phrase");
}

TEST_F(StrictInput, RepairedFilesAreMarkedUpElsewhereButNeverOverwritten) {
    // A cross-reference offset that points nowhere: MuPDF rebuilds the table.
    std::string damaged = ReadFile(Path("in.pdf"));
    damaged = damaged.substr(0, damaged.rfind("startxref")) + "startxref\n999\n%%EOF\n";
    std::ofstream(Path("damaged.pdf"), std::ios::binary) << damaged;

    VellumOutcome run = Run(Markup("out.pdf", {"--text", kPangram}, "damaged.pdf"));
    ExpectExit(run, 0, "warning: damaged.pdf is damaged");
    EXPECT_EQ(AnnotCount(Path("out.pdf")), 1);

    run = Run(Markup("damaged.pdf", {"--text", kPangram}, "damaged.pdf"));
    ExpectExit(run, 1, "write the result to another file");
    EXPECT_TRUE(ReadFile(Path("damaged.pdf")) == damaged);
}

TEST_F(StrictInput, TheAuthorIsTheAccountNameWhenTheEnvironmentHasNone) {
    const passwd* account = getpwuid(geteuid());
    ASSERT_NE(account, nullptr);
    const VellumOutcome run =
        Run(Markup("out.pdf", {"--text", kPangram}),
            {{"USER", std::nullopt}, {"LOGNAME", std::nullopt}, {"VELLUM_AUTHOR", std::nullopt}});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(ProbeAnnots(Path("out.pdf"))["/pages/0/annots/0/author"], account->pw_name);
}

} // namespace
