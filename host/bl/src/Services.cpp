// "BLService" with its input-handler registry and cursor, "BLAuthor", and
// the service-module entry through which the provider makes them.
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

#include "Objects.h"
#include "Services.h"
#include "bl/BLInputHandler.h"
#include "bl/BLService.h"
#include "platform/Platform.h"
#include "service-common/NamedServiceFactory.h"
#include "service-common/TextConversion.h"
#include "svcbroker.h"

namespace HostBLImpl {

namespace {

std::atomic<uint32_t> gLastCursor{0};

// ---------------------------------------------------------------------------
// The input-handler registry

struct RegistryImpl {
    std::mutex mutex;
    std::map<SLAtom, ObjectPtr> factories;
};

struct RegistryInterface {
    using Impl = RegistryImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<RegistryInterface, RegistryImpl>;
    static constexpr const char* kName = "BLInputHandlerRegistry";
    static constexpr const wchar_t* kWideName = L"BLInputHandlerRegistry";
    static constexpr std::size_t kOperationCount = BLInputHandlerRegistryOps::kOperationCount;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLInputHandlerRegistryOps::Register>(ops, &Register);
        SODetails::SetOperation<BLInputHandlerRegistryOps::CreateToolHandler>(ops,
                                                                              &CreateToolHandler);
    }

    // A second registration under the same atom replaces the first.
    static uint32_t Register(ServiceObject* self, SLAtom tool, ServiceObject* factory) {
        if (tool == 0 || !factory)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"Register");
        RegistryImpl& registry = Object::ImplOf(self);
        ObjectPtr replaced;
        std::lock_guard<std::mutex> lock(registry.mutex);
        ObjectPtr& slot = registry.factories[tool];
        replaced = std::move(slot);
        slot = ObjectPtr::Share(factory);
        return kOk;
    }

    static uint32_t CreateToolHandler(ServiceObject* self, SLAtom tool, ServiceObject** handler) {
        if (!handler)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"CreateToolHandler");
        ObjectPtr factory;
        {
            RegistryImpl& registry = Object::ImplOf(self);
            std::lock_guard<std::mutex> lock(registry.mutex);
            auto it = registry.factories.find(tool);
            if (it != registry.factories.end())
                factory = it->second;
        }
        if (!factory)
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"CreateToolHandler");
        // The factory's own failure is recorded by the factory.
        ObjectPtr made;
        std::optional<uint32_t> code =
            SODetails::TryCall<BLInputHandlerFactoryOps::CreateInputHandler>(factory.get(),
                                                                             made.Receive());
        if (!code || (*code == kOk && !made))
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"CreateToolHandler");
        if (*code != kOk)
            return *code;
        *handler = made.Detach();
        return kOk;
    }
};

// ---------------------------------------------------------------------------
// The cursor

struct CursorImpl {
    std::atomic<uint32_t> last{0};
};

struct CursorInterface {
    using Impl = CursorImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<CursorInterface, CursorImpl>;
    static constexpr const char* kName = "BLCursor";
    static constexpr std::size_t kOperationCount = 1;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLCursorOps::SetCursor>(ops, &SetCursor);
    }
    static uint32_t SetCursor(ServiceObject* self, uint32_t cursor) {
        Object::ImplOf(self).last = cursor;
        gLastCursor = cursor;
        return kOk;
    }
};

// ---------------------------------------------------------------------------
// "BLService"

// The registry starts with the host's own tools.
struct ServiceImpl {
    ServiceImpl() {
        const ObjectPtr textCopy = ObjectPtr::Adopt(NewTextCopyToolFactory());
        RegistryInterface::Register(registry.get(), AtomOf(HostBL::kTextCopyTool), textCopy.get());
    }
    ObjectPtr registry = ObjectPtr::Adopt(RegistryInterface::Object::New());
    ObjectPtr cursor = ObjectPtr::Adopt(CursorInterface::Object::New());
};

