// "SLSettings": the settings store as a service object. Each operation
// answers 0, or a failure code with a record that says what went wrong.
#include "SettingsService.h"

#include <exception>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "SettingsStore.h"
#include "StoreLocation.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "support-proxy/SettingsInterface.h"

namespace HostSettings {

namespace {

using SODetails::kBadArgument;
using SODetails::kBadRecordSize;
using SODetails::kNotAvailable;
using SODetails::kOk;
using SODetails::kOutOfRange;

const char* const kFile = "host\\settings\\src\\SettingsService.cpp";

// The largest value of bytes the store takes.
constexpr uint64_t kMaxBytes = uint64_t(1) << 30;

uint32_t Failed(uint32_t code, const std::string& message, const char* function, uint32_t line) {
    ReportFailure(ServiceObjectException(code, SLText::ToWide(message), function, kFile, line));
    return code;
}

// Runs an operation's work and turns what it throws into a recorded failure.
template <class Work> uint32_t Answer(const char* function, uint32_t line, Work&& work) {
    try {
        work();
        return kOk;
    } catch (const StoreError& e) {
        return Failed(e.Code(), e.what(), function, line);
    } catch (const std::bad_alloc&) {
        return Failed(kNotAvailable, "out of memory", function, line);
    } catch (const std::exception& e) {
        return Failed(kNotAvailable, e.what(), function, line);
    }
}

std::wstring Text(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

void Require(const void* pointer, const char* what) {
    if (!pointer)
        throw StoreError(kBadArgument, std::string("no ") + what + " was given");
}

const char* TypeWord(uint32_t type) {
    switch (type) {
    case Settings::kValueInt:
        return "an integer";
    case Settings::kValueType2:
        return "a value of the second kind";
    case Settings::kValueString:
        return "text";
    default:
        return "bytes";
    }
}

// The names an enumeration gives; they live as long as the list object.
struct NameList {
    std::vector<std::wstring> names;
};

struct NameListInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<NameListInterface, NameList>;
    static constexpr const char* kName = "SLSettingsNameList";
    static constexpr std::size_t kOperationCount = SettingsListOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<SettingsListOps::GetCount>(ops, &GetCount);
        SODetails::SetOperation<SettingsListOps::GetName>(ops, &GetName);
    }
    static uint32_t GetCount(ServiceObject* self, int32_t* count) {
        return Answer("SLSettingsNameList::GetCount", __LINE__, [&] {
            Require(count, "count");
            *count = static_cast<int32_t>(Object::ImplOf(self).names.size());
        });
    }
    static uint32_t GetName(ServiceObject* self, uint32_t index, const wchar_t** name) {
        return Answer("SLSettingsNameList::GetName", __LINE__, [&] {
            Require(name, "name");
            const std::vector<std::wstring>& names = Object::ImplOf(self).names;
            if (index >= names.size())
                throw StoreError(kOutOfRange, "the list has " + std::to_string(names.size()) +
                                                  " names; there is none at " +
                                                  std::to_string(index));
            *name = names[index].c_str();
        });
    }
};

// The service's state: the store, or why there is none.
struct SettingsService {
    std::unique_ptr<SettingsStore> store;
    std::string problem;

    SettingsService() {
        try {
            store = std::make_unique<SettingsStore>(SettingsStoreFile());
        } catch (const StoreError& e) {
            problem = e.what();
        }
    }
    SettingsStore& Store() {
        if (!store)
            throw StoreError(kNotAvailable, problem);
        return *store;
    }
};

struct SettingsServiceInterface {
    using Object =
        SODetails::ServiceObjectCppTheConcrete<SettingsServiceInterface, SettingsService>;
    static constexpr const char* kName = "SLSettings";
    static constexpr std::size_t kOperationCount = SettingsOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<SettingsOps::IsValueExists>(ops, &ValueExists);
        SODetails::SetOperation<SettingsOps::IsNodeExists>(ops, &NodeExists);
        SODetails::SetOperation<SettingsOps::GetInt>(ops, &ReadInt);
        SODetails::SetOperation<SettingsOps::SetInt>(ops, &WriteInt);
        SODetails::SetOperation<SettingsOps::GetType2Value>(ops, &ReadType2);
        SODetails::SetOperation<SettingsOps::SetType2Value>(ops, &WriteType2);
        SODetails::SetOperation<SettingsOps::GetString>(ops, &ReadString);
        SODetails::SetOperation<SettingsOps::SetString>(ops, &WriteString);
        SODetails::SetOperation<SettingsOps::SetType4Value64>(ops, &WriteBytes64);
        SODetails::SetOperation<SettingsOps::SetType4Value>(ops, &WriteBytes);
        SODetails::SetOperation<SettingsOps::GetValueType>(ops, &ReadType);
        SODetails::SetOperation<SettingsOps::EnumerateChildNodes>(ops, &ListChildNodes);
        SODetails::SetOperation<SettingsOps::EnumerateChildValues>(ops, &ListValues);
        SODetails::SetOperation<SettingsOps::CreateNode>(ops, &MakeNode);
        SODetails::SetOperation<SettingsOps::DeleteNode>(ops, &RemoveNode);
        SODetails::SetOperation<SettingsOps::ClearNode>(ops, &EmptyNode);
        SODetails::SetOperation<SettingsOps::DeleteValue>(ops, &RemoveValue);
    }

