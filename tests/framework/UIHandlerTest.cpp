// The module's two ribbon handlers as the service provider makes them, and
// the handler interface's common answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "strpool.h"
#include "ui-engine/UIHandler.h"

extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

SLAtom Atom(const char* name) {
    SLAtom atom = 0;
    SLGetAtomFromString(name, &atom);
    return atom;
}

uint32_t Hash(const char* text) {
    uint32_t hash = 0;
    CalculateSequenceHash(text, static_cast<uint32_t>(std::strlen(text)), &hash);
    return hash;
}

ObjectPtr Create(const char* name) {
    ServiceObject* object = nullptr;
    EXPECT_EQ(CreateServiceObject(Atom(name), &object), 0u) << name;
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

TEST_P(UIHandlerObject, EachRequestMakesANewHandler) {
    ObjectPtr a = Create(GetParam().serviceName);
    ObjectPtr b = Create(GetParam().serviceName);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->common.GetRefCount(a.get()), 1u);
    EXPECT_EQ(b->common.GetRefCount(b.get()), 1u);

    EXPECT_EQ(a->interfaceId, Hash("UIHandler"));
    EXPECT_EQ(a->interfaceTableSize, 184u);
    EXPECT_STREQ(a->interfaceName, "UIHandler");
    for (const ServiceObject* o : {a.get(), b.get()})
        EXPECT_NE(o->common.GetErrorInfo, nullptr);
}

TEST_P(UIHandlerObject, AnswersForItself) {
    ObjectPtr h = Create(GetParam().serviceName);
    ASSERT_TRUE(h);

    uint32_t events = 0;
    EXPECT_EQ(Call<UIHandlerOps::GetSubscribedEvents>(h, &events), 0u);
    EXPECT_EQ(events, 256u);

    const char* name1 = nullptr;
    const char* name2 = nullptr;
    EXPECT_EQ(Call<UIHandlerOps::GetHandlerName>(h, &name1), 0u);
    EXPECT_EQ(Call<UIHandlerOps::GetHandlerName>(h, &name2), 0u);
    EXPECT_STREQ(name1, GetParam().handlerName);
    EXPECT_EQ(name1, name2);

    ServiceObject* self = nullptr;
    EXPECT_EQ(
        Call<UIHandlerOps::QueryServiceObject>(h, Hash("UIHandler"), &self, uint8_t{0}, uint8_t{0}),
        0u);
    EXPECT_EQ(self, h.get());
    EXPECT_EQ(h->common.GetRefCount(h.get()), 2u);
    ObjectPtr::Adopt(self).Reset();

    ServiceObject* other = nullptr;
    EXPECT_EQ(Call<UIHandlerOps::QueryServiceObject>(h, Hash("SomethingElse"), &other, uint8_t{0},
                                                     uint8_t{0}),
              1u);
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
        EXPECT_EQ(Call<UIHandlerOps::QueryServiceObject>(h, Hash("UIHandler"),
                                                         static_cast<ServiceObject**>(nullptr),
                                                         uint8_t{0}, uint8_t{0}),
                  3u);
        ErrorInfo info{};
        ASSERT_EQ(h->common.GetErrorInfo(h.get(), &info, nullptr), 0u);
        EXPECT_EQ(info.code, 3u);
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
