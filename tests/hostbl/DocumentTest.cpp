// Documents: pages and edit groups with undo; and the services, found
// through the provider by the fixed atoms and the manifest. (Inserting an
// annotation, the page change it announces, and the text selections of the
// host's text tools are checked with the markup tool's annotations and its
// caret; the tool registry and the cursor with the markup tool, the author in
// the annotations it makes.)
#include <gtest/gtest.h>

#include <stdexcept>

#include "HostBLProbes.h"
#include "bl/BLService.h"
#include "bl/GraphicsFactory.h"
#include "service-common/ResultCodes.h"
#include "svcbroker.h"

// The service-module entry of the library under test.
extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using namespace HostBLTest;
using SODetails::AtomFromString;
using SODetails::CallChecked;
using SODetails::TryCall;

class DocumentTest : public ::testing::Test {
protected:
    ObjectPtr document = MakeDocument({{{0, 0, 200, 100}, 0, 5}, {{0, 0, 200, 100}, 90, 5}});

    // Inserts a new highlight over the first two characters of a page.
    void Insert(uint64_t page) {
        PDQuadF quads[2] = {CharQuad({0, 0, 200, 100}, 0), CharQuad({0, 0, 200, 100}, 1)};
        PDTextMarkupAnnotParams params{{9, 57, 31, 71}, quads, 2, 0xFFFFFF00u, 0, L"tester"};
        PDAnnot annot = nullptr;
        EXPECT_EQ(PDAnnotCreate(HostBL::DocumentHandle(document.get()), kPDAtomHighlight, &params,
                                &annot),
                  kPDOk);
        AnnotOperationArgs args{document.get(), page, annot};
        EXPECT_EQ(TryCall<BLDocumentOps::PerformAnnotOperation>(
                      document.get(), AtomFromString("Annot_Insert"), &args, 0u),
                  SODetails::kOk);
        PDAnnotRelease(annot);
    }
};

TEST_F(DocumentTest, PageObjectsHandOutPagesAndPairAccess) {
    ObjectPtr page;
    CallChecked<BLDocumentOps::GetPage>(document.get(), uint64_t{1}, page.Receive());
    PDPage handle = nullptr;
    CallChecked<BLPageOps::GetPDPage>(page.get(), &handle);
    uint64_t index = 0;
    FolioPageGetIndex(handle, &index);
    EXPECT_EQ(index, 1u);
    PDPageRelease(handle);

    uint64_t token = 0;
    CallChecked<BLPageOps::BeginPageAccess>(page.get(), 0u, &token);
    EXPECT_NE(token, 0u);
    EXPECT_EQ(TryCall<BLPageOps::EndPageAccess>(page.get()), SODetails::kOk);
    EXPECT_EQ(TryCall<BLPageOps::EndPageAccess>(page.get()), SODetails::kBadArgument);

    ObjectPtr none;
    EXPECT_EQ(TryCall<BLDocumentOps::GetPage>(document.get(), uint64_t{2}, none.Receive()),
              SODetails::kNotAvailable);
    EXPECT_FALSE(none);
    // A service that is no document is refused by the host's own calls.
    EXPECT_THROW(HostBL::PageCount(HostBL::NewService("BLAuthor").get()), std::invalid_argument);
}

TEST_F(DocumentTest, NestedEditGroupsUndoAsOneStep) {
    int announced = 0;
    auto subscription = BLDocument::EventSubscription_OnPageContentChanged::Subscribe(
        document.get(), [&](uint64_t, const SL::RectF*, uint64_t) { ++announced; });

    CallChecked<BLDocumentOps::BeginEditGroup>(document.get());
    CallChecked<BLDocumentOps::BeginEditGroup>(document.get());
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 2u);
    Insert(0);
    CallChecked<BLDocumentOps::EndEditGroup>(document.get());
    Insert(1);
    CallChecked<BLDocumentOps::EndEditGroup>(document.get());
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 2u);

    announced = 0;
    EXPECT_TRUE(HostBL::Undo(document.get()));
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 0u);
    EXPECT_EQ(announced, 2); // every page
    EXPECT_TRUE(HostBL::Redo(document.get()));
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 2u);

    // Ending a group that was never begun is reported to the caller.
    EXPECT_EQ(TryCall<BLDocumentOps::EndEditGroup>(document.get()), SODetails::kBadArgument);
    ErrorInfo info{};
    document->common.GetErrorInfo(document.get(), &info, nullptr);
    EXPECT_EQ(std::wstring(info.message), L"BLDocument::EndEditGroup() failed, code: 3");
}

ObjectPtr FromProvider(SLAtom atom) {
    ObjectPtr object;
    uint32_t systemError = 0;
    EXPECT_EQ(ServiceProviderGetServiceObject(atom, object.Receive(), &systemError),
              SODetails::kOk);
    return object;
}

TEST(ServicesTest, ProviderMakesTheServicesFromTheManifest) {
    {
        ObjectPtr service = FromProvider(BLServiceOps::kFixedAtom);
        ObjectPtr factory = FromProvider(GRFactoryOps::kFixedAtom);
        ObjectPtr author = FromProvider(AtomFromString("BLAuthor"));
        ASSERT_TRUE(service && factory && author);
        EXPECT_STREQ(service->interfaceName, "BLService");
        EXPECT_STREQ(factory->interfaceName, "GraphicsFactory");
        EXPECT_STREQ(author->interfaceName, "BLAuthor");
        EXPECT_EQ(FromProvider(BLServiceOps::kFixedAtom), service); // one shared instance
    }
    ServiceProviderReleaseInstances();

    EXPECT_FALSE(HostBL::NewService("UIService"));
    ServiceObject* out = nullptr;
    EXPECT_EQ(CreateServiceObject(AtomFromString("UIService"), &out),
              kSPServiceNotSupportedByModule);
    EXPECT_EQ(CreateServiceObject(AtomFromString("BLAuthor"), nullptr), SODetails::kBadArgument);
    EXPECT_EQ(out, nullptr);
}

} // namespace
