// The per-thread error records, their inner chains, CheckResult and the
// exception that carries a record.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <thread>
#include <tuple>

#include "TestObjects.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"
#include "svcbroker.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// A failure record as compared here: code, line, message, function, file.
using Record = std::tuple<uint32_t, uint32_t, std::wstring, std::string, std::string>;

Record Of(const ServiceObjectException& e) {
    return {e.Code(), e.Line(), e.Message(), e.Function(), e.File()};
}

// The calling thread's record, as any object of this module reports it;
// all empty when there is none.
Record CurrentError() {
    ObjectPtr o = ObjectPtr::Adopt(fwtest::ProbeObject::New());
    ErrorInfo info;
    if (o->common.GetErrorInfo(o.get(), &info, nullptr) != SODetails::kOk)
        return {};
    return {info.code, info.line, info.message, info.function, info.file};
}

TEST(ErrorRecords, EachThreadKeepsItsOwnLastFailure) {
    fwtest::SpinBarrier bothReported(2);
    Record seenA, seenB;
    auto reportThenRead = [&](uint32_t code, const char* function, uint32_t line, Record* seen) {
        ReportError(code, L"If", L"Op", function, "file", line);
        bothReported.Wait();
        *seen = CurrentError();
    };
    std::thread a(reportThenRead, 5, "fnA", 11, &seenA);
    std::thread b(reportThenRead, kSPFactoryFailed, "fnB", 22, &seenB);
    a.join();
    b.join();
    EXPECT_EQ(seenA, Record(5, 11, L"If::Op() failed, code: 5", "fnA", "file"));
    // The code is written in decimal.
    EXPECT_EQ(seenB, Record(kSPFactoryFailed, 22, L"If::Op() failed, code: 65542", "fnB", "file"));
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
        EXPECT_EQ(CurrentError(), Record(7, 1, L"If::First() failed, code: 7", "f", "file"));
        ReportError(2, L"If", L"Second", "g", "other", 9);
        EXPECT_EQ(CurrentError(), Record(2, 9, L"If::Second() failed, code: 2", "g", "other"));
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
};

TEST(ErrorRecords, ChainResolvesToTheLastLiveRecord) {
    RecordSlot inner, middle;
    inner.Make(7, L"inner", nullptr);
    middle.Make(5, L"middle", inner.record);
    ServiceObjectException outer = ServiceObjectException::StandingFor(middle.record);
    EXPECT_EQ(Of(outer), Record(7, 70, L"inner", "fn", "file"));

    inner.record->~ServiceObjectException();
    EXPECT_EQ(std::memcmp(inner.bytes, "DDDD", 4), 0); // the dead marker
    EXPECT_EQ(Of(outer), Record(5, 50, L"middle", "fn", "file"));
    middle.record->~ServiceObjectException();
    EXPECT_EQ(Of(outer), Record()); // its own, empty fields
}

// An object of another module, and what its GetErrorInfo answers.
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

TEST(CheckResult, ThrowsWhatTheObjectRecordedOnlyForFailures) {
    fwtest::FlatObject<1> object, noErrorInfo;
    object.object.header.common.GetErrorInfo = &ForeignErrors::GetErrorInfo;
    auto thrown = [&] { return fwtest::Thrown([&] { CheckResult(object.get(), 2); }); };
    for (uint32_t code : {0u, 1u, 10u})
        EXPECT_NO_THROW(CheckResult(object.get(), code));
    EXPECT_EQ(ForeignErrors::calls, 0);
    ForeignErrors::result = 8; // no error information
    EXPECT_NO_THROW(CheckResult(object.get(), 2));
    EXPECT_EQ(ForeignErrors::calls, 1);
    EXPECT_NO_THROW(CheckResult(noErrorInfo.get(), 2));

    // Described only: the exception copies the description.
    ForeignErrors::result = 0;
    std::wstring message = L"described";
    std::string function = "described::Function", file = "described\\file";
    ForeignErrors::info = {12, 34, message.c_str(), function.c_str(), file.c_str()};
    const ServiceObjectException described = thrown();
    message = L"changed";
    EXPECT_EQ(Of(described), Record(12, 34, L"described", function, file));
    EXPECT_EQ(described.Inner(), nullptr);

    // With a live record: the exception stands for it, with the record's
    // code rather than the result's.
    ServiceObjectException theirs(kSPModuleNotFound, L"their message", "their::Function",
                                  "their\\file", 42);
    ForeignErrors::record = &theirs;
    const ServiceObjectException standing = thrown();
    EXPECT_EQ(standing.Inner(), &theirs);
    EXPECT_EQ(Of(standing), Of(theirs));
}

} // namespace
