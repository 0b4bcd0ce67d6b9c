// `vellum markup` and `vellum text` run as a user would run them, on the
// bundled sample and on bad input. What the command saved is read back with
// tools that share no code with it: pypdf (through pdfprobe.py), pdftotext
// and pdftoppm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <tuple>
#include <utility>

#include "ShellCommand.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

using Texts = std::vector<std::string>;

const std::string kPangram = "The quick brown fox jumps over the lazy dog";
const std::string kAuthor = "Zoë Тестер";
constexpr double kPageHeight = 842; // of every page but the turned one

struct Kind {
    const char* option;
    const char* subtype;
    uint32_t color;
};
const Kind kKinds[] = {{"highlight", "/Highlight", 0xFFFFEA3Bu},
                       {"underline", "/Underline", 0xFF44DC5Eu},
                       {"strikeout", "/StrikeOut", 0xFFFF3724u}};

using testsupport::Outcome;
using testsupport::Quote;
using testsupport::ReadFile;

struct Box {
    double x0, y0, x1, y1;
};

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

std::string PagePath(int page) {
    return "/pages/" + std::to_string(page - 1);
}

// The flat "/path<TAB>value" lines of pdfprobe.py.
class Flat {
public:
    explicit Flat(const std::string& lines) {
        std::istringstream in(lines);
        for (std::string line; std::getline(in, line);)
            if (const std::size_t tab = line.find('\t'); tab != std::string::npos)
                values_[line.substr(0, tab)] = line.substr(tab + 1);
    }
    bool Has(const std::string& path) const { return values_.count(path) != 0; }
    std::string Str(const std::string& path) const {
        const auto found = values_.find(path);
        EXPECT_NE(found, values_.end()) << "no " << path;
        return found == values_.end() ? "" : found->second;
    }
    double Num(const std::string& path) const {
        const std::string text = Str(path);
        return text.empty() || text == "null" ? std::nan("") : std::stod(text);
    }
    std::size_t Count(const std::string& path) const {
        return Has(path + "/#") ? std::stoul(values_.at(path + "/#")) : 0;
    }
    std::vector<double> Nums(const std::string& path) const {
        std::vector<double> numbers;
        for (std::size_t i = 0; i < Count(path); ++i)
            numbers.push_back(Num(path + "/" + std::to_string(i)));
        return numbers;
    }

private:
    std::map<std::string, std::string> values_;
};

// The bounding box of each quad of a /QuadPoints array.
std::vector<Box> QuadBoxes(const std::vector<double>& q) {
    std::vector<Box> boxes;
    for (std::size_t i = 0; i + 8 <= q.size(); i += 8) {
        Box box{q[i], q[i + 1], q[i], q[i + 1]};
        for (std::size_t k = i; k < i + 8; k += 2)
            box = {std::min(box.x0, q[k]), std::min(box.y0, q[k + 1]), std::max(box.x1, q[k]),
                   std::max(box.y1, q[k + 1])};
        boxes.push_back(box);
    }
    return boxes;
}

// Words joined by single spaces, without the punctuation around each.
std::string Bare(const std::string& text) {
    static const std::string kPunctuation = ".,;:!?\"'()";
    std::istringstream in(text);
    std::string joined;
    for (std::string word; in >> word;) {
        const std::size_t first = word.find_first_not_of(kPunctuation);
        if (first != std::string::npos)
            joined += (joined.empty() ? "" : " ") +
                      word.substr(first, word.find_last_not_of(kPunctuation) - first + 1);
    }
    return joined;
}

bool Near(const unsigned char* pixel, uint32_t rgb, int tolerance) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(pixel[i] - int((rgb >> (16 - 8 * i)) & 0xFF)) > tolerance)
            return false;
    return true;
}

