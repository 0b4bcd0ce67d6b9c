// The process-wide storage of each thread's last failure. One instance per
// process, shared by every module through the singleton storage, so its
// layout and id are fixed.
#pragma once

#include <boost/thread/recursive_mutex.hpp>

#include <cstdint>
#include <map>

#include "service-common/ServiceObject.h"
#include "service-common/ServiceObjectException.h"

class ErrorsStorage {
public:
    static constexpr uint32_t kStaticDataId = 0xFFFFFFFFu;

    // The process's instance; created on first use. Throws std::runtime_error
    // when the singleton storage is gone or rejects the id.
    static ErrorsStorage& Instance();
    // Whether recording is possible at all (the singleton storage is up).
    static bool IsAvailable();

    // Replaces the calling thread's record.
    void Record(const ServiceObjectException& record);
    // Fills `info` from the calling thread's record (after resolving its
    // chain) and gives the record's address; 8 when the thread has none.
    uint32_t Describe(ErrorInfo* info, void** record);

private:
    static void Construct(void* block);
    static void Destroy(void* block);

    std::map<uint32_t, ServiceObjectException> records_;
    boost::recursive_mutex mutex_;
};

#if defined(_WIN32)
static_assert(sizeof(ErrorsStorage) == 40, "the error storage block is 40 bytes");
#endif
