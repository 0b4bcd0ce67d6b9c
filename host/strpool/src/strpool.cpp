// strpool: atoms, the sequence hash and the process-wide singleton storage.
#include "strpool.h"

#include "service-common/ResultCodes.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace {

using SODetails::kBadArgument;
using SODetails::kNotFound;
using SODetails::kOk;
using SODetails::kSingletonRejected;
using SODetails::kStorageTornDown;

// ---------------------------------------------------------------------------
// Atoms

// Service identifiers that callers use as fixed numbers. Their atoms are
// reserved from the start, and every other name is numbered above them, so
// that no name can ever take one of these numbers by accident.
struct SeededAtom {
    uint32_t atom;
    const char* name;
};
constexpr SeededAtom kSeededAtoms[] = {
    {1, "BLService"},
    {5, "GraphicsFactory"},
    {15, "SLTypedSettings"},
};
constexpr uint32_t kFirstFreeAtom = 16;

class AtomTable {
public:
    AtomTable() {
        for (const SeededAtom& seed : kSeededAtoms)
            Insert(seed.name, seed.atom);
    }

    uint32_t AtomOf(const char* name) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = atoms_.find(name);
        if (found != atoms_.end())
            return found->second;
        return Insert(name, next_++);
    }

    const char* NameOf(uint32_t atom) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = names_.find(atom);
        return found == names_.end() ? nullptr : found->second;
    }

private:
    uint32_t Insert(const char* name, uint32_t atom) {
        // The deque never moves its elements, so the text stays where it is
        // for as long as the table lives (which is the whole process).
        const std::string& stored = texts_.emplace_back(name);
        atoms_.emplace(stored, atom);
        names_.emplace(atom, stored.c_str());
        return atom;
    }

    std::mutex mutex_;
    std::deque<std::string> texts_;
    std::unordered_map<std::string, uint32_t> atoms_;
    std::unordered_map<uint32_t, const char*> names_;
    uint32_t next_ = kFirstFreeAtom;
};

// Never destroyed: modules may still ask for atoms from their own exit
// routines, after this library's statics are gone.
AtomTable& Atoms() {
    static AtomTable* table = new AtomTable;
    return *table;
}

// ---------------------------------------------------------------------------
// Singleton storage

struct Block {
    void* data = nullptr;
    uint32_t size = 0;
    SingletonDestructor destructor = nullptr;
    uint64_t serial = 0;       // creation order
    bool constructing = false; // the creator's constructor is still running
    std::thread::id creator;
};

class SingletonStorage {
public:
    uint32_t Available() {
        std::lock_guard<std::mutex> lock(mutex_);
        return state_ == State::TornDown ? kStorageTornDown : kOk;
    }

    uint32_t Get(uint32_t id, uint32_t size, void** block) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (state_ == State::TornDown)
            return kStorageTornDown;
        if (!block)
            return kBadArgument;
        if (id == 0)
            return kSingletonRejected;
        auto found = WaitUntilBuilt(lock, id);
        if (found == blocks_.end())
            // While the storage is being torn down, a block that is gone has
            // been destroyed and is not created again.
            return state_ == State::Live ? kNotFound : kStorageTornDown;
        if (found->second.size != size)
            return kSingletonRejected;
        *block = found->second.data;
        return kOk;
    }

    uint32_t Create(uint32_t id, uint32_t size, SingletonConstructor constructor,
                    SingletonDestructor destructor) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (state_ != State::Live)
            return kStorageTornDown;
        if (id == 0)
            return kSingletonRejected;
        if (size == 0)
            return kBadArgument;
        auto found = WaitUntilBuilt(lock, id);
        if (state_ != State::Live)
            return kStorageTornDown;
        if (found != blocks_.end())
            return found->second.size == size ? kOk : kSingletonRejected;

        void* data = std::calloc(1, size);
        if (!data)
            throw std::bad_alloc();
        Block& created = blocks_[id];
        created.data = data;
        created.size = size;
        created.destructor = destructor;
        created.serial = nextSerial_++;
        created.constructing = true;
        created.creator = std::this_thread::get_id();

        // The constructor runs without the lock: it may well ask for other
        // singletons or atoms. Other threads asking for this id wait for it.
        lock.unlock();
        try {
            if (constructor)
                constructor(data);
        } catch (...) {
            lock.lock();
            blocks_.erase(id);
            std::free(data);
            built_.notify_all();
            throw;
        }
        lock.lock();
        blocks_[id].constructing = false;
        built_.notify_all();
        return kOk;
    }

    // Destroys the blocks newest first. Each destructor runs without the
    // lock, so it may still reach the older blocks, which are alive until
    // their own turn; blocks already destroyed answer 15.
    void Teardown() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (state_ != State::Live)
            return;
        state_ = State::TearingDown;
        built_.wait(lock, [this] { return !AnyBuiltElsewhere(); });
        while (!blocks_.empty()) {
            auto newest = blocks_.begin();
            for (auto it = blocks_.begin(); it != blocks_.end(); ++it)
                if (it->second.serial > newest->second.serial)
                    newest = it;
            Block victim = newest->second;
            blocks_.erase(newest);
            lock.unlock();
            if (victim.destructor)
                victim.destructor(victim.data);
            std::free(victim.data);
            lock.lock();
        }
        state_ = State::TornDown;
    }

