// Host event subscriptions: what the source is asked, when, and with which
// handle; and what the handler context does when the host calls it.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "bl/BLDocument.h"
#include "service-common/ServiceObjectCppTheConcrete.h"

namespace {

using Event = BLDocumentEvents::OnPageContentChanged;

// A source whose only operations are the two entries of the event. Like the
// host, it ends the contexts it still holds when it dies.
struct Source {
    struct Context {
        Event::Invoke invoke;
        Event::Destroy destroy;
        void* context;
    };
    uint64_t nextHandle = 7; // 0 refuses
    std::map<uint64_t, Context> subscribers;
    std::vector<uint64_t> unsubscribed;
    static inline int unsubscribeCalls = 0; // of any source, live or not

    ~Source() {
        for (auto& [handle, entry] : subscribers)
            entry.destroy(entry.context);
    }
    void Raise(uint64_t page, const SL::RectF* rects, uint64_t count) {
        for (auto& [handle, entry] : subscribers)
            entry.invoke(page, rects, count, entry.context);
    }

    static constexpr const char* kName = "BLDocument";
    static constexpr std::size_t kOperationCount = BLDocumentOps::kOperationCount;
    using Object = SODetails::ServiceObjectCppTheConcrete<Source, Source>;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<Event::Subscribe>(
            ops,
            [](ServiceObject* self, Event::Invoke invoke, Event::Destroy destroy,
               void* context) -> uint64_t {
                Source& s = Object::ImplOf(self);
                if (s.nextHandle == 0) {
                    destroy(context);
                    return 0;
                }
                s.subscribers[s.nextHandle] = Context{invoke, destroy, context};
                return s.nextHandle++;
            });
        SODetails::SetOperation<Event::Unsubscribe>(ops, [](ServiceObject* self, uint64_t h) {
            ++unsubscribeCalls;
            Source& s = Object::ImplOf(self);
            s.unsubscribed.push_back(h);
            s.subscribers.at(h).destroy(s.subscribers.at(h).context);
            s.subscribers.erase(h);
            return 0u;
        });
    }
};

void Ignore(uint64_t, const SL::RectF*, uint64_t) {}

TEST(EventSubscription, NoEntryOrRefusalGivesNothingToEnd) {
    auto source = Source::Object::Make();
    Source& fake = Source::Object::ImplOf(source.get());
    fake.nextHandle = 0;
    EXPECT_FALSE(
        BLDocument::EventSubscription_OnPageContentChanged::Subscribe(source.get(), &Ignore));
    // An older source whose table ends before the event.
    source->interfaceTableSize = Event::Subscribe::kPosition;
    fake.nextHandle = 7;
    EXPECT_FALSE(SOEvent::Subscribe<Event>(source.get(), &Ignore));
    EXPECT_FALSE(SOEvent::Subscribe<Event>(nullptr, &Ignore));
    EXPECT_TRUE(fake.subscribers.empty());
}

TEST(EventSubscription, LiveSubscriptionDeliversAndEndsOnceWithItsHandle) {
    auto source = Source::Object::Make();
    Source& fake = Source::Object::ImplOf(source.get());
    fake.nextHandle = 41;
    std::vector<float> seen;
    boost::shared_ptr<SOEvent::SubscriptionBase> subscription = SOEvent::Subscribe<Event>(
        source.get(), [&](uint64_t page, const SL::RectF* rects, uint64_t count) {
            seen.push_back(static_cast<float>(page));
            seen.push_back(count == 1 ? rects->x1 : -1.0f);
        });
    ASSERT_TRUE(subscription);
    EXPECT_EQ(source->common.GetRefCount(source.get()), 1u); // no strong hold

    const SL::RectF changed{1, 2, 3, 4};
    fake.Raise(5, &changed, 1);
    EXPECT_EQ(seen, (std::vector<float>{5, 3}));

    auto copy = subscription;
    subscription.reset();
    EXPECT_TRUE(fake.unsubscribed.empty()); // still shared
    copy.reset();
    EXPECT_EQ(fake.unsubscribed, (std::vector<uint64_t>{41}));
}

// A subscription that outlives its source asks it nothing when it ends; an
// empty handler fails when the event comes.
TEST(EventSubscription, AfterTheSourceDiedNothingIsCalled) {
    auto source = Source::Object::Make();
    auto subscription = SOEvent::Subscribe<Event>(
        source.get(), std::function<void(uint64_t, const SL::RectF*, uint64_t)>());
    ASSERT_TRUE(subscription);
    EXPECT_THROW(Source::Object::ImplOf(source.get()).Raise(0, nullptr, 0), std::bad_function_call);
    const int before = Source::unsubscribeCalls;
    source.Reset();
    subscription.reset();
    EXPECT_EQ(Source::unsubscribeCalls, before);
}

} // namespace
