// Documents: pages, annotation insertion, edit groups with undo, and the
// text selections of the host's text tools.
#include <gtest/gtest.h>

#include <stdexcept>

#include "HostBLProbes.h"
#include "bl/BLSelection.h"
#include "service-common/ServiceObjectException.h"

namespace {

using namespace HostBLTest;
using SODetails::AtomFromString;
using SODetails::CallChecked;
using SODetails::TryCall;

class DocumentTest : public ::testing::Test {
protected:
    ObjectPtr document = MakeDocument({{{0, 0, 200, 100}, 0, 5}, {{0, 0, 200, 100}, 90, 5}});

    // A new highlight over the first two characters of a page.
    PDAnnot NewHighlight() {
        PDQuadF quads[2] = {CharQuad({0, 0, 200, 100}, 0), CharQuad({0, 0, 200, 100}, 1)};
        PDTextMarkupAnnotParams params{{9, 57, 31, 71}, quads, 2, 0xFFFFFF00u, 0, L"tester"};
        PDAnnot annot = nullptr;
        EXPECT_EQ(PDAnnotCreate(HostBL::DocumentHandle(document.get()), kPDAtomHighlight, &params,
                                &annot),
                  kPDOk);
        return annot;
    }
    uint32_t Insert(uint64_t page, const char* operation = "Annot_Insert") {
        PDAnnot annot = NewHighlight();
        AnnotOperationArgs args{document.get(), page, annot};
        const uint32_t code = TryCall<BLDocumentOps::PerformAnnotOperation>(
                                  document.get(), AtomFromString(operation), &args, 0u)
                                  .value_or(99);
        PDAnnotRelease(annot);
        return code;
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
    EXPECT_EQ(TryCall<BLPageOps::EndPageAccess>(page.get()), 0u);
    EXPECT_EQ(TryCall<BLPageOps::EndPageAccess>(page.get()), 3u);

    ObjectPtr none;
    EXPECT_EQ(TryCall<BLDocumentOps::GetPage>(document.get(), uint64_t{2}, none.Receive()), 2u);
    EXPECT_FALSE(none);
}

TEST_F(DocumentTest, AnnotInsertAnnouncesTheChangedPage) {
    std::vector<std::pair<uint64_t, SL::RectF>> changes;
    auto subscription = BLDocument::EventSubscription_OnPageContentChanged::Subscribe(
        document.get(), [&](uint64_t page, const SL::RectF* rects, uint64_t count) {
            ASSERT_EQ(count, 1u);
            changes.push_back({page, rects[0]});
        });
    ASSERT_TRUE(subscription);

    EXPECT_EQ(Insert(1), 0u);
    const std::vector<HostBL::AnnotRecord> annots = HostBL::ListAnnots(document.get());
    ASSERT_EQ(annots.size(), 1u);
    EXPECT_EQ(annots[0].page, 1u);
    EXPECT_EQ(annots[0].info.subtype, uint32_t(kPDAtomHighlight));
    EXPECT_EQ(annots[0].quads.size(), 2u);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, 1u);
    EXPECT_EQ(changes[0].second.x0, annots[0].info.rect.x0);
    EXPECT_EQ(changes[0].second.y1, annots[0].info.rect.y1);

    // Other operations are declined and change nothing.
    EXPECT_EQ(Insert(0, "Annot_Delete"), 1u);
    AnnotOperationArgs empty{document.get(), 0, nullptr};
    EXPECT_EQ(TryCall<BLDocumentOps::PerformAnnotOperation>(
                  document.get(), AtomFromString("Annot_Insert"), &empty, 0u),
              3u);
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 1u);
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(DocumentTest, NestedEditGroupsUndoAsOneStep) {
    int announced = 0;
    auto subscription = BLDocument::EventSubscription_OnPageContentChanged::Subscribe(
        document.get(), [&](uint64_t, const SL::RectF*, uint64_t) { ++announced; });

    CallChecked<BLDocumentOps::BeginEditGroup>(document.get());
    CallChecked<BLDocumentOps::BeginEditGroup>(document.get());
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 2u);
    EXPECT_EQ(Insert(0), 0u);
    CallChecked<BLDocumentOps::EndEditGroup>(document.get());
    EXPECT_EQ(Insert(1), 0u);
    CallChecked<BLDocumentOps::EndEditGroup>(document.get());
    EXPECT_EQ(HostBL::EditGroupDepth(document.get()), 0u);
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 2u);

    announced = 0;
    EXPECT_TRUE(HostBL::Undo(document.get()));
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 0u);
    EXPECT_EQ(announced, 2); // every page
    EXPECT_FALSE(HostBL::Undo(document.get()));
    EXPECT_TRUE(HostBL::Redo(document.get()));
    EXPECT_EQ(HostBL::ListAnnots(document.get()).size(), 2u);

    // Ending a group that was never begun is reported to the caller.
    try {
        CallChecked<BLDocumentOps::EndEditGroup>(document.get());
        FAIL() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), 3u);
        EXPECT_EQ(e.Message(), L"BLDocument::EndEditGroup() failed, code: 3");
    }
}

