// POSIX implementation of the platform layer.
#include "platform/Platform.h"

#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <pwd.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <locale.h>
#include <vector>

namespace Platform {

uint32_t CurrentThreadId() {
    return static_cast<uint32_t>(::syscall(SYS_gettid));
}

namespace {

bool EndsWithDll(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return tail == ".dll";
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

} // namespace

std::string NativeModuleName(const std::string& hostName) {
    std::string name = hostName;
    for (char& c : name)
        if (c == '\\')
            c = '/';
    if (EndsWithDll(name))
        name = name.substr(0, name.size() - 4) + ".so";
    // A bare file name is a library the dynamic loader finds by name; those
    // carry the "lib" prefix here.
    if (name.find('/') == std::string::npos && name.compare(0, 3, "lib") != 0)
        name = "lib" + name;
    return name;
}

ModuleHandle FindLoadedModule(const std::wstring& hostName) {
    std::string name = NativeModuleName(Narrow(hostName));
    void* module = ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    // Like GetModuleHandleW, hand out the handle without keeping a reference:
    // the module stays loaded by whoever loaded it.
    if (module)
        ::dlclose(module);
    return module;
}

ModuleHandle LoadModule(const std::string& path, uint32_t* systemError, std::string* reason) {
    errno = 0;
    // Modules stay mapped until the process ends: process-wide singletons may
    // hold destructors that live in them.
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (module)
        return module;
    const char* text = ::dlerror();
    if (reason)
        *reason = text ? text : "unknown loader error";
    if (systemError) {
        bool missing = ::access(path.c_str(), F_OK) != 0;
        *systemError = missing ? ENOENT : (errno ? static_cast<uint32_t>(errno) : ENOEXEC);
    }
    return nullptr;
}

void UnloadModule(ModuleHandle module) {
    if (module)
        ::dlclose(module);
}

void* FindSymbol(ModuleHandle module, const char* name) {
    return module ? ::dlsym(module, name) : nullptr;
}

std::optional<std::wstring> SystemErrorText(uint32_t code) {
    if (code == 0)
        return std::nullopt;
    // The "C" locale gives the English text, as language 1033 does on Windows.
    locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (!c)
        return std::nullopt;
    const char* text = ::strerror_l(static_cast<int>(code), c);
    std::wstring out;
    if (text)
        for (const char* p = text; *p; ++p)
            out.push_back(static_cast<unsigned char>(*p));
    ::freelocale(c);
    if (out.empty())
        return std::nullopt;
    out += L"\n";
    return out;
}

void SleepMilliseconds(uint32_t milliseconds) {
    if (milliseconds == 0) {
        ::sched_yield();
        return;
    }
    struct timespec ts;
    ts.tv_sec = milliseconds / 1000;
    ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    ::nanosleep(&ts, nullptr);
}

void ProcessorPause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

bool IsWindow(uint64_t handle) {
    using HostIsWindow = int (*)(uint64_t);
    static std::atomic<HostIsWindow> check{nullptr};
    HostIsWindow found = check.load();
    if (!found) {
        // Not cached until found: the host's UI library may load later.
        found = reinterpret_cast<HostIsWindow>(::dlsym(RTLD_DEFAULT, "VellumHostIsWindow"));
        check.store(found);
    }
    return found && found(handle) != 0;
}

uint64_t CreateHostWindow() {
    static std::atomic<uint64_t> next{0};
    // Spaced like the addresses of window objects, to look like no small
    // number a caller might pass by mistake.
    return 0x10000 + 16 * ++next;
}

void DestroyHostWindow(uint64_t) {}

bool GmTime(int64_t secondsSinceEpoch, std::tm* out) {
    time_t t = static_cast<time_t>(secondsSinceEpoch);
    return out && ::gmtime_r(&t, out) != nullptr;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

std::string ModuleFolder(const void* addressInModule) {
    Dl_info info;
    if (!::dladdr(addressInModule, &info) || !info.dli_fname)
        return ".";
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string AccountName() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found && found->pw_name ? found->pw_name : "";
}

bool SetEnvironmentValue(const char* name, const char* value) {
    return ::setenv(name, value, 1) == 0;
}

} // namespace Platform
