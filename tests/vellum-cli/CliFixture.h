// A scratch folder for runs of the vellum command, with the bundled sample
// in it as "in.pdf", and what those runs are checked with.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellCommand.h"
#include "TestSupport.h"
#include "VellumProcess.h"

using testsupport::ReadFile;

class CliFixture : public ::testing::Test {
protected:
    static constexpr const char* kPangram = "The quick brown fox jumps over the lazy dog";
    // A manual typeset elsewhere, whose kerned glyphs overlap.
    static constexpr const char* kManual = "/usr/share/doc/libtasn1-doc/libtasn1.pdf";

    // The runs work in a folder of their own: the settings store lies beside it.
    void SetUp() override {
        std::filesystem::create_directory(dir_);
        std::filesystem::copy_file(std::filesystem::path(SAMPLES_DIR) / "sample.pdf",
                                   Path("in.pdf"));
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& Dir() const { return dir_; }

    // A run whose settings store is the test's, shared by its runs as one
    // user's runs share theirs.
    VellumOutcome Run(const std::vector<std::string>& args,
                      VellumProcess::Environment environment = {}) {
        environment.emplace("VELLUM_SETTINGS", root_.Path("settings.sqlite3"));
        VellumOutcome outcome = VellumProcess(dir_, args, environment).Wait();
        // A sanitizer's report ends the run with a failure code of its own.
        EXPECT_EQ(outcome.err.find("runtime error"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find("Sanitizer"), std::string::npos) << outcome.err;
        return outcome;
    }

    // The run exited with `exit` and said `says` on standard error.
    static void ExpectExit(const VellumOutcome& run, int exit, const std::string& says) {
        EXPECT_EQ(run.exit, exit) << run.err;
        EXPECT_NE(run.err.find(says), std::string::npos) << says << " not in\n" << run.err;
    }

    // `vellum markup in.pdf -o OUT --kind highlight` and more.
    static std::vector<std::string> Markup(const std::string& out, std::vector<std::string> more,
                                           const std::string& in = "in.pdf") {
        std::vector<std::string> args = {"markup", in, "-o", out, "--kind", "highlight"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    // How many annotations page `page` (counted from 0) of a saved PDF has; 0
    // when it cannot be read.
    static int AnnotCount(const std::string& pdf, int page = 0) {
        return std::atoi(
            Value(ProbeAnnots(pdf), "/pages/" + std::to_string(page) + "/annots/#").c_str());
    }

    // Writes "locked.pdf": in.pdf with permissions that forbid annotations.
    void WriteLockedCopy() {
        const testsupport::Outcome run =
            testsupport::RunCommand("/usr/bin/python3 " + testsupport::Quote(PDFPROBE_PY) +
                                        " forbid-annots in.pdf locked.pdf",
                                    dir_);
        ASSERT_EQ(run.exit, 0) << run.err;
    }

private:
    testsupport::TempFolder root_;
    std::string dir_ = root_.Path("work");
};
