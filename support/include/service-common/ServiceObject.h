// The flat, fixed-layout service object through which the host and its
// modules talk. Modules built separately share nothing but this layout.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

struct ServiceObject;

namespace SODetails {

// A four-character tag as it lies in memory ("EOFT" reads E, O, F, T).
constexpr uint32_t FourCC(const char (&text)[5]) {
    return static_cast<uint32_t>(static_cast<unsigned char>(text[0])) |
           static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

// An interface operation as it sits in a table; cast to its real type to call.
using Operation = void (*)();

} // namespace SODetails

struct WeakRef;

// What GetErrorInfo fills (32 bytes). The pointers point into the calling
// thread's record in the error storage.
struct ErrorInfo {
    uint32_t code;
    uint32_t line;
    const wchar_t* message;
    const char* function;
    const char* file;
};

struct CommonServiceObjectOperations {
    uint32_t (*AddRef)(ServiceObject* self);
    uint32_t (*Release)(ServiceObject* self);
    uint32_t (*GetRefCount)(ServiceObject* self);
    uint32_t (*GetWeakRef)(ServiceObject* self, WeakRef** out);
    uint32_t (*GetErrorInfo)(ServiceObject* self, ErrorInfo* info, void** record);
};

// The header every service object starts with. The interface operations
// follow it directly: interfaceTableSize bytes, 8 per operation.
struct ServiceObject {
    uint32_t interfaceId;         // CalculateSequenceHash of the interface name
    uint32_t interfaceTableSize;  // bytes of interface operations that follow
    const char* interfaceName;
    CommonServiceObjectOperations common;
};

// A header followed by an interface table of N operations.
template <std::size_t N>
struct ServiceObjectTable {
    ServiceObject header;
    SODetails::Operation operations[N];
};

// The weak reference block (64 bytes).
struct WeakRef {
    uint32_t (*AddRef)(WeakRef* self);
    uint32_t (*Release)(WeakRef* self);
    uint32_t (*GetRefCount)(WeakRef* self);
    uint32_t (*IsAlive)(WeakRef* self);
    ServiceObject* (*Lock)(WeakRef* self);  // a new reference, or null
    std::atomic<uint32_t> count;
    std::atomic<ServiceObject*> object;
    std::atomic<uint32_t> lockWord;
};

namespace SODetails {
constexpr std::size_t kInterfaceTableOffset = 56;
}

static_assert(sizeof(ErrorInfo) == 32, "ErrorInfo is 32 bytes");
static_assert(offsetof(ErrorInfo, message) == 8 && offsetof(ErrorInfo, file) == 24,
              "ErrorInfo layout");
static_assert(sizeof(ServiceObject) == SODetails::kInterfaceTableOffset,
              "interface operations start at byte 56");
static_assert(offsetof(ServiceObject, interfaceTableSize) == 4, "table size at 4");
static_assert(offsetof(ServiceObject, interfaceName) == 8, "interface name at 8");
static_assert(offsetof(ServiceObject, common) == 16, "common operations at 16");
static_assert(offsetof(ServiceObjectTable<1>, operations) == SODetails::kInterfaceTableOffset,
              "the table follows the header");
static_assert(sizeof(WeakRef) == 64, "WeakRef is 64 bytes");
static_assert(offsetof(WeakRef, count) == 40 && offsetof(WeakRef, object) == 48 &&
                  offsetof(WeakRef, lockWord) == 56,
              "WeakRef layout");
