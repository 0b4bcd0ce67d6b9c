// The host's one way of writing files, on the operating system underneath:
// whole replacement or nothing, the checks of targets, and the lock of edits
// in place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "fileout/EditLock.h"
#include "fileout/OutputFile.h"
#include "fileout/OutputTarget.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::TempFolder;

void Commit(const std::string& target, const std::string& text) {
    FileOut::OutputFile out(target);
    out.Write(text.data(), text.size());
    out.Commit();
}

std::string Refusal(const std::string& path) {
    try {
        FileOut::CheckOutputTarget(path);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(OutputFile, ReplacesTheTargetWholeOrNotAtAll) {
    const TempFolder folder;
    const std::string target = folder.Path("doc.pdf");
    Commit(target, "first");
    Commit(target, "second, longer");
    EXPECT_EQ(ReadFile(target), "second, longer");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Root()), {}), 1) << "no temporary left";

    {
        FileOut::OutputFile abandoned(target);
        abandoned.Write("half", 4);
        EXPECT_TRUE(fs::exists(abandoned.Temporary()));
        EXPECT_EQ(FileOut::FolderOf(abandoned.Temporary()), FileOut::FolderOf(target));
    }
    EXPECT_EQ(ReadFile(target), "second, longer");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Root()), {}), 1);
}

TEST(OutputFile, TargetsThatMustNotBeReplacedAreRefusedByName) {
    const TempFolder folder;
    fs::create_directory(folder.Path("sub"));
    EXPECT_NE(Refusal(folder.Path("sub")).find("it is a folder"), std::string::npos);
    EXPECT_NE(Refusal(folder.Path("missing/doc.pdf")).find("does not exist"), std::string::npos);

    const std::string locked = folder.Path("read-only.pdf");
    std::ofstream(locked) << "kept";
    fs::permissions(locked,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_NE(Refusal(locked).find("read-only"), std::string::npos);
    EXPECT_THROW(Commit(locked, "lost"), std::runtime_error);
    EXPECT_EQ(ReadFile(locked), "kept");
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
}

TEST(OutputFile, ACommittedFileKeepsBeingTheSameFileToItsChecks) {
    const TempFolder folder;
    const std::string a = folder.Path("a.pdf"), b = folder.Path("b.pdf");
    EXPECT_TRUE(FileOut::SameFile(a, folder.Path("./a.pdf"))) << "neither exists yet";
    Commit(a, "a");
    Commit(b, "b");
    EXPECT_TRUE(FileOut::SameFile(a, a));
    EXPECT_FALSE(FileOut::SameFile(a, b));
}

// An edit in place: the second run waits, says so, and goes on once the
// first has put its result over the file they both edit.
TEST(EditLock, ASecondEditWaitsForTheFirstToReplaceTheFile) {
    const TempFolder folder;
    const std::string document = folder.Path("doc.pdf");
    std::ofstream(document) << "original";

    auto first = std::make_unique<FileOut::EditLock>(document, nullptr);
    std::promise<void> waiting;
    std::future<std::string> second = std::async(std::launch::async, [&] {
        FileOut::EditLock lock(document, [&] { waiting.set_value(); });
        return ReadFile(document);
    });
    waiting.get_future().wait();
    Commit(document, "edited"); // renamed over the file the first run holds
    first.reset();
    EXPECT_EQ(second.get(), "edited");
}

} // namespace