TEST(DocumentOpenTest, MissingFileNamesTheFile) {
    try {
        HostBL::OpenDocument("/nonexistent/missing.pdf");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/missing.pdf"), std::string::npos);
    }
    EXPECT_THROW(HostBL::PageCount(HostBL::NewService("BLAuthor").get()), std::invalid_argument);
}

std::vector<SL::Quad> QuadsOf(ServiceObject* selection, uint64_t page) {
    uint64_t count = 0;
    CallChecked<BLSelectionOps::GetQuadCount>(selection, page, &count);
    std::vector<SL::Quad> quads(count);
    if (count)
        CallChecked<BLSelectionOps::GetQuads>(selection, page, quads.data());
    return quads;
}

void ExpectQuad(const SL::Quad& q, const PDQuadF& expected) {
    EXPECT_EQ(q.p0.x, expected.p0.x);
    EXPECT_EQ(q.p0.y, expected.p0.y);
    EXPECT_EQ(q.p3.x, expected.p3.x);
    EXPECT_EQ(q.p3.y, expected.p3.y);
}

TEST_F(DocumentTest, SelectionHoldsTheQuadsOfTheSelectedCharacters) {
    // A generated line break on page 0 carries no quad of its own.
    const PDQuadF lineEnd = CharQuad({0, 0, 200, 100}, 5);
    FolioMemoryAddChar(HostBL::DocumentHandle(document.get()), 0, L"\n", &lineEnd);
    ObjectPtr view = HostBL::CreateView(document.get(), 300, 300, 1.0f);

    // Ends given backwards: page 0 from character 3 (with the line break)
    // to page 1 before character 2.
    ObjectPtr selection = HostBL::SelectText(view.get(), "TextCopy", 1, 2, 0, 3);
    ObjectPtr current;
    CallChecked<BLDocumentViewOps::GetSelection>(view.get(), current.Receive());
    EXPECT_EQ(current, selection);

    SLAtom type = 0;
    CallChecked<BLSelectionOps::GetType>(selection.get(), &type);
    EXPECT_EQ(type, AtomFromString("TextCopy"));
    uint64_t first = 0, last = 0;
    CallChecked<BLSelectionOps::GetSelectedPages>(selection.get(), &first, &last);
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, 1u);
    uint32_t hasText = 0;
    CallChecked<BLSelectionOps::HasText>(selection.get(), &hasText);
    EXPECT_NE(hasText, 0u);

    const std::vector<SL::Quad> page0 = QuadsOf(selection.get(), 0);
    ASSERT_EQ(page0.size(), 2u);
    ExpectQuad(page0[0], CharQuad({0, 0, 200, 100}, 3));
    ExpectQuad(page0[1], CharQuad({0, 0, 200, 100}, 4));
    const std::vector<SL::Quad> page1 = QuadsOf(selection.get(), 1);
    ASSERT_EQ(page1.size(), 2u);
    ExpectQuad(page1[1], CharQuad({0, 0, 200, 100}, 1));
    EXPECT_TRUE(QuadsOf(selection.get(), 2).empty());

    // An empty selection has no pages and no text.
    ObjectPtr empty = HostBL::SelectText(view.get(), "TextEdit", 1, 2, 1, 2);
    CallChecked<BLSelectionOps::GetSelectedPages>(empty.get(), &first, &last);
    EXPECT_EQ(first, BLDocumentViewOps::kNoPage);
    EXPECT_EQ(last, BLDocumentViewOps::kNoPage);
    CallChecked<BLSelectionOps::HasText>(empty.get(), &hasText);
    EXPECT_EQ(hasText, 0u);

    EXPECT_THROW(HostBL::SelectText(view.get(), "TextCopy", 0, 0, 0, 7), std::out_of_range);
    HostBL::ClearSelection(view.get());
    CallChecked<BLDocumentViewOps::GetSelection>(view.get(), current.Receive());
    EXPECT_FALSE(current);
}

} // namespace
