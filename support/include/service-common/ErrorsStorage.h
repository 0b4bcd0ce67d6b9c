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
    // The ordered map from thread id to record, in the two words the shared
    // layout gives it (the map's address and its count of records). The
    // standard library's own map object is larger than that with some C++
    // runtimes (48 bytes with GCC's), so the map lives on the heap.
    class RecordMap {
    public:
        using Map = std::map<uint32_t, ServiceObjectException>;
        RecordMap() : map_(new Map) {}
        ~RecordMap() { delete map_; }
        RecordMap(const RecordMap&) = delete;
        RecordMap& operator=(const RecordMap&) = delete;

        // The thread's record, made empty when it has none.
        ServiceObjectException& Of(uint32_t thread);
        ServiceObjectException* Find(uint32_t thread);

    private:
        Map* map_;
        uint64_t count_ = 0;
    };

    static void Construct(void* block);
    static void Destroy(void* block);

    RecordMap records_;
    // On Windows: recursion count, owning thread id, lock word and an event
    // made on first contention (24 bytes, header-only in boost.thread).
    boost::recursive_mutex mutex_;
};

#if defined(_WIN32)
static_assert(sizeof(ErrorsStorage) == 40, "the error storage block is 40 bytes");
#endif
