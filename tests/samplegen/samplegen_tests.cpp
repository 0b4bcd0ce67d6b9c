// Checks the documents the build writes with samplegen, through independent
// tools: the text extractor of poppler-utils and Python's pypdf. (That the
// tool marks the listed phrases on one line, across lines and across pages
// is checked end to end with vellum.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ShellCommand.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

using testsupport::Quote;
using testsupport::ReadFile;
using testsupport::RunCommand;

const fs::path kSamples = SAMPLES_DIR;
const std::string kSample = (kSamples / "sample.pdf").string();
const std::string kLarge = (kSamples / "large.pdf").string();

// A page's text as pdftotext extracts it.
std::string PageText(const std::string& pdf, int page) {
    const std::string p = std::to_string(page);
    const auto run =
        RunCommand("/usr/bin/pdftotext -enc UTF-8 -f " + p + " -l " + p + " " + Quote(pdf) + " -");
    EXPECT_EQ(run.exit, 0) << "pdftotext failed on page " << page << " of " << pdf;
    return run.out;
}

// Each phrase that phrases.txt lists is extracted exactly once, from the page
// it names, and the last page is the densest (the benchmarks rely on it).
TEST(SampleText, EveryListedPhraseIsOnItsPageOnce) {
    std::vector<std::string> pages;
    for (int page = 1; page <= 5; ++page) { // every run of white space folded into one space
        std::istringstream words(PageText(kSample, page));
        pages.emplace_back();
        for (std::string word; words >> word;)
            pages.back() += word + " ";
    }
    std::ifstream list(kSamples / "phrases.txt");
    int phrases = 0;
    for (std::string line; std::getline(list, line); ++phrases) {
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const int page = std::stoi(line.substr(0, tab));
        const std::string phrase = line.substr(tab + 1);
        for (int p = 1; p <= 5; ++p) {
            std::size_t seen = 0;
            for (auto at = pages[p - 1].find(phrase); at != std::string::npos;
                 at = pages[p - 1].find(phrase, at + 1))
                ++seen;
            EXPECT_EQ(seen, p == page ? 1u : 0u) << "\"" << phrase << "\" on page " << p;
        }
    }
    EXPECT_GE(phrases, 8);
    for (int p = 0; p < 4; ++p)
        EXPECT_GT(pages[4].size(), pages[p].size()) << "page " << p + 1;
    EXPECT_GT(pages[4].size(), 5000u);
}

// Each page of the sample as "rotation, media box, crop box"; then how many
// pages the large document has.
TEST(SampleFile, PageBoxesAndRotation) {
    const std::string script = "import sys, pypdf\n"
                               "for p in pypdf.PdfReader(sys.argv[1]).pages:\n"
                               "    print(int(p.get('/Rotate', 0)), *('%g' % float(v) for v in "
                               "[*p.mediabox, *p.cropbox]))\n"
                               "print(len(pypdf.PdfReader(sys.argv[2]).pages))\n";
    const auto run = RunCommand("/usr/bin/python3 -c " + Quote(script) + " " + Quote(kSample) +
                                " " + Quote(kLarge));
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out, "0 0 0 595 842 0 0 595 842\n0 0 0 595 842 0 0 595 842\n"
                       "90 0 0 612 792 0 0 612 792\n0 0 0 595 842 50 80 545 760\n"
                       "0 0 0 595 842 0 0 595 842\n120\n");
}

// pdffonts' columns after the encoding: emb, sub, uni.
TEST(SampleFile, FontsAreEmbeddedWithUnicodeMaps) {
    for (const std::string& pdf : {kSample, kLarge}) {
        const auto run = RunCommand("/usr/bin/pdffonts " + Quote(pdf));
        ASSERT_EQ(run.exit, 0);
        int fonts = 0;
        for (std::size_t at = run.out.find("Identity-H"); at != std::string::npos;
             at = run.out.find("Identity-H", at + 1), ++fonts) {
            std::istringstream columns(run.out.substr(at + 10));
            std::string emb, sub, uni;
            columns >> emb >> sub >> uni;
            EXPECT_EQ(emb, "yes") << "not embedded: " << run.out.substr(at, 30);
            EXPECT_EQ(uni, "yes") << "no ToUnicode map: " << run.out.substr(at, 30);
        }
        EXPECT_GE(fonts, 1) << pdf;
    }
}

TEST(SampleFile, ARunWritesTheSameBytesAsTheBuild) {
    const testsupport::TempFolder folder;
    const auto run = RunCommand(Quote(SAMPLEGEN_EXE) + " " + Quote(folder.Root().string()));
    EXPECT_EQ(run.exit, 0) << run.err;
    for (const char* name : {"sample.pdf", "large.pdf", "phrases.txt"}) {
        const std::string fresh = ReadFile(folder.Root() / name);
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_TRUE(fresh == ReadFile(kSamples / name)) << name << " differs between runs";
    }
}

// The long documents of the batch benchmark: the sample's pages over again.
TEST(SampleFile, RepeatWritesTheSamplesPagesOverAndOver) {
    const testsupport::TempFolder folder;
    const std::string twice = (folder.Root() / "twice.pdf").string();
    const auto run = RunCommand(Quote(SAMPLEGEN_EXE) + " --repeat 2 " + Quote(twice));
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(RunCommand("/usr/bin/pdfinfo " + Quote(twice)).out.find("Pages:           10\n"),
              std::string::npos);
    for (int page = 1; page <= 5; ++page) {
        EXPECT_EQ(PageText(twice, page + 5), PageText(kSample, page)) << page;
        EXPECT_EQ(PageText(twice, page), PageText(kSample, page)) << page;
    }
    for (const char* copies : {"0", "-1", "x", "1000000"})
        EXPECT_EQ(
            RunCommand(Quote(SAMPLEGEN_EXE) + " --repeat " + copies + " " + Quote(twice)).exit, 2)
            << copies;
}

} // namespace
