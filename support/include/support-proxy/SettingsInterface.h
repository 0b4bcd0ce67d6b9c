// The host's settings store as every module calls it: the "SLSettings"
// service, the list objects its enumerations hand out, and the store's value
// types. The host's service fills these slots; the proxy calls them.
//
// Every string is NUL-terminated wide text. `root` is the id of a store
// root; `path` names a node by its keys joined with backslashes; `name` is a
// value inside that node.
#pragma once

#include <cstddef>
#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace Settings {

// The type a stored value has, as the service reports it.
enum ValueType : uint32_t {
    kValueInt = 1,    // 32-bit integer (bools are stored as 0 or 1)
    kValueType2 = 2,  // 32-bit value of a second kind
    kValueString = 3, // wide text
    kValueType4 = 4,  // bytes written from a pointer and a count
};

// The store root that holds the user's settings.
constexpr uint32_t kUserSettingsRoot = 1;

// The fixed atom under which the host gives the settings service for typed
// values (the same service as "SLSettings").
constexpr uint32_t kTypedSettingsAtom = 15;

} // namespace Settings

namespace SettingsOps {
using SODetails::OperationSlot;

using IsValueExists = OperationSlot<0, uint32_t(uint32_t root, const wchar_t* path,
                                                const wchar_t* name, uint32_t* exists)>;
using IsNodeExists =
    OperationSlot<8, uint32_t(uint32_t root, const wchar_t* path, uint32_t* exists)>;
using GetInt = OperationSlot<16, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name,
                                          uint32_t* value)>;
using SetInt = OperationSlot<24, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name,
                                          uint32_t value)>;
using GetType2Value = OperationSlot<32, uint32_t(uint32_t root, const wchar_t* path,
                                                 const wchar_t* name, uint32_t* value)>;
using SetType2Value = OperationSlot<40, uint32_t(uint32_t root, const wchar_t* path,
                                                 const wchar_t* name, uint32_t value)>;
// With a null buffer, *length receives the text's length in characters (no
// terminator); with a buffer of *length characters, the text is copied into
// it without a terminator.
using GetString =
    OperationSlot<64, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name,
                               wchar_t* buffer, uint32_t* length)>;
using SetString =
    OperationSlot<72, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name,
                               const wchar_t* text, uint32_t length)>;
using SetType4Value64 =
    OperationSlot<80, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name,
                               const void* data, uint64_t size)>;
using SetType4Value =
    OperationSlot<88, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name,
                               const void* data, uint32_t count)>;
using GetValueType = OperationSlot<96, uint32_t(uint32_t root, const wchar_t* path,
                                                const wchar_t* name, uint32_t* type)>;
// The list objects come with one reference for the caller.
using EnumerateChildNodes =
    OperationSlot<104, uint32_t(uint32_t root, const wchar_t* path, ServiceObject** list)>;
using EnumerateChildValues =
    OperationSlot<112, uint32_t(uint32_t root, const wchar_t* path, ServiceObject** list)>;
using CreateNode = OperationSlot<120, uint32_t(uint32_t root, const wchar_t* path)>;
using DeleteNode = OperationSlot<128, uint32_t(uint32_t root, const wchar_t* path)>;
using ClearNode = OperationSlot<136, uint32_t(uint32_t root, const wchar_t* path)>;
using DeleteValue =
    OperationSlot<144, uint32_t(uint32_t root, const wchar_t* path, const wchar_t* name)>;

constexpr std::size_t kOperationCount = 152 / 8;
} // namespace SettingsOps

// A list of names handed out by an enumeration. The names live as long as
// the list object.
namespace SettingsListOps {
using GetCount = SODetails::OperationSlot<0, uint32_t(int32_t* count)>;
using GetName = SODetails::OperationSlot<8, uint32_t(uint32_t index, const wchar_t** name)>;

constexpr std::size_t kOperationCount = 2;
} // namespace SettingsListOps
