// What vellum markup writes, and what it never touches: targets it must
// refuse, edits in place that run at the same time, runs that are ended by
// a signal or fail while they save.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "CliFixture.h"

namespace fs = std::filesystem;

namespace {

using OutputSafety = CliFixture;

// Lets a finished temporary wait so many milliseconds before its rename, so
// that a test can act while a run is saving.
constexpr const char* kHoldBeforeCommit = "VELLUM_HOLD_BEFORE_COMMIT";

TEST_F(OutputSafety, RefusesTargetsItMustNotReplaceBeforeAnyWork) {
    const std::string sample = ReadFile(Path("in.pdf"));
    fs::copy_file(Path("in.pdf"), Path("other.pdf"));
    fs::create_symlink("other.pdf", Path("link.pdf"));
    ASSERT_EQ(mkfifo(Path("pipe.pdf").c_str(), 0600), 0);

    // The phrase is not in the sample: a run that started working would say
    // so instead of refusing its target. (Folders, missing folders and
    // read-only files are refused by the output file's checks, whose own
    // tests name them; these are the targets the command itself looks at.)
    const struct {
        const char *out, *snapshot, *says;
    } cases[] = {
        {"link.pdf", nullptr, "'link.pdf': it is a symbolic link"},
        {"pipe.pdf", nullptr, "'pipe.pdf': it is not a regular file"},
        {"out.pdf", "in.pdf", "'in.pdf': it is the input"},
        {"out.pdf", "out.pdf", "'out.pdf': it is the output"},
        {"in.pdf", "in.pdf", "'in.pdf': it is the input"},
        {"out.pdf", "link.pdf", "'link.pdf': it is a symbolic"},
    };
    const std::vector<std::string> before = FolderListing(Dir());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.out) + " " + (c.snapshot ? c.snapshot : ""));
        std::vector<std::string> more = {"--text", "words nowhere in the sample"};
        if (c.snapshot)
            more.insert(more.end(), {"--snapshot", c.snapshot});
        ExpectExit(Run(Markup(c.out, more)), 1, c.says);
        EXPECT_EQ(FolderListing(Dir()), before) << "nothing written, nothing left behind";
    }
    EXPECT_TRUE(fs::is_symlink(Path("link.pdf")));
    EXPECT_TRUE(fs::is_fifo(Path("pipe.pdf")));
    for (const char* name : {"in.pdf", "other.pdf"})
        EXPECT_TRUE(ReadFile(Path(name)) == sample) << name;
}

// Each edit appends to the file it edits, and none loses another's annotation.
TEST_F(OutputSafety, ConcurrentEditsInPlaceKeepEveryAnnotationAndThePermissions) {
    const std::string sample = ReadFile(Path("in.pdf"));
    ASSERT_EQ(chmod(Path("in.pdf").c_str(), 0664), 0);
    // Each run holds its result back a while, so that without the lock all
    // of them would read the document before any of them had written it.
    std::vector<std::unique_ptr<VellumProcess>> runs;
    for (const char* kind : {"highlight", "underline", "strikeout", "highlight"})
        runs.push_back(std::make_unique<VellumProcess>(
            Dir(),
            std::vector<std::string>{"markup", "in.pdf", "-o", "in.pdf", "--kind", kind, "--text",
                                     kPangram},
            VellumProcess::Environment{{kHoldBeforeCommit, "300"}}));
    for (const auto& run : runs) {
        const VellumOutcome outcome = run->Wait();
        EXPECT_EQ(outcome.exit, 0) << outcome.err;
    }
    EXPECT_EQ(AnnotCount(Path("in.pdf")), 4);
    EXPECT_EQ(ReadFile(Path("in.pdf")).compare(0, sample.size(), sample), 0) << "bytes lost";
    EXPECT_EQ(FolderListing(Dir()), std::vector<std::string>{"in.pdf"});
    struct stat st {};
    ASSERT_EQ(stat(Path("in.pdf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
}

TEST_F(OutputSafety, AnEndingSignalWhileSavingLeavesNoTemporaryFile) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        VellumProcess run(Dir(), Markup("out.pdf", {"--text", kPangram, "--snapshot", "live.png"}),
                          {{kHoldBeforeCommit, "60000"}});
        ASSERT_TRUE(run.WaitFor(VellumProcess::Stream::kError, "holding", 120))
            << "the run never reached its save";
        run.Signal(signal);
        const VellumOutcome outcome = run.Wait();
        EXPECT_EQ(outcome.signal, signal) << outcome.err;
        EXPECT_EQ(FolderListing(Dir()), std::vector<std::string>{"in.pdf"});
    }
}

TEST_F(OutputSafety, AFailedSaveLeavesNeitherTheDocumentNorItsSnapshot) {
    // While the document waits for its rename, a folder takes its name.
    VellumProcess run(Dir(), Markup("out.pdf", {"--text", kPangram, "--snapshot", "live.png"}),
                      {{kHoldBeforeCommit, "1500"}});
    ASSERT_TRUE(run.WaitFor(VellumProcess::Stream::kError, "holding", 120));
    fs::create_directory(Path("out.pdf"));
    const VellumOutcome outcome = run.Wait();
    ExpectExit(outcome, 1, "'out.pdf': it is a folder");
    EXPECT_EQ(FolderListing(Dir()), (std::vector<std::string>{"in.pdf", "out.pdf"}));
    EXPECT_TRUE(fs::is_empty(Path("out.pdf")));
}

} // namespace
