// svcbroker: the service provider.
//
// Lookup order for a requested atom's name: services made in process by a
// host factory, then services made by a module's CreateServiceObject, whether
// registered by a call or listed in a manifest. Manifests ("*.manifest" in
// the folder of this library) are read once, on first use, before any call
// can register anything, so a registration made by a call replaces a
// manifest entry of the same name.
//
// One recursive mutex guards all state, but it is never held while a module
// is loaded, while a factory or CreateServiceObject runs, or while an object
// is released: all of those may run foreign code that calls back into the
// broker, possibly from another thread.
#include "svcbroker.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObject.h"
#include "strpool.h"

namespace {

using SODetails::kBadArgument;
using SODetails::kOk;

const char* const kSingle = "single";
const char* const kMultiple = "multiple";
const char* const kFactorySymbol = "CreateServiceObject";
const char* const kManifestExtension = ".manifest";

void AddRef(ServiceObject* object) {
    if (object && object->common.AddRef)
        object->common.AddRef(object);
}

void Release(ServiceObject* object) {
    if (object && object->common.Release)
        object->common.Release(object);
}

void ReleaseAll(const std::vector<ServiceObject*>& objects) {
    for (ServiceObject* object : objects)
        Release(object);
}

// "single" or "multiple"; false for anything else.
bool ParseInstancing(const char* instancing, bool* single) {
    if (!instancing)
        return false;
    const std::string text = instancing;
    if (text != kSingle && text != kMultiple)
        return false;
    *single = text == kSingle;
    return true;
}

// What both kinds of registration share: the instancing policy and the
// shared object of a "single" service. The generation tells a creator that
// finished outside the lock whether the registration it started from is
// still the one in place.
struct Registration {
    bool single = false;
    ServiceObject* instance = nullptr;
    uint64_t generation = 0;

    // Hands out the shared object with a reference for the caller; false when
    // there is none (yet) to share.
    bool ShareInstance(ServiceObject** out) const {
        if (!single || !instance)
            return false;
        AddRef(instance);
        *out = instance;
        return true;
    }
};

struct HostService : Registration {
    HostServiceFactory factory = nullptr;
    void* context = nullptr;
};

struct ModuleService : Registration {
    std::string objectName;
    std::string modulePath;
    uint32_t flags = 0;
};

struct LoadedModule {
    Platform::ModuleHandle handle = nullptr;
    CreateServiceObjectFn create = nullptr;
};

class Broker {
public:
    uint32_t GetServiceObject(uint32_t atom, ServiceObject** out, uint32_t* systemError);

    uint32_t RegService(const char* name, const char* objectName, const char* modulePath,
                        const char* instancing, uint32_t flags);
    uint32_t UnregService(const char* name, const char* objectName, const char* modulePath);
    uint32_t RegHostService(const char* name, HostServiceFactory factory, void* context,
                            const char* instancing);
    uint32_t UnregHostService(const char* name);

    uint32_t SetHostFolder(const char* path);
    const char* GetHostFolder();
    void ReleaseInstances();

private:
    using Lock = std::lock_guard<std::recursive_mutex>;

    uint32_t FromHost(const std::string& name, ServiceObject** out, uint32_t* systemError);
    uint32_t FromModule(const std::string& name, ServiceObject** out, uint32_t* systemError);
    uint32_t LoadFactory(const std::string& modulePath, CreateServiceObjectFn* create,
                         uint32_t* systemError);
    std::string ResolveModulePath(const std::string& modulePath);

    template <typename Map>
    uint32_t Publish(Map& registrations, const std::string& name, uint64_t generation,
                     ServiceObject* created, ServiceObject** out);

    void ReadManifests();
    void ReadManifest(const std::filesystem::path& file);
    const std::string& HostFolder();