struct ServiceInterface {
    using Impl = ServiceImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<ServiceInterface, ServiceImpl>;
    static constexpr const char* kName = "BLService";
    static constexpr const wchar_t* kWideName = L"BLService";
    static constexpr std::size_t kOperationCount = BLServiceOps::kOperationCount;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLServiceOps::GetInputHandlerRegistry>(ops, &GetRegistry);
        SODetails::SetOperation<BLServiceOps::GetCursor>(ops, &GetCursor);
    }
    static uint32_t GetRegistry(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetInputHandlerRegistry");
        *out = ObjectPtr(Object::ImplOf(self).registry).Detach();
        return kOk;
    }
    static uint32_t GetCursor(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetCursor");
        *out = ObjectPtr(Object::ImplOf(self).cursor).Detach();
        return kOk;
    }
};

// ---------------------------------------------------------------------------
// "BLAuthor"

struct AuthorImpl {
    std::mutex mutex;
    std::wstring name;
    bool known = false;
};

// The login name from the environment, unless it is unset or empty.
const char* LoginName() {
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    return nullptr;
}

struct AuthorInterface {
    using Impl = AuthorImpl;
    using Object = SODetails::ServiceObjectCppTheConcrete<AuthorInterface, AuthorImpl>;
    static constexpr const char* kName = "BLAuthor";
    static constexpr const wchar_t* kWideName = L"BLAuthor";
    static constexpr std::size_t kOperationCount = 1;

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<BLAuthorOps::GetAuthor>(ops, &GetAuthor);
    }

    // VELLUM_AUTHOR when set, else the login name (USER, LOGNAME), else the
    // account's name from the system's account database. The text stays
    // valid while the service lives and the name does not change.
    static uint32_t GetAuthor(ServiceObject* self, const wchar_t** out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetAuthor");
        std::string name;
        if (const char* chosen = std::getenv("VELLUM_AUTHOR"))
            name = chosen;
        else if (const char* user = LoginName())
            name = user;
        else
            name = Platform::AccountName();
        AuthorImpl& author = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(author.mutex);
        std::wstring wide = SLText::ToWide(name);
        if (!author.known || wide != author.name) {
            author.name = std::move(wide);
            author.known = true;
        }
        *out = author.name.c_str();
        return kOk;
    }
};

} // namespace

ServiceObject* NewBLService() {
    return ServiceInterface::Object::New();
}

ServiceObject* NewAuthor() {
    return AuthorInterface::Object::New();
}

namespace {
const SODetails::NamedServiceFactory kServices[] = {
    {"BLService", &NewBLService},
    {"GraphicsFactory", &NewGraphicsFactory},
    {"BLAuthor", &NewAuthor},
};
} // namespace

} // namespace HostBLImpl

namespace HostBL {

ObjectPtr NewService(const std::string& name) {
    for (const SODetails::NamedServiceFactory& service : HostBLImpl::kServices)
        if (name == service.objectName)
            return ObjectPtr::Adopt(service.make());
    return nullptr;
}

void RegisterServicesInProcess() {
    // The provider hands each registration's entry back to its factory.
    const HostServiceFactory make = [](void* entry, ServiceObject** out) {
        *out = static_cast<const SODetails::NamedServiceFactory*>(entry)->make();
        return SODetails::kOk;
    };
    for (const SODetails::NamedServiceFactory& service : HostBLImpl::kServices) {
        void* entry = const_cast<SODetails::NamedServiceFactory*>(&service);
        if (ServiceProviderRegHostService(service.objectName, make, entry, "single") !=
            SODetails::kOk)
            throw std::runtime_error(std::string("cannot register the host service ") +
                                     service.objectName);
    }
}

uint32_t LastCursor() {
    return HostBLImpl::gLastCursor.load();
}

} // namespace HostBL

// The service-module entry: the provider asks for a service by the atom of
// its object name.
extern "C" SO_EXPORT uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out) {
    return SODetails::CreateNamedServiceObject(atom, out, HostBLImpl::kServices);
}
