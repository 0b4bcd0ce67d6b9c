// Whether annotations may be added in a view: not in a read-only view.
#include <gtest/gtest.h>

#include "HostBLProbes.h"

namespace {

using namespace HostBLTest;
using SODetails::CallChecked;

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

    EXPECT_EQ(ViewState(view.get()), 0u);
    EXPECT_TRUE(AnnotationsAllowed(view.get()));
    bool other = true;
    CallChecked<BLDocumentViewOps::IsOperationAllowed>(view.get(), 3u, 5u, true, false, &other);
    EXPECT_FALSE(other) << "no other change is known to this host";

    HostBL::SetReadOnly(view.get(), true);
    HostBL::SetReadOnly(view.get(), true);
    EXPECT_EQ(ViewState(view.get()), BLViewState::kReadOnly);
    EXPECT_FALSE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(HostBL::AnnotationsBlocked(view.get()), HostBL::AnnotationBlock::kReadOnlyView);
    HostBL::SetReadOnly(view.get(), false);
    EXPECT_TRUE(AnnotationsAllowed(view.get()));
    EXPECT_EQ(probe.states, (std::vector<uint32_t>{BLViewState::kReadOnly, 0u}))
        << "one event per change";
}

} // namespace
