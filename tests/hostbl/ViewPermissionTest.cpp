// Whether annotations may be added in a view: not in a read-only view, and
// not in a document whose permissions forbid it.
#include <gtest/gtest.h>

#include "HostBLProbes.h"

namespace {

using namespace HostBLTest;
using SODetails::CallChecked;

bool AnnotationsAllowed(ServiceObject* view) {
    bool allowed = true;
    CallChecked<BLDocumentViewOps::IsOperationAllowed>(view, BLViewOperation::kAnnotations,
                                                       BLViewOperation::kAdd, true, false,
                                                       &allowed);
    return allowed;
}

uint32_t State(ServiceObject* view) {
    uint32_t state = ~0u;
    CallChecked<BLDocumentViewOps::GetViewState>(view, &state);
    return state;
}

struct StateProbe {
    std::vector<uint32_t> states;
    static void Invoke(uint32_t state, void* context) {
        static_cast<StateProbe*>(context)->states.push_back(state);
    }
};

TEST(ViewPermissionTest, AReadOnlyViewRefusesAnnotationsAndSaysSoInItsState) {
    const ObjectPtr document = MakeDocument({{{0, 0, 200, 100}, 0, 3}});
    const ObjectPtr view = HostBL::CreateView(document.get(), 300, 200, 1);
    StateProbe probe;
    SODetails::TryCall<BLDocumentViewEvents::OnViewStateChanged::Subscribe>(
        view.get(), &StateProbe::Invoke, nullptr, static_cast<void*>(&probe));

    EXPECT_EQ(State(view.get()), 0u);
    EXPECT_TRUE(AnnotationsAllowed(view.get()));
    bool other = true;
    CallChecked<BLDocumentViewOps::IsOperationAllowed>(view.get(), 3u, 5u, true, false, &other);
    EXPECT_FALSE(other) << "no other change is known to this host";

    HostBL::SetReadOnly(view.get(), true);
    HostBL::SetReadOnly(view.get(), true);
    EXPECT_EQ(State(view.get()), BLViewState::kReadOnly);
    EXPECT_FALSE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(HostBL::AnnotationsBlocked(view.get()), HostBL::AnnotationBlock::kReadOnlyView);
    HostBL::SetReadOnly(view.get(), false);
    EXPECT_TRUE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(probe.states, (std::vector<uint32_t>{BLViewState::kReadOnly, 0u}))
        << "one event per change";
}

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
    EXPECT_EQ(State(view.get()), 0u) << "the view itself is not read-only";
}

} // namespace
