#include "ui/UIWndServiceObjectRequester.h"

#include <boost/format.hpp>

#include <string>

#include "service-common/Log.h"
#include "service-common/ServiceObjectException.h"
#include "ui/UIWnd.h"

namespace SOImpl {

namespace {

std::wstring Widened(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

void LogFailedQuery(const char* interfaceName, const void* errorRecord) {
    using Site = FailureSites::QueryServiceObjectFromUIWnd;
    try {
        std::wstring message;
        if (errorRecord) {
            const ServiceObjectException record = ServiceObjectException::StandingFor(
                static_cast<const ServiceObjectException*>(errorRecord));
            message = (boost::wformat(L"Failed to query %1% service object from UIWnd! %2%") %
                       Widened(interfaceName) % record.Message())
                          .str();
        } else {
            message = (boost::wformat(L"Failed to query %1% service object from UIWnd!") %
                       Widened(interfaceName))
                          .str();
        }
        const std::string function = (boost::format(Site::kFunctionPattern) % interfaceName).str();
        Log(message, SODetails::kLogSeverityNotice, Site::kFile, Site::kLine, function.c_str());
    } catch (...) {
        // The query's answer does not depend on its log record.
    }
}

} // namespace

ServiceObject* UIWndServiceObjectRequester::Query(ServiceObject* window, uint32_t id,
                                                  const char* interfaceName) noexcept {
    if (!window)
        return nullptr;
    ServiceObject* found = nullptr;
    void* errorRecord = nullptr;
    std::optional<uint32_t> code = SODetails::TryCall<UIWndOps::QueryServiceObject>(
        window, id, UIWndOps::kForward, &found, &errorRecord);
    if (code && *code == SODetails::kOk && found)
        return found;
    SODetails::BasicServiceObjectPtr<>::Adopt(found).Reset();
    if (code && SODetails::IsFailure(*code))
        LogFailedQuery(interfaceName, errorRecord);
    return nullptr;
}

} // namespace SOImpl