    std::recursive_mutex mutex_;
    std::map<std::string, HostService> hostServices_;
    std::map<std::string, ModuleService> moduleServices_;
    std::map<std::string, LoadedModule> modules_;
    bool manifestsRead_ = false;
    // Every host folder ever set stays here, so that a pointer handed out
    // by GetHostFolder never dangles.
    std::deque<std::string> hostFolders_;
    uint64_t nextGeneration_ = 1;
    std::string lastLoadFailure_;
};

// Never destroyed: modules unloaded at process exit may still call in.
Broker& TheBroker() {
    static Broker* broker = new Broker;
    return *broker;
}

// Any address inside this library locates its file.
const char kLibraryAnchor = 0;

// The loader may name the library through a search path such as
// "bin/../lib"; drop the detour.
std::string LibraryFolder() {
    const std::filesystem::path folder = Platform::ModuleFolder(&kLibraryAnchor);
    std::string normal = folder.lexically_normal().generic_string(); // '/' on every platform
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

std::string ParentFolder(const std::string& folder) {
    const size_t slash = folder.find_last_of('/');
    if (slash == std::string::npos)
        return folder == "." || folder.empty() ? ".." : ".";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

uint32_t Broker::GetServiceObject(uint32_t atom, ServiceObject** out, uint32_t* systemError) {
    uint32_t ignored = 0;
    if (!systemError)
        systemError = &ignored;
    *systemError = 0;
    if (!out || atom == 0)
        return kBadArgument;
    const char* nameText = nullptr;
    if (SLGetStringFromAtom(atom, &nameText) != kOk || !nameText)
        return kSPServiceNotSupported;
    const std::string name = nameText;

    ReadManifests();
    return FromHost(name, out, systemError);
}

uint32_t Broker::FromHost(const std::string& name, ServiceObject** out, uint32_t* systemError) {
    HostServiceFactory factory = nullptr;
    void* context = nullptr;
    uint64_t generation = 0;
    {
        Lock lock(mutex_);
        auto found = hostServices_.find(name);
        if (found != hostServices_.end()) {
            HostService& service = found->second;
            if (service.ShareInstance(out))
                return kOk;
            factory = service.factory;
            context = service.context;
            generation = service.generation;
        }
    }
    if (!factory)
        return FromModule(name, out, systemError);
    ServiceObject* created = nullptr;
    const uint32_t code = factory(context, &created);
    if (code != kOk)
        return code;
    if (!created)
        return kSPFactoryFailed;
    return Publish(hostServices_, name, generation, created, out);
}

uint32_t Broker::FromModule(const std::string& name, ServiceObject** out, uint32_t* systemError) {
    std::string objectName;
    std::string modulePath;
    uint64_t generation;
    {
        Lock lock(mutex_);
        auto found = moduleServices_.find(name);
        if (found == moduleServices_.end())
            return kSPServiceNotSupported;
        ModuleService& service = found->second;
        if (service.ShareInstance(out))
            return kOk;
        objectName = service.objectName;
        modulePath = service.modulePath;
        generation = service.generation;
    }

    CreateServiceObjectFn create = nullptr;
    uint32_t code = LoadFactory(modulePath, &create, systemError);
    if (code != kOk)
        return code;
    uint32_t objectAtom = 0;
    SLGetAtomFromString(objectName.c_str(), &objectAtom);
    ServiceObject* created = nullptr;
    code = create(objectAtom, &created);
    if (code != kOk)
        return code;
    if (!created)
        return kSPFactoryFailed;
    return Publish(moduleServices_, name, generation, created, out);
}

// Hands a newly made object to the caller. A "single" service keeps the
// first object made; a creator that lost the race releases its own object
// and gets the kept one. When the registration changed meanwhile, the new
// object simply goes to the caller.
template <typename Map>
uint32_t Broker::Publish(Map& registrations, const std::string& name, uint64_t generation,
                         ServiceObject* created, ServiceObject** out) {
    ServiceObject* loser = nullptr;
    {
        Lock lock(mutex_);
        auto found = registrations.find(name);
        if (found != registrations.end() && found->second.generation == generation &&
            found->second.single) {
            Registration& service = found->second;
            if (service.instance) {
                loser = created;
            } else {
                service.instance = created;
            }
            AddRef(service.instance); // the caller's reference
            *out = service.instance;
        } else {
            *out = created;
        }
    }
    Release(loser);
    return kOk;
}

uint32_t Broker::LoadFactory(const std::string& modulePath, CreateServiceObjectFn* create,
                             uint32_t* systemError) {
    const std::string path = ResolveModulePath(modulePath);
    {
        Lock lock(mutex_);
        auto found = modules_.find(path);
        if (found != modules_.end()) {
            *create = found->second.create;
            return *create ? kOk : kSPFactoryFunctionNotFound;
        }
    }
    // Loading runs the module's static initialisers, which may ask the
    // broker for services: no lock here.
    std::string reason;
    Platform::ModuleHandle handle = Platform::LoadModule(path, systemError, &reason);
    if (!handle) {
        Lock lock(mutex_);
        lastLoadFailure_ = path + ": " + reason; // the loader's own words, for a debugger
        return kSPModuleNotFound;
    }
    LoadedModule loaded;
    loaded.handle = handle;
    loaded.create =
        reinterpret_cast<CreateServiceObjectFn>(Platform::FindSymbol(handle, kFactorySymbol));
    bool duplicate = false;
    {
        Lock lock(mutex_);
        auto inserted = modules_.emplace(path, loaded);
        duplicate = !inserted.second;
        *create = inserted.first->second.create;
    }
    if (duplicate)
        Platform::UnloadModule(handle); // another thread loaded it first
    return *create ? kOk : kSPFactoryFunctionNotFound;
}

// "plugins\x.dll" -> "<host folder>/plugins/x.so", or ".../libx.so" when
// only that file exists.
std::string Broker::ResolveModulePath(const std::string& modulePath) {
    const std::string native = Platform::NativeModuleName(modulePath);
    std::string path;
    if (!native.empty() && native[0] == '/') {
        path = native;
    } else {
        Lock lock(mutex_);
        path = HostFolder() + "/" + native;
    }
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return path;
    const size_t slash = path.find_last_of('/');
    const std::string file = path.substr(slash + 1);
    if (file.compare(0, 3, "lib") == 0)
        return path;
    const std::string prefixed = path.substr(0, slash + 1) + "lib" + file;
    return std::filesystem::exists(prefixed, error) ? prefixed : path;
}

uint32_t Broker::RegService(const char* name, const char* objectName, const char* modulePath,
                            const char* instancing, uint32_t flags) {
    bool single = false;
    if (!name || !*name || !objectName || !modulePath || !*modulePath ||
        !ParseInstancing(instancing, &single))
        return kBadArgument;
    ReadManifests();
    ServiceObject* replaced = nullptr;
    {
        Lock lock(mutex_);
        ModuleService& service = moduleServices_[name];
        if (service.generation != 0 && service.objectName == objectName &&
            service.modulePath == modulePath && service.single == single) {
            service.flags = flags; // the same service again: keep what it holds
            return kOk;
        }
        replaced = service.instance;
        service = ModuleService();
        service.objectName = objectName;
        service.modulePath = modulePath;
        service.single = single;
        service.flags = flags;
        service.generation = nextGeneration_++;
    }
    Release(replaced);
    return kOk;
}

uint32_t Broker::UnregService(const char* name, const char* objectName, const char* modulePath) {
    if (!name || !objectName || !modulePath)
        return kBadArgument;
    ReadManifests();
    ServiceObject* held = nullptr;
    {
        Lock lock(mutex_);
        auto found = moduleServices_.find(name);
        if (found == moduleServices_.end() || found->second.objectName != objectName ||
            found->second.modulePath != modulePath)
            return kSPServiceNotSupported;
        held = found->second.instance;
        moduleServices_.erase(found);
    }
    Release(held);
    return kOk;
}

uint32_t Broker::RegHostService(const char* name, HostServiceFactory factory, void* context,
                                const char* instancing) {
    bool single = false;
    if (!name || !*name || !factory || !ParseInstancing(instancing, &single))
        return kBadArgument;
    ServiceObject* replaced = nullptr;
    {
        Lock lock(mutex_);
        HostService& service = hostServices_[name];
        replaced = service.instance;
        service = HostService();
        service.factory = factory;
        service.context = context;
        service.single = single;
        service.generation = nextGeneration_++;
    }
    Release(replaced);
    return kOk;
}

uint32_t Broker::UnregHostService(const char* name) {
    if (!name)
        return kBadArgument;
    ServiceObject* held = nullptr;
    {
        Lock lock(mutex_);
        auto found = hostServices_.find(name);
        if (found == hostServices_.end())
            return kSPServiceNotSupported;
        held = found->second.instance;
        hostServices_.erase(found);
    }
    Release(held);
    return kOk;
}

uint32_t Broker::SetHostFolder(const char* path) {
    if (!path || !*path)
        return kBadArgument;
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    Lock lock(mutex_);
    hostFolders_.push_back(folder);
    return kOk;
}

const char* Broker::GetHostFolder() {
    Lock lock(mutex_);
    return HostFolder().c_str();
}

// Called with the lock held.
const std::string& Broker::HostFolder() {
    if (hostFolders_.empty())
        hostFolders_.push_back(ParentFolder(LibraryFolder()));
    return hostFolders_.back();
}

void Broker::ReleaseInstances() {
    std::vector<ServiceObject*> held;
    {
        Lock lock(mutex_);
        for (auto& entry : hostServices_)
            if (entry.second.instance)
                held.push_back(std::exchange(entry.second.instance, nullptr));
        for (auto& entry : moduleServices_)
            if (entry.second.instance)
                held.push_back(std::exchange(entry.second.instance, nullptr));
    }
    ReleaseAll(held);
}

void Broker::ReadManifests() {
    Lock lock(mutex_);
    if (manifestsRead_)
        return;
    manifestsRead_ = true;
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(LibraryFolder(), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->path().extension() == kManifestExtension && it->is_regular_file(typeError))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename() < b.filename(); });
    for (const auto& file : files)
        ReadManifest(file);
}

// Each line: name objectName modulePath instancing. Blank lines and lines
// starting with '#' are skipped; a malformed line is reported and skipped.
void Broker::ReadManifest(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    for (unsigned number = 1; std::getline(in, line); ++number) {
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, objectName, modulePath, instancing, extra;
        bool single = false;
        if (!(fields >> name >> objectName >> modulePath >> instancing) || (fields >> extra) ||
            !ParseInstancing(instancing.c_str(), &single)) {
            std::fprintf(stderr, "svcbroker: %s:%u: ignored malformed service entry\n",
                         file.string().c_str(), number);
            continue;
        }
        ModuleService& service = moduleServices_[name];
        service = ModuleService();
        service.objectName = objectName;
        service.modulePath = modulePath;
        service.single = single;
        service.generation = nextGeneration_++;
    }
}

} // namespace