void ExpectColor(const std::vector<double>& rgb, uint32_t argb) {
    ASSERT_EQ(rgb.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(rgb[i], ((argb >> (16 - 8 * i)) & 0xFF) / 255.0, 0.002) << "channel " << i;
}

Image ReadPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int depth = 0;
    Image image;
    in >> magic >> image.width >> image.height >> depth;
    in.get();
    image.rgb.resize(std::size_t(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
    EXPECT_TRUE(in && magic == "P6") << "cannot read " << path;
    return image;
}

// The most changed pixel row (the part of it that differs) among the rows
// whose centres lie from `low` to `high` of the height, counted from the bottom.
double MostChanged(const Image& a, const Image& b, double low, double high) {
    double most = 0;
    for (int y = 0; y < a.height; ++y) {
        const double up = 1 - (y + 0.5) / a.height;
        int changed = 0;
        for (int x = 0; x < a.width && up >= low && up <= high; ++x) {
            const unsigned char* p = b.At(x, y);
            changed += !Near(a.At(x, y), (p[0] << 16) | (p[1] << 8) | p[2], 40);
        }
        most = std::max(most, double(changed) / a.width);
    }
    return most;
}

class VellumCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vellum-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(Dir());
    }
    void TearDown() override {
        if (HasFailure())
            std::printf("the files of this test are kept in %s\n", root_.c_str());
        else
            fs::remove_all(root_);
    }

    static std::string Sample() { return (fs::path(SAMPLES_DIR) / "sample.pdf").string(); }
    // Where the commands run; their output goes elsewhere.
    fs::path Dir() const { return root_ / "work"; }
    std::string Scratch(const std::string& name) {
        return (root_ / (std::to_string(++serial_) + "." + name)).string();
    }

    Outcome Shell(const std::string& command) { return testsupport::RunCommand(command, Dir()); }

    Outcome Vellum(const std::vector<std::string>& args) {
        // Each test keeps its own user options.
        std::string command = "VELLUM_SETTINGS=" + Quote((root_ / "settings.sqlite3").string()) +
                              " VELLUM_AUTHOR=" + Quote(kAuthor) + " " + Quote(VELLUM_EXE);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        Outcome run = Shell(command);
        // A sanitizer's report ends the run with a failure code of its own.
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
        return run;
    }

    Flat Probe(const std::string& request) {
        const Outcome run = Shell("/usr/bin/python3 " + Quote(PDFPROBE_PY) + " " + request);
        EXPECT_EQ(run.exit, 0) << request << "\n" << run.err;
        return Flat(run.out);
    }
    Flat Json(const std::string& text) {
        const std::string file = Scratch("json");
        std::ofstream(file) << text;
        return Probe("json " + file);
    }
    Flat Annots(const fs::path& pdf) { return Probe("annots " + Quote(pdf.string())); }

    // For each saved annotation of a page counted from 1, the words whose
    // centres pdftotext places inside its quads.
    Texts AnnotWords(const fs::path& pdf, const Flat& saved, int page) {
        const std::string p = std::to_string(page);
        const Outcome run = Shell("pdftotext -bbox -f " + p + " -l " + p + " " + Quote(pdf) + " -");
        EXPECT_EQ(run.exit, 0) << run.err;
        struct Word {
            double x, y;
            std::string text;
        };
        std::vector<Word> words;
        for (std::size_t at = run.out.find("<word "); at != std::string::npos;
             at = run.out.find("<word ", at + 1)) {
            double x0, y0, x1, y1;
            int textStart = 0;
            if (std::sscanf(run.out.c_str() + at,
                            "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%n", &x0,
                            &y0, &x1, &y1, &textStart) != 4 ||
                textStart == 0)
                continue;
            const std::size_t begin = at + textStart, end = run.out.find("</word>", begin);
            words.push_back({(x0 + x1) / 2, (y0 + y1) / 2, run.out.substr(begin, end - begin)});
        }
        const bool turned = saved.Num(PagePath(page) + "/rotate") == 90;
        const double height = saved.Num(PagePath(page) + "/mediaBox/3");
        Texts texts(saved.Count(PagePath(page) + "/annots"));
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string quads = PagePath(page) + "/annots/" + std::to_string(i) + "/quads";
            for (const Box& box : QuadBoxes(saved.Nums(quads)))
                for (const Word& w : words) {
                    // Shown page: across goes up a turned page, down goes right.
                    const auto [x, y] = turned ? std::pair(w.y, w.x) : std::pair(w.x, height - w.y);
                    if (x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1)
                        texts[i] += " " + w.text;
                }
            texts[i] = Bare(texts[i]);
        }
        return texts;
    }

    // pdftoppm's picture of `box` of an upright page, at two pixels per unit.
    Image Render(const fs::path& pdf, int page, const Box& box) {
        const int x = int(std::floor(box.x0 * 2)), y = int(std::floor((kPageHeight - box.y1) * 2));
        const int w = int(std::ceil(box.x1 * 2)) - x;
        const int h = int(std::ceil((kPageHeight - box.y0) * 2)) - y;
        const std::string prefix = Scratch("render");
        std::ostringstream command;
        command << "pdftoppm -r 144 -singlefile -f " << page << " -l " << page << " -x " << x
                << " -y " << y << " -W " << w << " -H " << h << " " << Quote(pdf) << " " << prefix;
        const Outcome run = Shell(command.str());
        EXPECT_EQ(run.exit, 0) << run.err;
        return ReadPpm(prefix + ".ppm");
    }

