// Checks the documents the build writes with samplegen, through independent
// tools: the text extractor of poppler-utils and Python's pypdf.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = SAMPLES_DIR;
const std::string kSample = (kSamples / "sample.pdf").string();
const std::string kLarge = (kSamples / "large.pdf").string();

struct Output {
    int status = -1;
    std::string text;
};

Output run(const std::string& command) {
    Output out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.text.append(buffer, n);
    out.status = pclose(pipe);
    return out;
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

// Runs of whitespace (line ends and page breaks included) become one space.
std::string normalized(const std::string& text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f') {
            space = !out.empty();
        } else {
            if (space)
                out += ' ';
            space = false;
            out += c;
        }
    }
    return out;
}

std::string pageText(const std::string& pdf, int page) {
    const auto out = run("/usr/bin/pdftotext -enc UTF-8 -f " + std::to_string(page) + " -l " +
                         std::to_string(page) + " " + quoted(pdf) + " -");
    EXPECT_EQ(out.status, 0) << "pdftotext failed on page " << page;
    return normalized(out.text);
}

size_t occurrences(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

std::vector<std::pair<int, std::string>> readPhrases() {
    std::vector<std::pair<int, std::string>> phrases;
    std::ifstream in(kSamples / "phrases.txt");
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        phrases.emplace_back(std::stoi(line.substr(0, tab)), line.substr(tab + 1));
    }
    return phrases;
}

bool hasCharacterOutsideBmp(const std::string& utf8) {
    for (unsigned char c : utf8)
        if (c >= 0xF0)
            return true;
    return false;
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

class SampleText : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        pages_.clear();
        for (int page = 1; page <= 5; ++page)
            pages_.push_back(pageText(kSample, page));
    }
    static std::vector<std::string> pages_;
};
std::vector<std::string> SampleText::pages_;

} // namespace

TEST_F(SampleText, EveryListedPhraseIsExtractedOnceAndOnlyFromItsPage) {
    const auto phrases = readPhrases();
    ASSERT_GE(phrases.size(), 8u);
    for (const auto& [page, phrase] : phrases) {
        ASSERT_GE(page, 1);
        ASSERT_LE(page, 5);
        for (int p = 1; p <= 5; ++p)
            EXPECT_EQ(occurrences(pages_[p - 1], phrase), p == page ? 1u : 0u)
                << "\"" << phrase << "\" on page " << p;
    }
}

TEST_F(SampleText, PhrasesTheTestsOfTheToolRelyOnAreListed) {
    const auto phrases = readPhrases();
    auto listed = [&](int page, const std::string& text) {
        for (const auto& p : phrases)
            if (p.first == page && p.second == text)
                return true;
        return false;
    };
    EXPECT_TRUE(listed(1, "The quick brown fox jumps over the lazy dog"));
    EXPECT_TRUE(listed(1, "markup annotations are stored with the document"));
    EXPECT_TRUE(listed(2, "Καλημέρα κόσμε"));
    EXPECT_TRUE(listed(2, "Привет, мир"));
    bool outsideBmp = false;
    for (const auto& p : phrases)
        outsideBmp = outsideBmp || (p.first == 2 && hasCharacterOutsideBmp(p.second));
    EXPECT_TRUE(outsideBmp);
}

// A phrase inside one line gives one run of quads when it is marked; the
// wrapped one gives two.
TEST(SampleLines, PangramSitsOnOneLineAndTheWrappedPhraseOnTwo) {
    const auto out = run("/usr/bin/pdftotext -enc UTF-8 -f 1 -l 1 " + quoted(kSample) + " -");
    ASSERT_EQ(out.status, 0);
    std::vector<std::string> lines;
    std::istringstream in(out.text);
    for (std::string line; std::getline(in, line);)
        if (!normalized(line).empty())
            lines.push_back(normalized(line));

    const std::string pangram = "The quick brown fox jumps over the lazy dog";
    const std::string wrapped = "markup annotations are stored with the document";
    int pangramLines = 0, wrappedInOneLine = 0, wrappedAcrossTwo = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        pangramLines += lines[i].find(pangram) != std::string::npos;
        wrappedInOneLine += lines[i].find(wrapped) != std::string::npos;
        if (i + 1 < lines.size())
            wrappedAcrossTwo += (lines[i] + " " + lines[i + 1]).find(wrapped) != std::string::npos;
    }
    EXPECT_EQ(pangramLines, 1);
    EXPECT_EQ(wrappedInOneLine, 0);
    EXPECT_EQ(wrappedAcrossTwo, 1);
}