extern "C" {

uint32_t ServiceProviderGetServiceObject(uint32_t atom, ServiceObject** out,
                                         uint32_t* systemError) {
    return TheBroker().GetServiceObject(atom, out, systemError);
}

uint32_t ServiceProviderRegService(const char* name, const char* objectName, const char* modulePath,
                                   const char* instancing, uint32_t flags) {
    return TheBroker().RegService(name, objectName, modulePath, instancing, flags);
}

uint32_t ServiceProviderUnregService(const char* name, const char* objectName,
                                     const char* modulePath, const char* /*instancing*/) {
    return TheBroker().UnregService(name, objectName, modulePath);
}

uint32_t ServiceProviderRegHostService(const char* name, HostServiceFactory factory, void* context,
                                       const char* instancing) {
    return TheBroker().RegHostService(name, factory, context, instancing);
}

uint32_t ServiceProviderUnregHostService(const char* name) {
    return TheBroker().UnregHostService(name);
}

uint32_t ServiceProviderSetHostFolder(const char* path) {
    return TheBroker().SetHostFolder(path);
}

const char* ServiceProviderGetHostFolder(void) {
    return TheBroker().GetHostFolder();
}

void ServiceProviderReleaseInstances(void) {
    TheBroker().ReleaseInstances();
}

} // extern "C"