    static SettingsStore& Store(ServiceObject* self) { return Object::ImplOf(self).Store(); }

    // The stored value, which must be of `type`.
    static StoredValue ReadTyped(ServiceObject* self, uint32_t root, const wchar_t* path,
                                 const wchar_t* name, uint32_t type) {
        Require(name, "value name");
        StoredValue value = Store(self).Read(root, Text(path), name);
        if (value.type != type)
            throw StoreError(kBadArgument, "the value \"" + SLText::ToNarrow(name) + "\" holds " +
                                               TypeWord(value.type) + ", not " + TypeWord(type));
        return value;
    }

    static void WriteTyped(ServiceObject* self, uint32_t root, const wchar_t* path,
                           const wchar_t* name, StoredValue value) {
        Require(name, "value name");
        Store(self).Write(root, Text(path), name, value);
    }

    static StoredValue Integer(uint32_t type, uint32_t integer) {
        StoredValue value;
        value.type = type;
        value.integer = integer;
        return value;
    }

    static StoredValue Bytes(const void* data, uint64_t size) {
        if (size > kMaxBytes)
            throw StoreError(kBadArgument, "a value of " + std::to_string(size) +
                                               " bytes is more than the store takes");
        if (size > 0)
            Require(data, "data");
        StoredValue value;
        value.type = Settings::kValueType4;
        value.bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(size));
        return value;
    }

    static uint32_t
    Enumerate(const char* function, uint32_t line, ServiceObject** list,
              std::vector<std::wstring> (SettingsStore::*names)(uint32_t, const std::wstring&),
              ServiceObject* self, uint32_t root, const wchar_t* path) {
        return Answer(function, line, [&] {
            Require(list, "list");
            NameList found{(Store(self).*names)(root, Text(path))};
            *list = NameListInterface::Object::New(std::move(found));
        });
    }

    static uint32_t ValueExists(ServiceObject* self, uint32_t root, const wchar_t* path,
                                const wchar_t* name, uint32_t* exists) {
        return Answer("SLSettings::IsValueExists", __LINE__, [&] {
            Require(name, "value name");
            Require(exists, "answer");
            *exists = Store(self).ValueExists(root, Text(path), name) ? 1 : 0;
        });
    }
    static uint32_t NodeExists(ServiceObject* self, uint32_t root, const wchar_t* path,
                               uint32_t* exists) {
        return Answer("SLSettings::IsNodeExists", __LINE__, [&] {
            Require(exists, "answer");
            *exists = Store(self).NodeExists(root, Text(path)) ? 1 : 0;
        });
    }
    static uint32_t ReadInt(ServiceObject* self, uint32_t root, const wchar_t* path,
                            const wchar_t* name, uint32_t* value) {
        return Answer("SLSettings::GetInt", __LINE__, [&] {
            Require(value, "answer");
            *value = ReadTyped(self, root, path, name, Settings::kValueInt).integer;
        });
    }
    static uint32_t WriteInt(ServiceObject* self, uint32_t root, const wchar_t* path,
                             const wchar_t* name, uint32_t value) {
        return Answer("SLSettings::SetInt", __LINE__, [&] {
            WriteTyped(self, root, path, name, Integer(Settings::kValueInt, value));
        });
    }
    static uint32_t ReadType2(ServiceObject* self, uint32_t root, const wchar_t* path,
                              const wchar_t* name, uint32_t* value) {
        return Answer("SLSettings::GetType2Value", __LINE__, [&] {
            Require(value, "answer");
            *value = ReadTyped(self, root, path, name, Settings::kValueType2).integer;
        });
    }
    static uint32_t WriteType2(ServiceObject* self, uint32_t root, const wchar_t* path,
                               const wchar_t* name, uint32_t value) {
        return Answer("SLSettings::SetType2Value", __LINE__, [&] {
            WriteTyped(self, root, path, name, Integer(Settings::kValueType2, value));
        });
    }
    static uint32_t ReadString(ServiceObject* self, uint32_t root, const wchar_t* path,
                               const wchar_t* name, wchar_t* buffer, uint32_t* length) {
        return Answer("SLSettings::GetString", __LINE__, [&] {
            Require(length, "length");
            const std::wstring text =
                ReadTyped(self, root, path, name, Settings::kValueString).text;
            const uint32_t needed = static_cast<uint32_t>(text.size());
            if (buffer && *length < needed) {
                *length = needed;
                throw StoreError(kBadRecordSize, "the text of \"" + SLText::ToNarrow(name) +
                                                     "\" is longer than the buffer");
            }
            if (buffer)
                text.copy(buffer, needed);
            *length = needed;
        });
    }
    static uint32_t WriteString(ServiceObject* self, uint32_t root, const wchar_t* path,
                                const wchar_t* name, const wchar_t* text, uint32_t length) {
        return Answer("SLSettings::SetString", __LINE__, [&] {
            if (length > 0)
                Require(text, "text");
            StoredValue value;
            value.type = Settings::kValueString;
            value.text.assign(text ? text : L"", length);
            WriteTyped(self, root, path, name, std::move(value));
        });
    }
    static uint32_t WriteBytes64(ServiceObject* self, uint32_t root, const wchar_t* path,
                                 const wchar_t* name, const void* data, uint64_t size) {
        return Answer("SLSettings::SetType4Value64", __LINE__,
                      [&] { WriteTyped(self, root, path, name, Bytes(data, size)); });
    }
    static uint32_t WriteBytes(ServiceObject* self, uint32_t root, const wchar_t* path,
                               const wchar_t* name, const void* data, uint32_t count) {
        return Answer("SLSettings::SetType4Value", __LINE__,
                      [&] { WriteTyped(self, root, path, name, Bytes(data, count)); });
    }
    static uint32_t ReadType(ServiceObject* self, uint32_t root, const wchar_t* path,
                             const wchar_t* name, uint32_t* type) {
        return Answer("SLSettings::GetValueType", __LINE__, [&] {
            Require(name, "value name");
            Require(type, "answer");
            *type = Store(self).Read(root, Text(path), name).type;
        });
    }
    static uint32_t ListChildNodes(ServiceObject* self, uint32_t root, const wchar_t* path,
                                   ServiceObject** list) {
        return Enumerate("SLSettings::EnumerateChildNodes", __LINE__, list,
                         &SettingsStore::ChildNodes, self, root, path);
    }
    static uint32_t ListValues(ServiceObject* self, uint32_t root, const wchar_t* path,
                               ServiceObject** list) {
        return Enumerate("SLSettings::EnumerateChildValues", __LINE__, list,
                         &SettingsStore::ValueNames, self, root, path);
    }
    static uint32_t MakeNode(ServiceObject* self, uint32_t root, const wchar_t* path) {
        return Answer("SLSettings::CreateNode", __LINE__,
                      [&] { Store(self).CreateNode(root, Text(path)); });
    }
    static uint32_t RemoveNode(ServiceObject* self, uint32_t root, const wchar_t* path) {
        return Answer("SLSettings::DeleteNode", __LINE__,
                      [&] { Store(self).DeleteNode(root, Text(path)); });
    }
    static uint32_t EmptyNode(ServiceObject* self, uint32_t root, const wchar_t* path) {
        return Answer("SLSettings::ClearNode", __LINE__,
                      [&] { Store(self).ClearNode(root, Text(path)); });
    }
    static uint32_t RemoveValue(ServiceObject* self, uint32_t root, const wchar_t* path,
                                const wchar_t* name) {
        return Answer("SLSettings::DeleteValue", __LINE__, [&] {
            Require(name, "value name");
            Store(self).DeleteValue(root, Text(path), name);
        });
    }
};

} // namespace

SODetails::BasicServiceObjectPtr<> SettingsServiceInstance() {
    // One store per process, whichever name the service was asked by.
    static const SODetails::BasicServiceObjectPtr<> instance =
        SODetails::BasicServiceObjectPtr<>::Adopt(SettingsServiceInterface::Object::New());
    return instance;
}

} // namespace HostSettings