private:
    fs::path root_;
    int serial_ = 0;
};

} // namespace

TEST_F(VellumCli, EachKindMarksThePangramAndPaintsItsOwnPartOfTheLine) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.option);
        const std::string out = std::string(kind.option) + ".pdf";
        const Outcome run = Vellum(
            {"markup", Sample(), "-o", out, "--kind", kind.option, "--text", kPangram, "--json"});
        ASSERT_EQ(run.exit, 0) << run.err;
        const Flat saved = Annots(Dir() / out);
        ASSERT_EQ(saved.Count("/pages"), 5u);
        for (int page = 2; page <= 5; ++page)
            EXPECT_EQ(saved.Count(PagePath(page) + "/annots"), 0u);
        EXPECT_EQ(AnnotWords(Dir() / out, saved, 1), Texts{kPangram});
        const std::string annot = "/pages/0/annots/0";
        EXPECT_EQ(saved.Str(annot + "/subtype"), kind.subtype);
        ExpectColor(saved.Nums(annot + "/color"), kind.color);
        EXPECT_EQ(saved.Num(annot + "/opacity"), 1.0);
        EXPECT_EQ(saved.Str(annot + "/author"), kAuthor);
        const std::vector<double> quads = saved.Nums(annot + "/quads");
        ASSERT_EQ(quads.size(), 8u) << "one line, one run";
        const std::vector<double> reported = Json(run.out).Nums("/drags/0/annotations/0/quads/0");
        for (std::size_t i = 0; i < reported.size() && reported.size() == 8; ++i)
            EXPECT_NEAR(reported[i], quads[i], 0.01) << "the report shows what was saved";

        const Box line = QuadBoxes(quads)[0];
        const Image before = Render(Sample(), 1, line), after = Render(Dir() / out, 1, line);
        ASSERT_GT(before.height, 10);
        ASSERT_EQ(before.rgb.size(), after.rgb.size());
        if (kind.option == std::string("underline")) {
            EXPECT_GT(MostChanged(before, after, 0, 0.2), 0.5);
            EXPECT_LT(MostChanged(before, after, 0.3, 1), 0.01);
        } else if (kind.option == std::string("strikeout")) {
            EXPECT_GT(MostChanged(before, after, 0.3, 0.6), 0.5);
            EXPECT_LT(MostChanged(before, after, 0, 0.15), 0.01);
            EXPECT_LT(MostChanged(before, after, 0.75, 1), 0.01);
        } else {
            // The paper under the line takes the colour; the ink stays dark.
            std::size_t paper = 0, coloured = 0;
            for (int y = 0; y < before.height; ++y)
                for (int x = 0; x < before.width; ++x)
                    if (Near(before.At(x, y), 0xFFFFFF, 15)) {
                        ++paper;
                        coloured += Near(after.At(x, y), kind.color & 0xFFFFFF, 24);
                    }
            EXPECT_GT(paper, before.rgb.size() / 3 / 2);
            EXPECT_GT(coloured, paper * 95 / 100);
        }
    }
}

TEST_F(VellumCli, PhrasesOnTurnedCroppedAndNonLatinPagesCoverTheirWords) {
    const std::pair<int, const char*> cases[] = {{2, "Καλημέρα κόσμε"},
                                                 {2, "Привет, мир"},
                                                 {2, "𝕄𝕒𝕣𝕜𝕦𝕡 𝕥𝕖𝕩𝕥"},
                                                 {3, "turned a quarter turn clockwise"},
                                                 {4, "inside the crop box"}};
    for (const auto& [page, phrase] : cases) {
        SCOPED_TRACE(phrase);
        const Outcome run =
            Vellum({"markup", Sample(), "-o", "out.pdf", "--kind", "highlight", "--text", phrase});
        ASSERT_EQ(run.exit, 0) << run.err;
        const Flat saved = Annots(Dir() / "out.pdf");
        EXPECT_EQ(AnnotWords(Dir() / "out.pdf", saved, page), Texts{Bare(phrase)});
    }
}

