// Typed reads and writes of the host's settings store, through the service
// that the host gives for the fixed atom 15.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/BasicServiceObjectPtr.h"

namespace Settings {

class SLSettingValue {
public:
    // Asks the service provider for the service (ServiceObjectException when
    // it cannot give one).
    SLSettingValue();
    // Over a service the caller already holds; may be empty.
    explicit SLSettingValue(SODetails::BasicServiceObjectPtr<> service);

    // An operation that the service does not offer reads as 0, false or the
    // empty text, and writes nothing.
    int32_t GetInt(uint32_t root, const std::wstring& path, const std::wstring& name);
    void SetInt(uint32_t root, const std::wstring& path, const std::wstring& name, int32_t value);
    uint32_t GetType2Value(uint32_t root, const std::wstring& path, const std::wstring& name);
    void SetType2Value(uint32_t root, const std::wstring& path, const std::wstring& name,
                       uint32_t value);
    bool GetBool(uint32_t root, const std::wstring& path, const std::wstring& name);
    void SetBool(uint32_t root, const std::wstring& path, const std::wstring& name, bool value);
    std::wstring GetString(uint32_t root, const std::wstring& path, const std::wstring& name);
    void SetString(uint32_t root, const std::wstring& path, const std::wstring& name,
                   const std::wstring& value);
    void SetType4Value(uint32_t root, const std::wstring& path, const std::wstring& name,
                       const void* data, uint32_t count);
    void SetType4Value64(uint32_t root, const std::wstring& path, const std::wstring& name,
                         const void* data, uint64_t size);

    // Compares the stored type of an existing value with `expected`. The
    // store's own answer to the typed operation that follows decides: a value
    // of another type is not refused here, so that a write can replace it.
    void CheckValueType(uint32_t root, const std::wstring& path, const std::wstring& name,
                        uint32_t expected);

    const SODetails::BasicServiceObjectPtr<>& Service() const { return service; }

private:
    // The service, or ServiceObjectException with `missingCode` without one.
    ServiceObject* _Value(uint32_t missingCode) const;
    // The service after the type check of a typed operation.
    ServiceObject* Checked(uint32_t missingCode, uint32_t root, const std::wstring& path,
                           const std::wstring& name, uint32_t expected);

    SODetails::BasicServiceObjectPtr<> service;
};

} // namespace Settings
