// Host event subscriptions: what the source is asked, when, and with which
// handle; and what the handler context does when the host calls it.
#include <gtest/gtest.h>

#include <functional>

#include "bl/BLDocument.h"
#include "service-common/HostObjects.h"

namespace {

using Event = BLDocumentEvents::OnPageContentChanged;

// A source whose only operations are the two entries of the event, served
// by the event source the host's objects use: like the host, it ends the
// contexts it still holds when it dies. It counts the unsubscribe calls and
// refuses subscriptions when told to.
struct Source {
    using Impl = Source;
    using Object = SODetails::ServiceObjectCppTheConcrete<Source, Source>;
    static constexpr const char* kName = "BLDocument";
    static constexpr const wchar_t* kWideName = L"BLDocument";
    static constexpr std::size_t kOperationCount = BLDocumentOps::kOperationCount;
    static inline int unsubscribeCalls = 0; // of any source, live or not
    static inline bool refuse = false;

    SODetails::EventSourceFor<Event> changed;

    static void FillOperations(SODetails::Operation* ops) {
        using Entries = SODetails::EventEntries<Source, Event, &Source::changed>;
        SODetails::SetOperation<Event::Subscribe>(ops, [](ServiceObject* self, Event::Invoke invoke,
                                                          Event::Destroy destroy, void* context) {
            return Entries::Subscribe(self, refuse ? nullptr : invoke, destroy, context);
        });
        SODetails::SetOperation<Event::Unsubscribe>(ops, [](ServiceObject* self, uint64_t h) {
            ++unsubscribeCalls;
            return Entries::Unsubscribe(self, h);
        });
    }
};

void Ignore(uint64_t, const SL::RectF*, uint64_t) {}

TEST(EventSubscription, NoEntryOrRefusalGivesNothingToEnd) {
    auto source = Source::Object::Make();
    Source::refuse = true;
    EXPECT_FALSE(
        BLDocument::EventSubscription_OnPageContentChanged::Subscribe(source.get(), &Ignore));
    Source::refuse = false;
    // An older source whose table ends before the event.
    source->interfaceTableSize = Event::Subscribe::kPosition;
    EXPECT_FALSE(SOEvent::Subscribe<Event>(source.get(), &Ignore));
    EXPECT_FALSE(SOEvent::Subscribe<Event>(nullptr, &Ignore));
    EXPECT_EQ(Source::Object::ImplOf(source.get()).changed.Count(), 0u);
}

TEST(EventSubscription, LiveSubscriptionDeliversAndEndsOnceButNotAfterItsSourceDied) {
    auto source = Source::Object::Make();
    auto& changed = Source::Object::ImplOf(source.get()).changed;
    std::vector<float> seen;
    boost::shared_ptr<SOEvent::SubscriptionBase> subscription = SOEvent::Subscribe<Event>(
        source.get(), [&](uint64_t page, const SL::RectF* rects, uint64_t count) {
            seen.push_back(static_cast<float>(page));
            seen.push_back(count == 1 ? rects->x1 : -1.0f);
        });
    ASSERT_TRUE(subscription);
    EXPECT_EQ(source->common.GetRefCount(source.get()), 1u); // no strong hold

    const SL::RectF rect{1, 2, 3, 4};
    changed.Raise(5, &rect, 1);
    EXPECT_EQ(seen, (std::vector<float>{5, 3}));

    const int before = Source::unsubscribeCalls;
    auto copy = subscription;
    subscription.reset();
    EXPECT_EQ(changed.Count(), 1u); // still shared
    copy.reset();
    EXPECT_EQ(changed.Count(), 0u) << "ended with its own handle";
    EXPECT_EQ(Source::unsubscribeCalls, before + 1);

    // A subscription that outlives its source asks it nothing when it ends;
    // an empty handler fails when the event comes.
    subscription = SOEvent::Subscribe<Event>(
        source.get(), std::function<void(uint64_t, const SL::RectF*, uint64_t)>());
    ASSERT_TRUE(subscription);
    EXPECT_THROW(changed.Raise(0, nullptr, 0), std::bad_function_call);
    source.Reset();
    subscription.reset();
    EXPECT_EQ(Source::unsubscribeCalls, before + 1);
}

} // namespace
