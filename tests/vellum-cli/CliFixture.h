// A scratch folder for runs of the vellum command, with the bundled sample
// in it as "in.pdf", and what those runs are checked with.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "VellumProcess.h"

// What the probes read from a saved PDF or a JSON report, by path.
using Values = std::map<std::string, std::string>;

inline std::string Value(const Values& values, const std::string& path) {
    const auto found = values.find(path);
    return found == values.end() ? "(none)" : found->second;
}

// The colour of an annotation as 0xAARRGGBB, its opacity as the alpha.
inline uint32_t AnnotColor(const Values& saved, int page, int index) {
    const std::string annot = "/pages/" + std::to_string(page) + "/annots/" + std::to_string(index);
    uint32_t color = uint32_t(std::lround(std::atof(Value(saved, annot + "/opacity").c_str()) * 255))
                     << 24;
    for (int channel = 0; channel < 3; ++channel)
        color |= uint32_t(std::lround(
                     std::atof(Value(saved, annot + "/color/" + std::to_string(channel)).c_str()) *
                     255))
                 << (16 - 8 * channel);
    return color;
}

class CliFixture : public ::testing::Test {
protected:
    static constexpr const char* kPangram = "The quick brown fox jumps over the lazy dog";

    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vellum-safety-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::filesystem::copy_file(std::filesystem::path(SAMPLES_DIR) / "sample.pdf",
                                   Path("in.pdf"));
    }
    void TearDown() override {
        if (HasFailure())
            std::printf("the files of this test are kept in %s\n", dir_.c_str());
        else
            std::filesystem::remove_all(dir_);
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& Dir() const { return dir_; }

    VellumOutcome Run(const std::vector<std::string>& args,
                      const VellumProcess::Environment& environment = {}) {
        VellumOutcome outcome = VellumProcess(dir_, args, environment).Wait();
        // A sanitizer's report ends the run with a failure code of its own.
        EXPECT_EQ(outcome.err.find("runtime error"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find("Sanitizer"), std::string::npos) << outcome.err;
        return outcome;
    }

    // `vellum markup in.pdf -o OUT --kind highlight` and more.
    static std::vector<std::string> Markup(const std::string& out, std::vector<std::string> more,
                                           const std::string& in = "in.pdf") {
        std::vector<std::string> args = {"markup", in, "-o", out, "--kind", "highlight"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    // How many annotations page `page` (counted from 0) of a saved PDF has.
    static int AnnotCount(const std::string& pdf, int page = 0) {
        const auto values = ProbeAnnots(pdf);
        const auto found = values.find("/pages/" + std::to_string(page) + "/annots/#");
        return found == values.end() ? -1 : std::atoi(found->second.c_str());
    }

private:
    std::string dir_;
};
