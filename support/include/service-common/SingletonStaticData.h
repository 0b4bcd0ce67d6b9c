// Access to the process-wide singleton blocks that strpool keeps for every
// module of the process.
#pragma once

#include <atomic>
#include <cstdint>

namespace SODetails {

struct SingletonDescriptor {
    uint32_t id;
    uint32_t size;
    void (*constructor)(void* block);
    void (*destructor)(void* block);
    // This module's cached address of the block; the destructor clears it.
    std::atomic<void*>* cache;
    const char* destroyedText;  // the storage is gone
    const char* badIdText;      // the storage rejects the id
    const char* missingText;    // no block after all; null: return what the cache holds
};

// Finds the block, creating it on first use. Throws std::runtime_error with
// the descriptor's texts.
void* AcquireSingletonStaticData(const SingletonDescriptor& descriptor);

// The texts every singleton but the error storage uses.
extern const char* const kSingletonDestroyedText;
extern const char* const kSingletonBadIdText;
extern const char* const kSingletonMissingText;

} // namespace SODetails
