// One text markup annotation carried all the way into a saved PDF file, and
// read back by a PDF library that shares no code with the host.
#include <gtest/gtest.h>

#include "ShellCommand.h"
#include "TestSupport.h"
#include "bl/BLDocument.h"
#include "hostbl/HostBL.h"
#include "platform/Platform.h"
#include "vellum-marker/TextMarkupAnnot.h"

namespace {

TEST(MarkupOnPdfFile, SavedAnnotationReadsBack) {
    Platform::SetEnvironmentValue("VELLUM_AUTHOR", "Test Reviewer \U0001F600"); // outside the BMP
    const testsupport::TempFolder folder;
    testsupport::WritePdf(
        folder.Path("text.pdf"),
        {{{0, 0, 300, 200}, {0, 0, 300, 200}, 0, {{20, 100, 24, "Hello World"}}}});
    HostBL::ObjectPtr document = HostBL::OpenDocument(folder.Path("text.pdf"));
    HostBL::ObjectPtr view = HostBL::CreateView(document.get(), 400, 300, 1.0f);
    HostBL::SelectText(view.get(), "TextCopy", 0, 0, 0, 5); // "Hello"

    PDAnnot annot = nullptr;
    CreateTextMarkupAnnot(view.get(), 0, kPDAtomHighlight, 0x80FFD700u, &annot);
    ASSERT_NE(annot, nullptr);
    const AnnotOperationArgs args{document.get(), 0, annot};
    ASSERT_TRUE(SODetails::CallChecked<BLDocumentOps::PerformAnnotOperation>(
        document.get(), SODetails::AtomFromString("Annot_Insert"), &args, 0u));
    PDAnnotRelease(annot);
    HostBL::Save(document.get(), folder.Path("saved.pdf"), false);

    const std::string script = "import sys\n"
                               "from pypdf import PdfReader\n"
                               "a = PdfReader(sys.argv[1]).pages[0]['/Annots'][0].get_object()\n"
                               "q = [float(v) for v in a['/QuadPoints']]\n"
                               "print(a['/Subtype'], len(q) % 8, q[0] < q[2], q[1] > q[5])\n"
                               "print([round(float(c), 2) for c in a['/C']], float(a['/CA']))\n"
                               "print(a['/T'])\n";
    EXPECT_EQ(testsupport::RunCommand("/usr/bin/python3 -c " + testsupport::Quote(script) + " " +
                                      testsupport::Quote(folder.Path("saved.pdf")))
                  .out,
              "/Highlight 0 True True\n" // whole quads, upper edge first
              "[1.0, 0.84, 0.0] 0.5\n"
              "Test Reviewer \U0001F600\n");
}

} // namespace
