// Win32 implementation of the platform layer.
#include "platform/Platform.h"

#include <windows.h>

#include <intrin.h>
#include <time.h>

namespace Platform {

uint32_t CurrentThreadId() {
    return ::GetCurrentThreadId();
}

std::string NativeModuleName(const std::string& hostName) {
    return hostName;
}

ModuleHandle FindLoadedModule(const std::wstring& hostName) {
    return ::GetModuleHandleW(hostName.c_str());
}

ModuleHandle LoadModule(const std::string& path, uint32_t* systemError, std::string* reason) {
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (!module) {
        DWORD code = ::GetLastError();
        if (systemError)
            *systemError = code;
        if (reason)
            *reason = "LoadLibrary failed";
    }
    return module;
}

void UnloadModule(ModuleHandle module) {
    if (module)
        ::FreeLibrary(static_cast<HMODULE>(module));
}

void* FindSymbol(ModuleHandle module, const char* name) {
    return module ? reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name))
                  : nullptr;
}

std::optional<std::wstring> SystemErrorText(uint32_t code) {
    if (code == 0)
        return std::nullopt;
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(0x1300, nullptr, code, 1033, reinterpret_cast<LPWSTR>(&buffer),
                                    0, nullptr);
    std::optional<std::wstring> out;
    if (length && buffer)
        out = std::wstring(buffer, length);
    if (buffer)
        ::LocalFree(buffer);
    return out;
}

void SleepMilliseconds(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

void ProcessorPause() {
    _mm_pause();
}

bool IsWindow(uint64_t handle) {
    return ::IsWindow(reinterpret_cast<HWND>(handle)) != FALSE;
}

uint64_t CreateHostWindow() {
    // "Message" is the system's class of message-only windows.
    HWND window = ::CreateWindowExW(0, L"Message", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    return reinterpret_cast<uint64_t>(window);
}

void DestroyHostWindow(uint64_t handle) {
    if (handle)
        ::DestroyWindow(reinterpret_cast<HWND>(handle));
}

bool GmTime(int64_t secondsSinceEpoch, std::tm* out) {
    __time64_t t = secondsSinceEpoch;
    return out && _gmtime64_s(out, &t) == 0;
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string ModuleFolder(const void* addressInModule) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(addressInModule), &module))
        return ".";
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    std::string text(path, length);
    size_t slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

std::string AccountName() {
    wchar_t name[257] = {}; // UNLEN + 1
    DWORD length = 257;
    if (!::GetUserNameW(name, &length) || length == 0)
        return "";
    // The name comes in UTF-16; the host's narrow text is UTF-8.
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? static_cast<std::size_t>(bytes) : 0, '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, name, -1, &out[0], bytes, nullptr, nullptr);
    if (!out.empty())
        out.pop_back(); // the terminator
    return out;
}

} // namespace Platform
