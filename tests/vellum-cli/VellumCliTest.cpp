// `vellum markup` and `vellum text` run as a user would run them, on the
// bundled sample. What the command saved is read back with tools that share
// no code with it: pypdf (through pdfprobe.py), pdftotext and pdftoppm.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "CliFixture.h"

namespace {

using Texts = std::vector<std::string>;
using testsupport::Quote;

constexpr double kPageHeight = 842; // of every page but the turned one

// Rows of a marked line, from `low` to `high` of its height counted from the
// bottom, that a kind's painting changes (or leaves alone).
struct Band {
    double low, high;
    bool changed;
};
struct Kind {
    const char* option;
    const char* subtype;
    uint32_t color;
    std::vector<Band> bands; // none: the paper of the whole line takes the colour
};
const Kind kKinds[] = {
    {"highlight", "/Highlight", 0xFFFFEA3Bu, {}},
    {"underline", "/Underline", 0xFF44DC5Eu, {{0, .2, true}, {.3, 1, false}}},
    {"strikeout", "/StrikeOut", 0xFFFF3724u, {{.3, .6, true}, {0, .15, false}, {.75, 1, false}}},
};

struct Box {
    double x0, y0, x1, y1;
};

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

std::string AnnotPath(int page, int index) {
    return "/pages/" + std::to_string(page - 1) + "/annots/" + std::to_string(index);
}

// The bounding box of each quad of a /QuadPoints array.
std::vector<Box> QuadBoxes(const std::vector<double>& q) {
    std::vector<Box> boxes;
    for (std::size_t i = 0; i + 8 <= q.size(); i += 8) {
        const auto [x0, x1] = std::minmax({q[i], q[i + 2], q[i + 4], q[i + 6]});
        const auto [y0, y1] = std::minmax({q[i + 1], q[i + 3], q[i + 5], q[i + 7]});
        boxes.push_back({x0, y0, x1, y1});
    }
    return boxes;
}

// Words joined by single spaces, without the punctuation around each.
std::string Bare(const std::string& text) {
    static const char* kPunctuation = ".,;:!?\"'()";
    std::istringstream in(text);
    std::string joined;
    for (std::string word; in >> word;)
        if (const std::size_t first = word.find_first_not_of(kPunctuation); first != word.npos)
            joined += (joined.empty() ? "" : " ") +
                      word.substr(first, word.find_last_not_of(kPunctuation) - first + 1);
    return joined;
}

bool Near(const unsigned char* pixel, uint32_t rgb, int tolerance) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(pixel[i] - int((rgb >> (16 - 8 * i)) & 0xFF)) > tolerance)
            return false;
    return true;
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
// whose centres lie in `band`.
double MostChanged(const Image& a, const Image& b, const Band& band) {
    double most = 0;
    for (int y = 0; y < a.height; ++y) {
        const double up = 1 - (y + 0.5) / a.height;
        int changed = 0;
        for (int x = 0; x < a.width && up >= band.low && up <= band.high; ++x) {
            const unsigned char* p = b.At(x, y);
            changed += !Near(a.At(x, y), (p[0] << 16) | (p[1] << 8) | p[2], 40);
        }
        most = std::max(most, double(changed) / a.width);
    }
    return most;
}

class VellumCli : public CliFixture {
protected:
    testsupport::Outcome Shell(const std::string& command) {
        return testsupport::RunCommand(command, Dir());
    }

