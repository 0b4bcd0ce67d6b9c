#include "uiengine/Dispatcher.h"

#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "service-common/OperationReport.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "ui-engine/UIDispatcher.h"

namespace UIEngine {

namespace {

using SODetails::kBadArgument;
using SODetails::kNotAvailable;
using SODetails::kOk;

// A block handed out by AllocateBlock: zero-filled memory and the callback
// that destroys what its user put into it. Destroying the Block runs that
// callback, then frees the memory.
class Block {
public:
    Block(uint64_t size, UIDispatcherBlockCallback destructor)
        : memory_(::operator new(static_cast<std::size_t>(size))), destructor_(destructor) {
        std::memset(memory_, 0, static_cast<std::size_t>(size));
    }
    ~Block() {
        if (destructor_)
            destructor_(memory_);
        ::operator delete(memory_);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    void* Memory() const { return memory_; }

private:
    void* memory_;
    UIDispatcherBlockCallback destructor_;
};

struct Dispatcher {
    explicit Dispatcher(std::shared_ptr<UIThread> thread) : thread(std::move(thread)) {}

    std::shared_ptr<UIThread> thread;
    std::mutex mutex;
    std::map<uint64_t, std::unique_ptr<Block>> unposted;
    uint64_t nextHandle = 1;
};

struct DispatcherInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<DispatcherInterface, Dispatcher>;
    static constexpr const char* kName = "UIDispatcher";
    static constexpr std::size_t kOperationCount = UIDispatcherOps::kOperationCount;
    // Failure records name the declarations in the header of the table.
    static constexpr const char* kFile = "app\\include\\ui-engine\\uidispatcher";

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<UIDispatcherOps::MustHandOver>(ops, &MustHandOver);
        SODetails::SetOperation<UIDispatcherOps::AllocateBlock>(ops, &AllocateBlock);
        SODetails::SetOperation<UIDispatcherOps::Post>(ops, &Post);
    }

    static uint32_t Report(uint32_t code, const wchar_t* operation, const char* signature,
                           uint32_t line) {
        return SODetails::Reported(code, L"UIDispatcher", operation, signature, kFile, line);
    }

    static uint32_t MustHandOver(ServiceObject* self, uint32_t* mustHandOver) {
        uint32_t code = kBadArgument;
        if (mustHandOver) {
            *mustHandOver = Object::ImplOf(self).thread->IsCurrent() ? 0 : 1;
            code = kOk;
        }
        return Report(code, L"MustHandOver", "uint32_t UIDispatcher::MustHandOver(uint32_t *)", 32);
    }

    static uint32_t AllocateBlock(ServiceObject* self, uint64_t size,
                                  UIDispatcherBlockCallback destructor, uint64_t* handle,
                                  void** block) {
        uint32_t code = kBadArgument;
        if (handle && block && size > 0 && size <= UIDispatcherOps::kMaxBlockSize) {
            Dispatcher& d = Object::ImplOf(self);
            auto owned = std::make_unique<Block>(size, destructor);
            std::lock_guard<std::mutex> lock(d.mutex);
            *handle = d.nextHandle++;
            *block = owned->Memory();
            d.unposted.emplace(*handle, std::move(owned));
            code = kOk;
        }
        return Report(code, L"AllocateBlock",
                      "uint32_t UIDispatcher::AllocateBlock(uint64_t,UIDispatcherBlockCallback,"
                      "uint64_t *,void **)",
                      37);
    }

    static uint32_t Post(ServiceObject* self, UIDispatcherBlockCallback invoker, uint64_t handle) {
        Dispatcher& d = Object::ImplOf(self);
        std::unique_ptr<Block> block;
        {
            std::lock_guard<std::mutex> lock(d.mutex);
            auto it = d.unposted.find(handle);
            if (it != d.unposted.end() && invoker) {
                block = std::move(it->second);
                d.unposted.erase(it);
            }
        }
        uint32_t code = kBadArgument;
        if (block) {
            // The task owns the block: run, then destroyed, or destroyed unrun
            // when the thread refuses it.
            bool posted =
                d.thread->Post([block = std::move(block), invoker] { invoker(block->Memory()); });
            code = posted ? kOk : kNotAvailable;
        }
        return Report(code, L"Post",
                      "uint32_t UIDispatcher::Post(UIDispatcherBlockCallback,uint64_t)", 44);
    }
};

} // namespace

SODetails::BasicServiceObjectPtr<> CreateDispatcher(std::shared_ptr<UIThread> thread) {
    if (!thread)
        throw std::invalid_argument("a dispatcher needs a UI thread");
    return SODetails::BasicServiceObjectPtr<>::Adopt(
        DispatcherInterface::Object::New(std::move(thread)));
}

} // namespace UIEngine
