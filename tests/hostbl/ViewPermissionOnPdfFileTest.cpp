// A document whose permissions forbid annotations refuses them in every
// view. The document is a PDF file locked with pypdf.
#include <gtest/gtest.h>

#include "HostBLProbes.h"
#include "ShellCommand.h"

namespace {

using namespace HostBLTest;

TEST(ViewPermissionTest, ADocumentThatForbidsAnnotationsRefusesThemInEveryView) {
    testsupport::TempFolder folder;
    const std::string plain = folder.Path("plain.pdf"), locked = folder.Path("locked.pdf");
    testsupport::WritePdf(plain, {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 150, 12, "Hi"}}}});
    const testsupport::Outcome run = testsupport::RunCommand(
        "/usr/bin/python3 " + testsupport::Quote(PDFPROBE_PY) + " forbid-annots " +
        testsupport::Quote(plain) + " " + testsupport::Quote(locked));
    ASSERT_EQ(run.exit, 0) << run.err;

    EXPECT_EQ(HostBL::Permissions(HostBL::OpenDocument(plain).get()), uint32_t(kFolioPermitAll));
    const ObjectPtr document = HostBL::OpenDocument(locked);
    EXPECT_EQ(HostBL::Permissions(document.get()), uint32_t(kFolioPermitPrint | kFolioPermitCopy));
    const ObjectPtr view = HostBL::CreateView(document.get(), 400, 300, 1);
    EXPECT_FALSE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(HostBL::AnnotationsBlocked(view.get()), HostBL::AnnotationBlock::kForbiddenByDocument);
    EXPECT_EQ(ViewState(view.get()), 0u) << "the view itself is not read-only";
}

} // namespace