    // For each saved annotation of a page counted from 1, the words whose
    // centres pdftotext places inside its quads.
    Texts AnnotWords(const std::string& pdf, const Values& saved, int page) {
        const std::string p = std::to_string(page), pagePath = "/pages/" + std::to_string(page - 1);
        const auto run = Shell("pdftotext -bbox -f " + p + " -l " + p + " " + Quote(pdf) + " -");
        EXPECT_EQ(run.exit, 0) << run.err;
        const bool turned = Value(saved, pagePath + "/rotate") == "90";
        const double height = std::stod(Value(saved, pagePath + "/mediaBox/3"));
        Texts texts(std::stoul(Value(saved, pagePath + "/annots/#")));
        for (std::size_t at = run.out.find("<word "); at != std::string::npos;
             at = run.out.find("<word ", at + 1)) {
            double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            int start = 0;
            std::sscanf(run.out.c_str() + at,
                        R"(<word xMin="%lf" yMin="%lf" xMax="%lf" yMax="%lf">%n)", &x0, &y0, &x1,
                        &y1, &start);
            const std::string word =
                run.out.substr(at + start, run.out.find("</word>", at) - at - start);
            const double across = (x0 + x1) / 2, down = (y0 + y1) / 2;
            // Shown page: across goes up a turned page, down goes right.
            const auto [x, y] = turned ? std::pair(down, across) : std::pair(across, height - down);
            for (std::size_t i = 0; i < texts.size(); ++i)
                for (const Box& box : QuadBoxes(Numbers(saved, AnnotPath(page, i) + "/quads")))
                    if (x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1)
                        texts[i] += " " + word;
        }
        for (std::string& text : texts)
            text = Bare(text);
        return texts;
    }

    // The snapshot is the page, with the selected line (and little else)
    // painted in the colour.
    void ExpectSelectedLineAlonePainted(const std::string& png, const Box& line, uint32_t color) {
        ASSERT_EQ(
            Shell("/usr/bin/python3 " + Quote(PDFPROBE_PY) + " ppm " + png + " shot.ppm").exit, 0);
        const Image shot = ReadPpm(Path("shot.ppm"));
        ASSERT_GT(shot.width, 0);
        const double scale = shot.width / 595.0;
        EXPECT_NEAR(shot.height, kPageHeight * scale, 1.0);
        const int x0 = int(line.x0 * scale) + 1, x1 = int(line.x1 * scale) - 1;
        const int y0 = int((kPageHeight - line.y1) * scale) + 1;
        const int y1 = int((kPageHeight - line.y0) * scale) - 1;
        std::size_t inside = 0, everywhere = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                if (Near(shot.At(x, y), color & 0xFFFFFF, 8)) {
                    ++everywhere;
                    inside += x >= x0 && x < x1 && y >= y0 && y < y1;
                }
        const std::size_t area = std::size_t(x1 - x0) * (y1 - y0);
        EXPECT_GT(inside, area * 9 / 10) << "the selected line is painted";
        EXPECT_LT(everywhere, area * 12 / 10) << "and little else";
    }

    // pdftoppm's picture of `box` of page 1, at two pixels per unit.
    Image Render(const std::string& pdf, const Box& box) {
        const int x = int(std::floor(box.x0 * 2)), y = int(std::floor((kPageHeight - box.y1) * 2));
        const int w = int(std::ceil(box.x1 * 2)) - x;
        const int h = int(std::ceil((kPageHeight - box.y0) * 2)) - y;
        const auto run = Shell("pdftoppm -r 144 -singlefile -f 1 -l 1 -x " + std::to_string(x) +
                               " -y " + std::to_string(y) + " -W " + std::to_string(w) + " -H " +
                               std::to_string(h) + " " + Quote(pdf) + " " + Quote(pdf + "-render"));
        EXPECT_EQ(run.exit, 0) << run.err;
        return ReadPpm(Path(pdf + "-render.ppm"));
    }
};

