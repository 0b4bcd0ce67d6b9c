// Saving a document over the file it was read from, as the editor does for
// as long as it runs: what another program wrote there meanwhile is kept,
// and the editor's own saves never count as such a change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "HostBLProbes.h"

namespace {

using namespace HostBLTest;

TEST(SaveInPlaceTest, KeepsWhatAnotherProgramWroteAfterTheReadAndFollowsItsOwnSaves) {
    testsupport::TempFolder folder;
    const std::string path = folder.Path("doc.pdf");
    testsupport::WritePdf(path, {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 12, "Hi"}}}});

    const ObjectPtr document = HostBL::OpenDocument(path);
    HostBL::Save(document.get(), path, /*incremental=*/true);
    HostBL::Save(document.get(), path, /*incremental=*/true); // compares with the first save
    HostBL::Save(document.get(), folder.Path("copy.pdf"), /*incremental=*/false);

    // Another program replaces the file by a rename, or rewrites it where it is.
    const std::string theirs = testsupport::ReadFile(path) + "% their change\n";
    for (const bool byRename : {true, false}) {
        SCOPED_TRACE(byRename ? "replaced by a rename" : "rewritten in place");
        const ObjectPtr stale = HostBL::OpenDocument(path);
        // Each time with bytes the file did not have when it was read.
        std::ofstream(byRename ? folder.Path("theirs.pdf") : path, std::ios::binary)
            << theirs << (byRename ? "" : "% and more\n");
        if (byRename)
            std::filesystem::rename(folder.Path("theirs.pdf"), path);
        const std::string onDisk = testsupport::ReadFile(path);
        try {
            HostBL::Save(stale.get(), path, /*incremental=*/true);
            FAIL() << "the save replaced the other program's file";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "cannot write '" + path +
                                                 "': it was changed by another program after it "
                                                 "was read, and is left as it is");
        }
        EXPECT_EQ(testsupport::ReadFile(path), onDisk);
        // Saving elsewhere stays possible, and no temporary is left behind.
        HostBL::Save(stale.get(), folder.Path("rescued.pdf"), /*incremental=*/false);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()), {}), 3)
            << "doc.pdf, copy.pdf and rescued.pdf only";
    }
}

} // namespace
