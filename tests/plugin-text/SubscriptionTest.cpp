// Host event subscriptions: what the source is asked, when, and with which
// handle; and what the handler context does when the host calls it.
#include <gtest/gtest.h>

#include <functional>

#include "Fakes.h"
#include "bl/BLDocument.h"

namespace {

using Subscription = BLDocument::EventSubscription_OnPageContentChanged;
using Event = BLDocumentEvents::OnPageContentChanged;

TEST(EventSubscription, SourceWithoutEntryOrRefusingGivesNothing) {
    fakes::ObjectPtr document = fakes::Document::Make(nullptr);
    fakes::Document& fake = fakes::Document::Of(document.get());
    const int before = fakes::unsubscribeCalls;

    fake.nextHandle = 0; // refuses
    EXPECT_FALSE(
        Subscription::Subscribe(document.get(), [](uint64_t, const SL::RectF*, uint64_t) {}));

    fakes::ClearOperation(document.get(), Event::Subscribe::kPosition);
    EXPECT_FALSE(
        SOEvent::Subscribe<Event>(document.get(), [](uint64_t, const SL::RectF*, uint64_t) {}));
    EXPECT_FALSE(SOEvent::Subscribe<Event>(nullptr, [](uint64_t, const SL::RectF*, uint64_t) {}));

    EXPECT_TRUE(fake.subscribers.empty());
    EXPECT_EQ(fakes::unsubscribeCalls, before);
}

TEST(EventSubscription, LiveSubscriptionDeliversAndEndsOnceWithItsHandle) {
    fakes::ObjectPtr document = fakes::Document::Make(nullptr);
    fakes::Document& fake = fakes::Document::Of(document.get());
    fake.nextHandle = 41;
    std::vector<uint64_t> pages;
    float lastRectRight = -1;
    const SL::RectF changed{1, 2, 3, 4};
    boost::shared_ptr<SOEvent::SubscriptionBase> subscription = SOEvent::Subscribe<Event>(
        document.get(), [&](uint64_t page, const SL::RectF* rects, uint64_t count) {
            pages.push_back(page);
            lastRectRight = count == 1 ? rects->x1 : 0.0f;
        });
    ASSERT_TRUE(subscription);
    // The subscription holds no strong reference to its source.
    EXPECT_EQ(document->common.GetRefCount(document.get()), 1u);

    fake.ContentChanged(3);
    auto& context = fake.subscribers.at(41);
    context.invoke(5, &changed, 1, context.context);
    EXPECT_EQ(pages, (std::vector<uint64_t>{3, 5}));
    EXPECT_EQ(lastRectRight, 3.0f);

    boost::shared_ptr<SOEvent::SubscriptionBase> copy = subscription;
    subscription.reset();
    EXPECT_TRUE(fake.unsubscribed.empty()); // still shared
    copy.reset();
    EXPECT_EQ(fake.unsubscribed, (std::vector<uint64_t>{41}));
    EXPECT_TRUE(fake.subscribers.empty());
}

TEST(EventSubscription, EndingAfterTheSourceDiedCallsNothing) {
    fakes::ObjectPtr document = fakes::Document::Make(nullptr);
    auto subscription =
        SOEvent::Subscribe<Event>(document.get(), [](uint64_t, const SL::RectF*, uint64_t) {});
    ASSERT_TRUE(subscription);
    const int before = fakes::unsubscribeCalls;
    document.Reset(); // the source dies (and destroys the context it held)
    subscription.reset();
    EXPECT_EQ(fakes::unsubscribeCalls, before);
}

TEST(EventSubscription, EmptyHandlerRaisesBadFunctionCall) {
    fakes::ObjectPtr document = fakes::Document::Make(nullptr);
    auto subscription = SOEvent::Subscribe<Event>(
        document.get(), std::function<void(uint64_t, const SL::RectF*, uint64_t)>());
    ASSERT_TRUE(subscription);
    EXPECT_THROW(fakes::Document::Of(document.get()).ContentChanged(0), std::bad_function_call);
}

} // namespace
