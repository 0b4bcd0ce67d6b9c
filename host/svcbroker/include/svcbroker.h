// svcbroker: the service provider. Finds and creates service objects by atom.
//
// Services come from three places, asked in this order:
//   1. services the host registers in its own process (ServiceProviderRegHostService);
//   2. services registered with ServiceProviderRegService, made by loading a
//      module by path and calling its CreateServiceObject;
//   3. the manifests beside this library (every "*.manifest" file, such as
//      "svcbroker.manifest", in name order), read on first use, which name the
//      module that makes each of the host's own services.
#pragma once

#include <stdint.h>

#include "service-common/ModuleExport.h"

#ifdef SVCBROKER_BUILD
#define SVCBROKER_API SO_EXPORT
#else
#define SVCBROKER_API SO_IMPORT
#endif

struct ServiceObject;

// Provider results.
enum : uint32_t {
    kSPServiceNotSupportedByModule = 0x10005,  // the module does not make that object
    kSPFactoryFailed = 0x10006,                // the module's factory made nothing
    kSPNoPublicObjects = 0x10007,              // the module publishes nothing
    kSPServiceNotSupported = 0x10008,          // the provider knows no such service
    kSPModuleNotFound = 0x10009,               // the module could not be loaded
    kSPFactoryFunctionNotFound = 0x1000A,      // the module has no CreateServiceObject
};

// One entry of the table that a module's ReflectServiceObjectInfo hands out:
// the object's atom (all ones while the module has not resolved it) and its
// name. The table ends with an all-zero entry.
struct ServiceObjectInfo {
    uint32_t atom;
    uint32_t reserved; // no defined content, except 0 in the terminating entry
    const char* name;
};
static_assert(sizeof(ServiceObjectInfo) == 16, "ServiceObjectInfo is 16 bytes");

extern "C" {

// The entries of a module that makes service objects.
typedef uint32_t (*CreateServiceObjectFn)(uint32_t atom, ServiceObject** out);
typedef uint32_t (*ReflectServiceObjectInfoFn)(const ServiceObjectInfo** table, uint32_t* count);
typedef uint32_t (*HostServiceFactory)(void* context, ServiceObject** out);

// On success *out carries a reference for the caller. *systemError receives
// the system error code behind a failure, or 0.
SVCBROKER_API uint32_t ServiceProviderGetServiceObject(uint32_t atom, ServiceObject** out,
                                                       uint32_t* systemError);

// Registers the service `name`, made by the module at `modulePath` (a host
// path such as "plugins\x.dll", relative to the host's folder) through
// CreateServiceObject with the atom of `objectName`. `instancing` is
// "single" (one object, shared) or "multiple" (a new object per request).
SVCBROKER_API uint32_t ServiceProviderRegService(const char* name, const char* objectName,
                                                 const char* modulePath, const char* instancing,
                                                 uint32_t flags);
SVCBROKER_API uint32_t ServiceProviderUnregService(const char* name, const char* objectName,
                                                   const char* modulePath,
                                                   const char* instancing);

// Host side: a service made in process by a factory function.
SVCBROKER_API uint32_t ServiceProviderRegHostService(const char* name, HostServiceFactory factory,
                                                     void* context, const char* instancing);
SVCBROKER_API uint32_t ServiceProviderUnregHostService(const char* name);

// Host side: the folder that module paths are relative to. Defaults to the
// parent of the folder that holds this library.
SVCBROKER_API uint32_t ServiceProviderSetHostFolder(const char* path);
SVCBROKER_API const char* ServiceProviderGetHostFolder(void);

// Host side: releases every shared ("single") object the provider holds.
SVCBROKER_API void ServiceProviderReleaseInstances(void);
}
