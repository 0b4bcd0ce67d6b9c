// The flat records the plug-in exchanges with the host.
#pragma once

#include <cstddef>
#include <cstdint>

struct ServiceObject;

constexpr uint32_t kPluginInterfaceVersion = 0x01000001u;

// Read by PluginMain (24 bytes; the rest belongs to the host).
struct PluginHostInfo {
    uint32_t size;
    uint32_t reserved0;
    uint32_t interfaceVersion;
    uint32_t reserved1;
    uint64_t reserved2;
};

// Written by PluginMain (24 bytes).
struct PluginEntryInfo {
    uint32_t size;
    uint32_t kind;
    uint32_t version;
    uint32_t interfaceVersion;
    uint32_t (*initialize)(const struct PluginInitParams* params);
};

// The plug-in's display texts (32 bytes).
struct PluginInfo {
    uint32_t size;
    const wchar_t* name;
    const wchar_t* description;
    const wchar_t* legalNotice;
};

// What GetHostApi returns by value (24 bytes); only the first is used. The
// plug-in asks GetHandlerObject for objects of kind kHandlerObjectKind only.
constexpr uint32_t kHandlerObjectKind = 3;
struct HostApi {
    uint32_t (*GetHandlerObject)(uint32_t cookie, uint32_t kind, uint32_t id, ServiceObject** out,
                                 uint32_t slot);
    void* reserved1;
    void* reserved2;
};

using PluginOperation = uint32_t (*)();

// Filled by PluginInitialize (64 bytes).
struct PluginInterface {
    uint32_t size;
    const PluginInfo* info;
    PluginOperation checkAlive0;
    PluginOperation checkAlive1;
    PluginOperation registerObjects;
    PluginOperation unregisterObjects;
    PluginOperation checkAlive2;
    PluginOperation destroyInstance;
};

// Read by PluginInitialize (48 bytes).
struct PluginInitParams {
    uint32_t size;
    uint32_t reserved0[3];
    uint32_t cookie;
    uint32_t reserved1;
    HostApi (*GetHostApi)(uint32_t cookie);
    uint32_t (*GetNameId)(uint32_t cookie, const char* handlerName, uint32_t* id);
    PluginInterface* pluginInterface;
};

static_assert(sizeof(PluginHostInfo) == 24 && offsetof(PluginHostInfo, interfaceVersion) == 8,
              "PluginHostInfo layout");
static_assert(sizeof(PluginEntryInfo) == 24 && offsetof(PluginEntryInfo, initialize) == 16,
              "PluginEntryInfo layout");
static_assert(sizeof(PluginInfo) == 32 && offsetof(PluginInfo, name) == 8 &&
                  offsetof(PluginInfo, legalNotice) == 24,
              "PluginInfo layout");
static_assert(sizeof(HostApi) == 24, "HostApi is three pointers");
static_assert(sizeof(PluginInterface) == 64 && offsetof(PluginInterface, info) == 8 &&
                  offsetof(PluginInterface, checkAlive0) == 16 &&
                  offsetof(PluginInterface, registerObjects) == 32 &&
                  offsetof(PluginInterface, destroyInstance) == 56,
              "PluginInterface layout");
static_assert(sizeof(PluginInitParams) == 48 && offsetof(PluginInitParams, cookie) == 16 &&
                  offsetof(PluginInitParams, GetHostApi) == 24 &&
                  offsetof(PluginInitParams, GetNameId) == 32 &&
                  offsetof(PluginInitParams, pluginInterface) == 40,
              "PluginInitParams layout");

extern "C" {
uint32_t PluginMain(const PluginHostInfo* in, PluginEntryInfo* out);
uint32_t PluginInitialize(const PluginInitParams* params);
}