private:
    enum class State { Live, TearingDown, TornDown };

    // Finds the block, first waiting while another thread is still
    // constructing it. The constructing thread itself gets the block at once.
    std::map<uint32_t, Block>::iterator WaitUntilBuilt(std::unique_lock<std::mutex>& lock,
                                                       uint32_t id) {
        const std::thread::id self = std::this_thread::get_id();
        built_.wait(lock, [&] {
            auto it = blocks_.find(id);
            return it == blocks_.end() || !it->second.constructing || it->second.creator == self;
        });
        return blocks_.find(id);
    }

    bool AnyBuiltElsewhere() const {
        const std::thread::id self = std::this_thread::get_id();
        for (const auto& entry : blocks_)
            if (entry.second.constructing && entry.second.creator != self)
                return true;
        return false;
    }

    std::mutex mutex_;
    std::condition_variable built_;
    std::map<uint32_t, Block> blocks_;
    uint64_t nextSerial_ = 0;
    State state_ = State::Live;
};

SingletonStorage& Singletons() {
    static SingletonStorage* storage = new SingletonStorage;
    return *storage;
}

// When the host never tears the storage down itself, the destructors still
// run when this library goes away.
struct TeardownAtUnload {
    ~TeardownAtUnload() { Singletons().Teardown(); }
} teardownAtUnload;

// FNV-1a, 32 bits (offset basis 2166136261, prime 16777619).
uint32_t Fnv1a32(const unsigned char* data, uint32_t length) {
    uint32_t hash = 2166136261u;
    for (uint32_t i = 0; i < length; ++i) {
        hash ^= data[i];
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

extern "C" {

uint32_t SLGetAtomFromString(const char* name, uint32_t* atom) {
    if (!name || !atom)
        return kBadArgument;
    *atom = Atoms().AtomOf(name);
    return kOk;
}

uint32_t SLGetStringFromAtom(uint32_t atom, const char** name) {
    if (!name)
        return kBadArgument;
    const char* found = Atoms().NameOf(atom);
    if (!found)
        return kNotFound;
    *name = found;
    return kOk;
}

uint32_t CalculateSequenceHash(const char* data, uint32_t length, uint32_t* hash) {
    if (!hash || (!data && length != 0))
        return kBadArgument;
    *hash = Fnv1a32(reinterpret_cast<const unsigned char*>(data), length);
    return kOk;
}

uint32_t IsSingletonStaticDataStorageAvailable(void) {
    return Singletons().Available();
}

uint32_t GetSingletonStaticData(uint32_t id, uint32_t size, void** block) {
    return Singletons().Get(id, size, block);
}

uint32_t CreateSingletonStaticData(uint32_t id, uint32_t size, SingletonConstructor constructor,
                                   SingletonDestructor destructor) {
    return Singletons().Create(id, size, constructor, destructor);
}

void SLTeardownSingletonStaticData(void) {
    Singletons().Teardown();
}

} // extern "C"