TEST_F(VellumCli, PhrasesOverALineOrAPageBreakAreOneDragEach) {
    Outcome run = Vellum({"markup", Sample(), "-o", "pages.pdf", "--kind", "strikeout", "--text",
                          "this account continues on the next page", "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Flat report = Json(run.out);
    ASSERT_EQ(report.Count("/drags"), 1u);
    EXPECT_EQ(report.Num("/drags/0/undoSteps"), 1);
    EXPECT_EQ(report.Count("/drags/0/annotations"), 2u);
    const Flat pages = Annots(Dir() / "pages.pdf");
    EXPECT_EQ(AnnotWords(Dir() / "pages.pdf", pages, 1), Texts{"this account continues on"});
    EXPECT_EQ(AnnotWords(Dir() / "pages.pdf", pages, 2), Texts{"the next page"});

    const std::string phrase = "markup annotations are stored with the document";
    run = Vellum({"markup", Sample(), "-o", "lines.pdf", "--kind", "underline", "--text", phrase});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Flat lines = Annots(Dir() / "lines.pdf");
    EXPECT_EQ(AnnotWords(Dir() / "lines.pdf", lines, 1), Texts{phrase});
    const std::vector<Box> runs = QuadBoxes(lines.Nums("/pages/0/annots/0/quads"));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_LT((runs[1].y0 + runs[1].y1) / 2, runs[0].y0) << "the second run is a line lower";
}

TEST_F(VellumCli, AllOccurrencesOfAWordInTheChosenColour) {
    const Outcome plain = Shell("pdftotext " + Quote(Sample()) + " -");
    std::size_t expected = 0;
    for (std::size_t at = plain.out.find("metal"); at != std::string::npos;
         at = plain.out.find("metal", at + 1))
        ++expected;
    ASSERT_GT(expected, 3u);

    const Outcome run = Vellum({"markup", Sample(), "-o", "all.pdf", "--kind", "underline", "--all",
                                "--text", "metal", "--color", "80FF0000", "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Flat report = Json(run.out);
    EXPECT_EQ(report.Str("/color"), "80FF0000");
    EXPECT_EQ(report.Count("/drags"), expected);
    const Flat saved = Annots(Dir() / "all.pdf");
    std::size_t found = 0;
    for (int page = 1; page <= 5; ++page) {
        const Texts texts = AnnotWords(Dir() / "all.pdf", saved, page);
        for (std::size_t i = 0; i < texts.size(); ++i, ++found) {
            const std::string annot = PagePath(page) + "/annots/" + std::to_string(i);
            EXPECT_EQ(texts[i], "metal") << annot;
            ExpectColor(saved.Nums(annot + "/color"), 0xFF0000);
            EXPECT_NEAR(saved.Num(annot + "/opacity"), 0.5, 1e-6);
        }
    }
    EXPECT_EQ(found, expected);
}

TEST_F(VellumCli, DragsBetweenPointsCoverTheCharactersBetweenEitherWay) {
    const Outcome text = Vellum({"text", Sample(), "--page", "1", "--json"});
    ASSERT_EQ(text.exit, 0) << text.err;
    const Flat page = Json(text.out);
    std::string all;
    std::vector<std::size_t> charAt; // the character of each byte of `all`
    for (std::size_t i = 0; i < page.Count("/pages/0/chars"); ++i) {
        all += page.Str("/pages/0/chars/" + std::to_string(i) + "/text");
        charAt.resize(all.size(), i);
    }
    const std::string wanted = "quick brown fox";
    const std::size_t at = all.find(wanted);
    ASSERT_NE(at, std::string::npos);
    const auto quad = [&](std::size_t i) {
        return QuadBoxes(page.Nums("/pages/0/chars/" + std::to_string(charAt[i]) + "/quad")).at(0);
    };
    const Box first = quad(at), last = quad(at + wanted.size() - 1);
    const auto point = [](double x, double y) {
        return "1:" + std::to_string(x) + "," + std::to_string(y);
    };
    const std::string centre = point((first.x0 + first.x1) / 2, (first.y0 + first.y1) / 2);
    const std::string pastEnd = point(last.x1 + 1, (last.y0 + last.y1) / 2);

    for (const auto& [from, to] : {std::pair(centre, pastEnd), std::pair(pastEnd, centre)}) {
        SCOPED_TRACE(from + " to " + to);
        const Outcome run = Vellum({"markup", Sample(), "-o", "drag.pdf", "--kind", "highlight",
                                    "--from", from, "--to", to, "--json"});
        ASSERT_EQ(run.exit, 0) << run.err;
        EXPECT_EQ(Json(run.out).Str("/drags/0/annotations/0/text"), wanted);
        const std::vector<Box> runs =
            QuadBoxes(Annots(Dir() / "drag.pdf").Nums("/pages/0/annots/0/quads"));
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_NEAR(runs[0].x0, first.x0, 0.05);
        EXPECT_NEAR(runs[0].x1, last.x1, 0.05);
    }

    // A drag that starts off the text does not count; the other one is saved.
    const Outcome run =
        Vellum({"markup", Sample(), "-o", "some.pdf", "--kind", "underline", "--from", "1:5,5",
                "--to", "1:40,5", "--from", centre, "--to", pastEnd, "--json"});
    EXPECT_EQ(run.exit, 3) << run.err;
    EXPECT_NE(run.err.find("1 of 2 drags"), std::string::npos) << run.err;
    const Flat report = Json(run.out);
    EXPECT_TRUE(report.Has("/drags/0/problem") && !report.Has("/drags/1/problem"));
    EXPECT_EQ(Annots(Dir() / "some.pdf").Count("/pages/0/annots"), 1u);
}

TEST_F(VellumCli, SnapshotShowsTheLiveSelectionOnThePage) {
    const Outcome run =
        Vellum({"markup", Sample(), "-o", "out.pdf", "--kind", "highlight", "--color", "FF2040E0",
                "--text", kPangram, "--snapshot", "live.png"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const std::string ppm = Scratch("ppm");
    Probe("ppm " + Quote((Dir() / "live.png").string()) + " " + ppm);
    const Image shot = ReadPpm(ppm);
    ASSERT_GT(shot.width, 0);
    const double scale = shot.width / 595.0;
    EXPECT_NEAR(shot.height, kPageHeight * scale, 1.0);

    const Box line = QuadBoxes(Annots(Dir() / "out.pdf").Nums("/pages/0/annots/0/quads")).at(0);
    const int x0 = int(line.x0 * scale) + 1, x1 = int(line.x1 * scale) - 1;
    const int y0 = int((kPageHeight - line.y1) * scale) + 1;
    const int y1 = int((kPageHeight - line.y0) * scale) - 1;
    std::size_t inside = 0, everywhere = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (Near(shot.At(x, y), 0x2040E0, 8)) {
                ++everywhere;
                inside += x >= x0 && x < x1 && y >= y0 && y < y1;
            }
    const std::size_t area = std::size_t(x1 - x0) * (y1 - y0);
    EXPECT_GT(inside, area * 9 / 10) << "the selected line is painted";
    EXPECT_LT(everywhere, area * 12 / 10) << "and little else";
}

TEST_F(VellumCli, BadInputFailsClearlyAndLeavesTheFilesAlone) {
    const std::string sample = ReadFile(Sample());
    fs::copy_file(Sample(), Dir() / "in.pdf");
    std::ofstream(Dir() / "letter.pdf") << "Dear reader, this is no PDF.\n";
    std::ofstream(Dir() / "cut.pdf", std::ios::binary) << sample.substr(0, sample.size() / 3);
    std::ofstream(Dir() / "damaged.pdf") << "%PDF-1.7\n1 0 obj << /Type /Catalog /Pages 2 0 R\n";
    const Outcome locked = Shell("/usr/bin/python3 -c 'import pypdf; w = pypdf.PdfWriter(); "
                                 "[w.add_page(p) for p in pypdf.PdfReader(\"in.pdf\").pages]; "
                                 "w.encrypt(\"secret\"); w.write(\"locked.pdf\")'");
    ASSERT_EQ(locked.exit, 0) << locked.err;
    fs::create_directory(Dir() / "folder");

    const auto mark = [](const std::string& in, const std::string& out, Texts how) {
        Texts args = {"markup", in, "-o", out, "--kind", "highlight"};
        args.insert(args.end(), how.begin(), how.end());
        return args;
    };
    const Texts pangram = {"--text", kPangram};
    const struct {
        Texts args;
        int exit;
        const char* says;
    } cases[] = {
        {mark("missing.pdf", "out.pdf", pangram), 1, "missing.pdf"},
        {mark("letter.pdf", "out.pdf", pangram), 1, "not a PDF"},
        {mark("cut.pdf", "out.pdf", pangram), 1, "cut.pdf"},
        {mark("damaged.pdf", "out.pdf", pangram), 1, "damaged"},
        {mark("locked.pdf", "out.pdf", pangram), 1, "password"},
        {mark("in.pdf", "out.pdf", {"--text", "words nowhere in the sample"}), 1, "not in"},
        {mark("in.pdf", "out.pdf", {"--from", "9:100,100", "--to", "9:200,100"}), 1, "page 9"},
        {mark("in.pdf", "nowhere/out.pdf", pangram), 1, "does not exist"},
        {mark("in.pdf", "folder", pangram), 1, "folder"},
        {mark("in.pdf", "out.pdf", {"--kind", "circle", "--text", kPangram}), 2, "--kind"},
        {mark("in.pdf", "out.pdf", {"--color", "red", "--text", kPangram}), 2, "--color"},
        {mark("in.pdf", "out.pdf", {"--text", kPangram, "--from", "1:1,1", "--to", "1:9,9"}), 2,
         "--from"},
    };
    const auto listing = [&] {
        std::map<std::string, std::uintmax_t> files;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Dir()))
            files[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
        return files;
    };
    const auto before = listing();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1] + " -o " + c.args[3] + " " + c.args.back());
        const Outcome run = Vellum(c.args);
        EXPECT_EQ(run.exit, c.exit) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(listing(), before);
        EXPECT_TRUE(ReadFile(Dir() / "in.pdf") == sample);
    }
}

TEST_F(VellumCli, SavingOverTheInputAppendsToIt) {
    fs::copy_file(Sample(), Dir() / "in.pdf");
    std::string earlier = ReadFile(Sample());
    for (const char* kind : {"highlight", "underline"}) {
        const Outcome run =
            Vellum({"markup", "in.pdf", "-o", "in.pdf", "--kind", kind, "--text", kPangram});
        ASSERT_EQ(run.exit, 0) << run.err;
        const std::string now = ReadFile(Dir() / "in.pdf");
        ASSERT_GT(now.size(), earlier.size());
        EXPECT_TRUE(now.compare(0, earlier.size(), earlier) == 0) << kind << ": bytes lost";
        earlier = now;
    }
    const Flat saved = Annots(Dir() / "in.pdf");
    ASSERT_EQ(saved.Count("/pages/0/annots"), 2u);
    EXPECT_EQ(saved.Str("/pages/0/annots/1/subtype"), "/Underline");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir()), fs::directory_iterator()), 1);
}

