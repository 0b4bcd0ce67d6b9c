// The handler interface's common answers, for both of the module's ribbon
// handlers as the service provider makes them.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SequenceHash.h"
#include "ui-engine/UIHandler.h"

extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

using SODetails::kOk;

uint32_t Query(const ObjectPtr& o, const char* interfaceName, ServiceObject** out) {
    return SODetails::TryCall<UIHandlerOps::QueryServiceObject>(
               o.get(), SODetails::SequenceHash(interfaceName), out, uint8_t{0}, uint8_t{0})
        .value_or(0xDEAD);
}

// Each ribbon handler answers a query for its own interface with itself and declines others; a bad
// argument is refused and recorded for the calling thread, naming the interface, the operation and
// the declaring header.
TEST(UIHandlerObject, AnswersForItselfAndRecordsRefusedCalls) {
    const std::pair<const char*, std::string> handlers[] = {
        {"UIReviewMarkupGroupHandler", "class MarkupGroupHandler"},
        {"UIReviewFontGroupTextMarkupControlHandler", "class FontGroupTextMarkupControlHandler"}};
    for (const auto& [serviceName, handlerName] : handlers) {
        SCOPED_TRACE(serviceName);
        ObjectPtr h;
        ASSERT_EQ(CreateServiceObject(SODetails::AtomFromString(serviceName), h.Receive()), kOk);
        ServiceObject* self = nullptr;
        EXPECT_EQ(Query(h, "UIHandler", &self), kOk);
        EXPECT_EQ(self, h.get());
        EXPECT_EQ(h->common.GetRefCount(h.get()), 2u);
        ObjectPtr::Adopt(self).Reset();
        ServiceObject* other = nullptr;
        EXPECT_EQ(Query(h, "SomethingElse", &other), SODetails::kDeclined);
        EXPECT_EQ(other, nullptr);
        EXPECT_EQ(h->common.GetRefCount(h.get()), 1u);

        EXPECT_EQ(Query(h, "UIHandler", nullptr), SODetails::kBadArgument);
        ErrorInfo info{};
        ASSERT_EQ(h->common.GetErrorInfo(h.get(), &info, nullptr), kOk);
        EXPECT_EQ(info.code, SODetails::kBadArgument);
        EXPECT_STREQ(info.message, L"UIHandler::QueryServiceObject() failed, code: 3");
        EXPECT_STREQ(info.file, "app\\include\\ui-engine\\uihandler");
        const std::string function = info.function;
        EXPECT_NE(function.find("CppUIHandlerBase<" + handlerName), std::string::npos) << function;
        EXPECT_NE(function.find("QueryServiceObject"), std::string::npos) << function;
    }
}

} // namespace
