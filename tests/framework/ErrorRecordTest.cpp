// The per-thread error records, their inner chains, CheckResult and the
// exception that carries a record.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <thread>

#include "TestObjects.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// The calling thread's record, as any object of this module reports it.
struct ThreadError {
    uint32_t result = 0;
    uint32_t code = 0;
    uint32_t line = 0;
    std::wstring message;
    std::string function;
    std::string file;
};

ThreadError CurrentError() {
    ObjectPtr o = ObjectPtr::Adopt(fwtest::ProbeObject::New());
    ErrorInfo info;
    void* record = nullptr;
    ThreadError e;
    e.result = o->common.GetErrorInfo(o.get(), &info, &record);
    if (e.result == 0) {
        e.code = info.code;
        e.line = info.line;
        e.message = info.message;
        e.function = info.function;
        e.file = info.file;
    }
    return e;
}

TEST(ErrorRecords, EachThreadKeepsItsOwnLastFailure) {
    fwtest::SpinBarrier bothReported(2);
    ThreadError seenA, seenB;
    std::thread a([&] {
        ReportError(5, L"IfA", L"OpA", "fnA", "fileA", 11);
        bothReported.Wait();
        seenA = CurrentError();
    });
    std::thread b([&] {
        ReportError(0x10006, L"IfB", L"OpB", "fnB", "fileB", 22);
        bothReported.Wait();
        seenB = CurrentError();
    });
    a.join();
    b.join();

    EXPECT_EQ(seenA.result, 0u);
    EXPECT_EQ(seenA.code, 5u);
    EXPECT_EQ(seenA.message, L"IfA::OpA() failed, code: 5");
    EXPECT_EQ(seenA.function, "fnA");
    EXPECT_EQ(seenA.file, "fileA");
    EXPECT_EQ(seenA.line, 11u);
    EXPECT_EQ(seenB.code, 0x10006u);
    EXPECT_EQ(seenB.message, L"IfB::OpB() failed, code: 65542"); // decimal
    EXPECT_EQ(seenB.line, 22u);
}

TEST(ErrorRecords, ThereIsNoneUntilAFailureAndOnlyFailuresReplaceIt) {
    std::thread([] {
        ObjectPtr o = ObjectPtr::Adopt(fwtest::ProbeObject::New());
        EXPECT_EQ(o->common.GetErrorInfo(o.get(), nullptr, nullptr), SODetails::kBadArgument);
        ErrorInfo info;
        std::memset(&info, 0xAB, sizeof(info));
        EXPECT_EQ(o->common.GetErrorInfo(o.get(), &info, nullptr), SODetails::kNoErrorRecorded);
        const ErrorInfo zero{};
        EXPECT_EQ(std::memcmp(&info, &zero, sizeof(info)), 0);

        ReportError(7, L"If", L"First", "f", "file", 1);
        ReportError(0, L"If", L"Ok", "f", "file", 2);
        ReportError(1, L"If", L"Declined", "f", "file", 3);
        ReportError(10, L"If", L"Ignored", "f", "file", 4);
        ReportError(9, nullptr, L"NoInterface", "f", "file", 5);
        ReportError(9, L"If", nullptr, "f", "file", 6);
        EXPECT_EQ(CurrentError().code, 7u);
        EXPECT_EQ(CurrentError().message, L"If::First() failed, code: 7");

        ReportError(2, L"If", L"Second", "g", "other", 9);
        ThreadError e = CurrentError();
        EXPECT_EQ(e.code, 2u);
        EXPECT_EQ(e.function, "g");
        EXPECT_EQ(e.line, 9u);
    }).join();
}

// A record laid over storage the test owns, so that "destroying" it leaves
// readable memory with the dead marker, as another module's record would.
struct RecordSlot {
    alignas(ServiceObjectException) unsigned char bytes[sizeof(ServiceObjectException)];
    ServiceObjectException* record = nullptr;