TEST_F(VellumCli, TextListsAPagesCharactersWithTheirQuads) {
    const Outcome run = Vellum({"text", Sample(), "--page", "2", "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Flat text = Json(run.out);
    EXPECT_EQ(text.Num("/pageCount"), 5);
    ASSERT_EQ(text.Count("/pages"), 1u);
    EXPECT_EQ(text.Num("/pages/0/page"), 2);
    std::string all;
    bool wholeLetter = false;
    for (std::size_t i = 0; i < text.Count("/pages/0/chars"); ++i) {
        const std::string c = "/pages/0/chars/" + std::to_string(i);
        EXPECT_EQ(text.Count(c + "/quad"), 8u);
        all += text.Str(c + "/text");
        wholeLetter = wholeLetter || text.Str(c + "/text") == "𝕄";
    }
    EXPECT_NE(all.find("Καλημέρα κόσμε"), std::string::npos);
    EXPECT_TRUE(wholeLetter) << "a letter outside the BMP is one character";

    const Outcome beyond = Vellum({"text", Sample(), "--page", "99"});
    EXPECT_EQ(beyond.exit, 1);
    EXPECT_NE(beyond.err.find("out of range"), std::string::npos) << beyond.err;
}

// The host lists the plug-in it started, the service objects it publishes
// and the handlers it placed into the ribbon when the ribbon was ready.
TEST_F(VellumCli, InfoShowsWhatThePluginPublishesAndPlaces) {
    const Outcome run = Vellum({"info"});
    ASSERT_EQ(run.exit, 0) << run.err;
    for (const char* line :
         {"plug-in ", "vellum-marker.so\n  name:          Text Markup Plugin\n",
          "\n    UIReviewMarkupGroupHandler ", "\n    UIReviewFontGroupTextMarkupControlHandler ",
          "\n  Markup   class MarkupGroupHandler (UIHandler)\n",
          "\n  Font     class FontGroupTextMarkupControlHandler (UIHandler)\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " not in\n" << run.out;
    EXPECT_EQ(Vellum({"info", "more"}).exit, 2);
}