// The saved annotation, how it renders, and the snapshot of the page while
// the tool has the line selected.
TEST_F(VellumCli, EachKindMarksThePangramPaintsItsPartOfTheLineAndShowsTheSelectionLive) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.option);
        const std::string out = std::string(kind.option) + ".pdf";
        const VellumOutcome run = Run({"markup", "in.pdf", "-o", out, "--kind", kind.option,
                                       "--text", kPangram, "--json", "--snapshot", "live.png"});
        ASSERT_EQ(run.exit, 0) << run.err;
        const Values saved = ProbeAnnots(Path(out));
        ASSERT_EQ(Value(saved, "/pages/#"), "5");
        for (int page = 1; page < 5; ++page)
            EXPECT_EQ(Value(saved, "/pages/" + std::to_string(page) + "/annots/#"), "0");
        EXPECT_EQ(AnnotWords(out, saved, 1), Texts{kPangram});
        EXPECT_EQ(Value(saved, AnnotPath(1, 0) + "/subtype"), kind.subtype);
        EXPECT_EQ(AnnotColor(saved, 0, 0), kind.color);
        EXPECT_EQ(Value(saved, AnnotPath(1, 0) + "/opacity"), "1.0");
        const std::vector<double> quads = Numbers(saved, AnnotPath(1, 0) + "/quads");
        ASSERT_EQ(quads.size(), 8u) << "one line, one run";
        const auto reported = Numbers(ProbeJson(run.out), "/drags/0/annotations/0/quads/0");
        for (std::size_t i = 0; i < reported.size() && reported.size() == 8; ++i)
            EXPECT_NEAR(reported[i], quads[i], 0.01) << "the report shows what was saved";

        const Box line = QuadBoxes(quads)[0];
        ExpectSelectedLineAlonePainted("live.png", line, kind.color);
        const Image before = Render("in.pdf", line), after = Render(out, line);
        ASSERT_GT(before.height, 10);
        ASSERT_EQ(before.rgb.size(), after.rgb.size());
        for (const Band& band : kind.bands)
            if (band.changed)
                EXPECT_GT(MostChanged(before, after, band), 0.5) << band.low;
            else
                EXPECT_LT(MostChanged(before, after, band), 0.01) << band.low;
        if (!kind.bands.empty())
            continue;
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