TEST_F(SampleText, SentenceRunsOnFromPageOneToPageTwo) {
    const std::string end = "continues on";
    ASSERT_GE(pages_[0].size(), end.size());
    EXPECT_EQ(pages_[0].substr(pages_[0].size() - end.size()), end);
    EXPECT_EQ(pages_[1].rfind("the next page", 0), 0u) << pages_[1].substr(0, 40);
}

TEST_F(SampleText, TheLastPageIsTheDensest) {
    for (int p = 0; p < 4; ++p)
        EXPECT_GT(pages_[4].size(), pages_[p].size()) << "page " << p + 1;
    EXPECT_GT(pages_[4].size(), 5000u);
}

TEST(SampleFile, PageBoxesAndRotation) {
    const std::string script =
        "import sys, pypdf\n"
        "for path in sys.argv[1:]:\n"
        "    r = pypdf.PdfReader(path)\n"
        "    print(len(r.pages))\n"
        "    for p in r.pages:\n"
        "        print(int(p.get(\"/Rotate\", 0)), *(\"%g\" % float(v) for v in p.mediabox),\n"
        "              *(\"%g\" % float(v) for v in p.cropbox))\n";
    const auto out =
        run("/usr/bin/python3 -c " + quoted(script) + " " + quoted(kSample) + " " + quoted(kLarge));
    ASSERT_EQ(out.status, 0) << out.text;
    std::istringstream lines(out.text);
    std::string line;
    std::vector<std::string> sample;
    std::getline(lines, line);
    ASSERT_EQ(line, "5");
    for (int i = 0; i < 5 && std::getline(lines, line); ++i)
        sample.push_back(line);
    ASSERT_EQ(sample.size(), 5u);
    EXPECT_EQ(sample[0], "0 0 0 595 842 0 0 595 842");
    EXPECT_EQ(sample[2], "90 0 0 612 792 0 0 612 792");
    EXPECT_EQ(sample[3], "0 0 0 595 842 50 80 545 760");
    EXPECT_EQ(sample[4], "0 0 0 595 842 0 0 595 842");
    std::getline(lines, line);
    EXPECT_EQ(line, "120");
}

TEST(SampleFile, FontsAreEmbeddedWithUnicodeMaps) {
    for (const std::string& pdf : {kSample, kLarge}) {
        const auto out = run("/usr/bin/pdffonts " + quoted(pdf));
        ASSERT_EQ(out.status, 0);
        std::istringstream lines(out.text);
        std::string line;
        int fonts = 0;
        while (std::getline(lines, line)) {
            if (line.find("Identity-H") == std::string::npos)
                continue;
            ++fonts;
            // The last columns: emb, sub, uni, object number, generation.
            std::istringstream words(line);
            std::vector<std::string> cols{std::istream_iterator<std::string>(words), {}};
            ASSERT_GE(cols.size(), 5u) << line;
            EXPECT_EQ(cols[cols.size() - 5], "yes") << "not embedded: " << line;
            EXPECT_EQ(cols[cols.size() - 3], "yes") << "no ToUnicode map: " << line;
        }
        EXPECT_GE(fonts, 1) << pdf;
    }
}

TEST(SampleFile, ARunWritesTheSameBytesAsTheBuild) {
    std::string pattern = (fs::temp_directory_path() / "samplegen-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    const auto out = run(quoted(SAMPLEGEN_EXE) + " " + quoted(dir.string()) + " 2>&1");
    EXPECT_EQ(out.status, 0) << out.text;
    for (const char* name : {"sample.pdf", "large.pdf", "phrases.txt"}) {
        const std::string fresh = fileBytes(dir / name);
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_TRUE(fresh == fileBytes(kSamples / name)) << name << " differs between runs";
    }
    fs::remove_all(dir);
}
