// The handler interface's common answers, for both of the module's ribbon
// handlers as the service provider makes them.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SequenceHash.h"
#include "ui-engine/UIHandler.h"

extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

using SODetails::kOk;
using SODetails::SequenceHash;

ObjectPtr Create(const char* name) {
    ServiceObject* object = nullptr;
    EXPECT_EQ(CreateServiceObject(SODetails::AtomFromString(name), &object), kOk) << name;
    return ObjectPtr::Adopt(object);
}

template <class Slot, class... Args> uint32_t Call(const ObjectPtr& o, Args... args) {
    return SODetails::TryCall<Slot>(o.get(), args...).value_or(0xDEAD);
}

struct HandlerCase {
    const char* serviceName;
    const char* handlerName;
};

class UIHandlerObject : public testing::TestWithParam<HandlerCase> {};

TEST_P(UIHandlerObject, AnswersForItself) {
    ObjectPtr h = Create(GetParam().serviceName);
    ASSERT_TRUE(h);

    const char* name1 = nullptr;
    const char* name2 = nullptr;
    EXPECT_EQ(Call<UIHandlerOps::GetHandlerName>(h, &name1), kOk);
    EXPECT_EQ(Call<UIHandlerOps::GetHandlerName>(h, &name2), kOk);
    EXPECT_STREQ(name1, GetParam().handlerName);
    EXPECT_EQ(name1, name2);

    ServiceObject* self = nullptr;
    EXPECT_EQ(Call<UIHandlerOps::QueryServiceObject>(h, SequenceHash("UIHandler"), &self,
                                                     uint8_t{0}, uint8_t{0}),
              kOk);
    EXPECT_EQ(self, h.get());
    EXPECT_EQ(h->common.GetRefCount(h.get()), 2u);
    ObjectPtr::Adopt(self).Reset();

    ServiceObject* other = nullptr;
    EXPECT_EQ(Call<UIHandlerOps::QueryServiceObject>(h, SequenceHash("SomethingElse"), &other,
                                                     uint8_t{0}, uint8_t{0}),
              SODetails::kDeclined);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(h->common.GetRefCount(h.get()), 1u);
}

// A bad argument is refused with 3 and recorded for the calling thread,
// naming the interface, the operation and the declaring header.
TEST_P(UIHandlerObject, RefusedCallIsRecorded) {
    const HandlerCase param = GetParam();
    std::thread([param] {
        ObjectPtr h = Create(param.serviceName);
        ASSERT_TRUE(h);
        EXPECT_EQ(Call<UIHandlerOps::QueryServiceObject>(h, SequenceHash("UIHandler"),
                                                         static_cast<ServiceObject**>(nullptr),
                                                         uint8_t{0}, uint8_t{0}),
                  SODetails::kBadArgument);
        ErrorInfo info{};
        ASSERT_EQ(h->common.GetErrorInfo(h.get(), &info, nullptr), kOk);
        EXPECT_EQ(info.code, SODetails::kBadArgument);
        EXPECT_STREQ(info.message, L"UIHandler::QueryServiceObject() failed, code: 3");
        EXPECT_STREQ(info.file, "app\\include\\ui-engine\\uihandler");
        const std::string function = info.function;
        EXPECT_NE(function.find("CppUIHandlerBase<" + std::string(param.handlerName)),
                  std::string::npos)
            << function;
        EXPECT_NE(function.find("QueryServiceObject"), std::string::npos) << function;
    }).join();
}

INSTANTIATE_TEST_SUITE_P(Ribbon, UIHandlerObject,
                         testing::Values(HandlerCase{"UIReviewMarkupGroupHandler",
                                                     "class MarkupGroupHandler"},
                                         HandlerCase{"UIReviewFontGroupTextMarkupControlHandler",
                                                     "class FontGroupTextMarkupControlHandler"}),
                         [](const testing::TestParamInfo<HandlerCase>& info) {
                             return info.index == 0 ? std::string("MarkupGroup")
                                                    : std::string("FontGroup");
                         });

} // namespace