// Each phrase is one drag; what it marks on each page it crosses is its
// words there, over a line break too.
TEST_F(VellumCli, PhrasesOnTurnedCroppedAndNonLatinPagesCoverTheirWords) {
    const struct {
        const char* phrase;
        std::map<int, Texts> words; // by page counted from 1
    } cases[] = {
        {"Καλημέρα κόσμε", {{2, {"Καλημέρα κόσμε"}}}},
        {"Привет, мир", {{2, {"Привет мир"}}}},
        {"𝕄𝕒𝕣𝕜𝕦𝕡 𝕥𝕖𝕩𝕥", {{2, {"𝕄𝕒𝕣𝕜𝕦𝕡 𝕥𝕖𝕩𝕥"}}}},
        {"turned a quarter turn clockwise", {{3, {"turned a quarter turn clockwise"}}}},
        {"inside the crop box", {{4, {"inside the crop box"}}}},
        {"this account continues on the next page",
         {{1, {"this account continues on"}}, {2, {"the next page"}}}},
        {"markup annotations are stored with the document",
         {{1, {"markup annotations are stored with the document"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phrase);
        const VellumOutcome run = Run(Markup("out.pdf", {"--text", c.phrase}));
        ASSERT_EQ(run.exit, 0) << run.err;
        const Values saved = ProbeAnnots(Path("out.pdf"));
        for (const auto& [page, words] : c.words)
            EXPECT_EQ(AnnotWords("out.pdf", saved, page), words) << "page " << page;
    }
}

TEST_F(VellumCli, AllOccurrencesOfAWordInTheChosenColour) {
    const std::string plain = Shell("pdftotext in.pdf -").out;
    std::size_t expected = 0;
    for (std::size_t at = plain.find("metal"); at != plain.npos; at = plain.find("metal", at + 1))
        ++expected;
    ASSERT_GT(expected, 3u);

    const VellumOutcome run = Run({"markup", "in.pdf", "-o", "all.pdf", "--kind", "underline",
                                   "--all", "--text", "metal", "--color", "80FF0000", "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Values report = ProbeJson(run.out);
    EXPECT_EQ(Value(report, "/color"), "80FF0000");
    EXPECT_EQ(Value(report, "/drags/#"), std::to_string(expected));
    const Values saved = ProbeAnnots(Path("all.pdf"));
    std::size_t found = 0;
    for (int page = 1; page <= 5; ++page) {
        const Texts texts = AnnotWords("all.pdf", saved, page);
        for (std::size_t i = 0; i < texts.size(); ++i, ++found) {
            EXPECT_EQ(texts[i], "metal") << AnnotPath(page, i);
            EXPECT_EQ(AnnotColor(saved, page - 1, i) & 0xFFFFFF, 0xFF0000u) << AnnotPath(page, i);
            EXPECT_NEAR(std::stod(Value(saved, AnnotPath(page, i) + "/opacity")), 0.5, 1e-6);
        }
    }
    EXPECT_EQ(found, expected);
}

// `vellum text` lists a page's characters with their quads; a drag between
// two points of them marks the characters between.
TEST_F(VellumCli, TextListsAPagesCharactersAndADragBetweenTwoMarksThoseBetween) {
    const VellumOutcome text = Run({"text", "in.pdf", "--page", "2", "--json"});
    ASSERT_EQ(text.exit, 0) << text.err;
    const Values page = ProbeJson(text.out);
    EXPECT_EQ(Value(page, "/pageCount"), "5");
    ASSERT_EQ(Value(page, "/pages/#"), "1");
    EXPECT_EQ(Value(page, "/pages/0/page"), "2");
    const auto charPath = [](std::size_t i) { return "/pages/0/chars/" + std::to_string(i); };
    std::string all;
    std::vector<std::size_t> charAt; // the character of each byte of `all`
    bool wholeLetter = false;
    for (std::size_t i = 0; i < std::stoul(Value(page, "/pages/0/chars/#")); ++i) {
        EXPECT_EQ(Value(page, charPath(i) + "/quad/#"), "8");
        all += Value(page, charPath(i) + "/text");
        charAt.resize(all.size(), i);
        wholeLetter = wholeLetter || Value(page, charPath(i) + "/text") == "𝕄";
    }
    EXPECT_TRUE(wholeLetter) << "a letter outside the BMP is one character";
    const std::string wanted = "Καλημέρα κόσμε";
    const std::size_t at = all.find(wanted);
    ASSERT_NE(at, std::string::npos);
    const auto quad = [&](std::size_t i) {
        return QuadBoxes(Numbers(page, charPath(charAt[i]) + "/quad")).at(0);
    };
    const Box first = quad(at), last = quad(at + wanted.size() - 1);
    const std::string centre = "2:" + std::to_string((first.x0 + first.x1) / 2) + "," +
                               std::to_string((first.y0 + first.y1) / 2);
    const std::string pastEnd =
        "2:" + std::to_string(last.x1 + 1) + "," + std::to_string((last.y0 + last.y1) / 2);

    // A drag that starts off the text does not count; the other one marks
    // the characters between its points, and only those.
    const VellumOutcome run = Run(Markup("drag.pdf", {"--from", "2:5,5", "--to", "2:40,5", "--from",
                                                      centre, "--to", pastEnd, "--json"}));
    ExpectExit(run, 3, "1 of 2 drags");
    const Values report = ProbeJson(run.out);
    EXPECT_TRUE(report.count("/drags/0/problem") && !report.count("/drags/1/problem"));
    EXPECT_EQ(Value(report, "/drags/1/annotations/0/text"), wanted);
    EXPECT_EQ(AnnotCount(Path("drag.pdf"), 1), 1);
    const std::vector<Box> runs =
        QuadBoxes(Numbers(ProbeAnnots(Path("drag.pdf")), AnnotPath(2, 0) + "/quads"));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NEAR(runs[0].x0, first.x0, 0.05);
    EXPECT_NEAR(runs[0].x1, last.x1, 0.05);

    ExpectExit(Run({"text", "in.pdf", "--page", "99"}), 1, "out of range");
}

// The host lists the plug-in it started, the service objects it publishes
// and the handlers it placed into the ribbon when the ribbon was ready.
TEST_F(VellumCli, InfoShowsWhatThePluginPublishesAndPlaces) {
    const VellumOutcome run = Run({"info"});
    ASSERT_EQ(run.exit, 0) << run.err;
    for (const char* line :
         {"plug-in ", "vellum-marker.so\n  name:          Text Markup Plugin\n",
          "\n    UIReviewMarkupGroupHandler ", "\n    UIReviewFontGroupTextMarkupControlHandler ",
          "\n  Markup   class MarkupGroupHandler (UIHandler)\n",
          "\n  Font     class FontGroupTextMarkupControlHandler (UIHandler)\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " not in\n" << run.out;
    EXPECT_EQ(Run({"info", "more"}).exit, 2);
}

} // namespace
