// strpool: process-wide atoms, the sequence hash, and the process-wide
// singleton storage that every module of the process shares.
#pragma once

#include <stdint.h>

#include "service-common/ModuleExport.h"

#ifdef STRPOOL_BUILD
#define STRPOOL_API SO_EXPORT
#else
#define STRPOOL_API SO_IMPORT
#endif

extern "C" {

typedef void (*SingletonConstructor)(void* block);
typedef void (*SingletonDestructor)(void* block);

// The atom of a name: the same name gives the same atom in every module;
// never 0. Returns 0, or 3 for a null argument.
STRPOOL_API uint32_t SLGetAtomFromString(const char* name, uint32_t* atom);

// The name of an atom (the pointer lives as long as the process). Returns 0,
// 3 for a null argument, 8 when no name has that atom.
STRPOOL_API uint32_t SLGetStringFromAtom(uint32_t atom, const char** name);

// 32-bit hash of `length` bytes; the same value in every module.
STRPOOL_API uint32_t CalculateSequenceHash(const char* data, uint32_t length, uint32_t* hash);

// 0 while the singleton storage can be used; 15 once it has been torn down.
STRPOOL_API uint32_t IsSingletonStaticDataStorageAvailable(void);

// 0 and the block; 8 when no block with that id exists yet; 6 when the id is
// rejected (id 0, or a size that differs from the block's); 15 after teardown.
STRPOOL_API uint32_t GetSingletonStaticData(uint32_t id, uint32_t size, void** block);

// Creates the block (zeroed, then the constructor runs on it) unless it
// exists already. 0, 3 for a zero size, 6 for a rejected id, 15 after
// teardown.
STRPOOL_API uint32_t CreateSingletonStaticData(uint32_t id, uint32_t size,
                                               SingletonConstructor constructor,
                                               SingletonDestructor destructor);

// Host side: runs every singleton's destructor, newest first, and marks the
// storage torn down. Also runs by itself when the library is unloaded.
STRPOOL_API void SLTeardownSingletonStaticData(void);
}