    void Make(uint32_t code, const wchar_t* message, const ServiceObjectException* inner) {
        record = new (bytes) ServiceObjectException(code, message, "fn", "file", code * 10);
        // The inner pointer sits at offset 8 of the shared layout.
        std::memcpy(bytes + 8, &inner, sizeof(inner));
    }
    void Kill() { record->~ServiceObjectException(); }
    uint32_t Marker() const {
        uint32_t marker;
        std::memcpy(&marker, bytes, sizeof(marker));
        return marker;
    }
};

TEST(ErrorRecords, ChainResolvesToTheLastLiveRecord) {
    RecordSlot inner, middle;
    inner.Make(7, L"inner", nullptr);
    middle.Make(5, L"middle", inner.record);
    ServiceObjectException outer = ServiceObjectException::StandingFor(middle.record);

    EXPECT_EQ(outer.Code(), 7u);
    EXPECT_EQ(outer.Message(), L"inner");
    EXPECT_EQ(outer.Line(), 70u);

    inner.Kill();
    EXPECT_EQ(inner.Marker(), SODetails::FourCC("DDDD"));
    EXPECT_EQ(outer.Code(), 5u);
    EXPECT_EQ(outer.Message(), L"middle");
    EXPECT_EQ(outer.Line(), 50u);

    middle.Kill();
    EXPECT_EQ(outer.Code(), 0u); // its own, empty fields
    EXPECT_EQ(outer.Message(), L"");
}

// CheckResult against objects of another module.
struct ForeignErrors {
    static inline int calls = 0;
    static inline uint32_t result = 0;
    static inline void* record = nullptr;
    static inline ErrorInfo info{};

    static uint32_t GetErrorInfo(ServiceObject*, ErrorInfo* out, void** recordOut) {
        ++calls;
        *out = info;
        if (recordOut)
            *recordOut = record;
        return result;
    }
};

class CheckResultTest : public testing::Test {
protected:
    void SetUp() override {
        ForeignErrors::calls = 0;
        ForeignErrors::result = 0;
        ForeignErrors::record = nullptr;
        ForeignErrors::info = {};
        object.object.header.common.GetErrorInfo = &ForeignErrors::GetErrorInfo;
    }
    fwtest::FlatObject<1> object;
};

TEST_F(CheckResultTest, NonFailuresAndSilentObjectsPass) {
    for (uint32_t code : {0u, 1u, 10u})
        EXPECT_NO_THROW(CheckResult(object.get(), code));
    EXPECT_EQ(ForeignErrors::calls, 0);

    ForeignErrors::result = 8; // no error information
    EXPECT_NO_THROW(CheckResult(object.get(), 2));
    EXPECT_EQ(ForeignErrors::calls, 1);

    fwtest::FlatObject<1> noErrorInfo;
    EXPECT_NO_THROW(CheckResult(noErrorInfo.get(), 2));
}

TEST_F(CheckResultTest, ExceptionStandsForTheObjectsLiveRecord) {
    ServiceObjectException theirs(0x10009, L"their message", "their::Function", "their\\file", 42);
    ForeignErrors::record = &theirs;
    try {
        CheckResult(object.get(), 2);
        FAIL() << "no exception";
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Inner(), &theirs);
        EXPECT_EQ(e.Code(), 0x10009u); // the record's code, not the result's
        EXPECT_EQ(e.Message(), L"their message");
        EXPECT_EQ(e.Function(), "their::Function");
        EXPECT_EQ(e.File(), "their\\file");
        EXPECT_EQ(e.Line(), 42u);
    }
}

TEST_F(CheckResultTest, ExceptionCopiesErrorInfoWhenNoRecordIsGiven) {
    std::wstring message = L"described";
    std::string function = "described::Function", file = "described\\file";
    ForeignErrors::info = {12, 34, message.c_str(), function.c_str(), file.c_str()};
    try {
        CheckResult(object.get(), 2);
        FAIL() << "no exception";
    } catch (const ServiceObjectException& e) {
        message = L"changed";
        EXPECT_EQ(e.Inner(), nullptr);
        EXPECT_EQ(e.Code(), 12u);
        EXPECT_EQ(e.Line(), 34u);
        EXPECT_EQ(e.Message(), L"described");
        EXPECT_EQ(e.Function(), "described::Function");
        EXPECT_EQ(e.File(), "described\\file");
    }
}

} // namespace
