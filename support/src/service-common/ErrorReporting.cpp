#include "service-common/ErrorReporting.h"

#include <boost/format.hpp>

#include <cstring>

#include "service-common/ErrorsStorage.h"
#include "service-common/ServiceObjectException.h"

void ReportError(uint32_t code, const wchar_t* interfaceName, const wchar_t* operationName,
                 const char* function, const char* file, uint32_t line) {
    if (!SODetails::IsFailure(code) || !interfaceName || !operationName)
        return;
    std::wstring message = (boost::wformat(L"%s::%s() failed, code: %d") % interfaceName %
                            operationName % code)
                               .str();
    ReportFailure(ServiceObjectException(code, std::move(message), function ? function : "",
                                         file ? file : "", line));
}

void ReportFailure(const ServiceObjectException& failure) {
    if (SODetails::IsFailure(failure.Code()) && ErrorsStorage::IsAvailable())
        ErrorsStorage::Instance().Record(failure);
}

void CheckResult(ServiceObject* object, uint32_t code) {
    if (!SODetails::IsFailure(code))
        return;
    if (!object || !object->common.GetErrorInfo)
        return;
    ErrorInfo info;
    std::memset(&info, 0, sizeof(info));
    void* record = nullptr;
    if (object->common.GetErrorInfo(object, &info, &record) != SODetails::kOk)
        return;
    if (record)
        throw ServiceObjectException::StandingFor(static_cast<const ServiceObjectException*>(record));
    throw ServiceObjectException(info.code, info.message ? info.message : L"",
                                 info.function ? info.function : "", info.file ? info.file : "",
                                 info.line);
}

namespace SODetails {

uint32_t GetErrorInfo(ServiceObject*, ErrorInfo* info, void** record) {
    if (!info)
        return kBadArgument;
    if (!ErrorsStorage::IsAvailable()) {
        std::memset(info, 0, sizeof(*info));
        return kNoErrorRecorded;
    }
    return ErrorsStorage::Instance().Describe(info, record);
}

} // namespace SODetails
