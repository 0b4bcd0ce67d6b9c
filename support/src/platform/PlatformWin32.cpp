// Win32 implementation of the platform layer.
#include "platform/Platform.h"

#include <windows.h>

#include <intrin.h>
#include <time.h>

#include <climits>

#include "Win32Text.h"

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
    HMODULE module = ::LoadLibraryW(WideFromUtf8(path).c_str());
    if (!module) {
        const DWORD code = ::GetLastError();
        if (systemError)
            *systemError = code;
        if (reason)
            *reason = path + ": " + ErrorReason(code);
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
    // The system allocates the text; it is in US English (1033) whatever the
    // user's language, as the failure records want it.
    constexpr DWORD kFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                             FORMAT_MESSAGE_IGNORE_INSERTS;
    constexpr DWORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    static_assert(kFlags == 0x1300 && kUsEnglish == 1033);
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(kFlags, nullptr, code, kUsEnglish,
                                    reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::optional<std::wstring> out;
    if (length && buffer)
        out = std::wstring(buffer, length);
    if (buffer)
        ::LocalFree(buffer);
    return out;
}

uint32_t AnsiCodePage() {
    return ::GetACP();
}

namespace {

// The system's conversions take int lengths; longer texts are refused.
bool FitsInt(size_t length) {
    return length <= static_cast<size_t>(INT_MAX);
}

} // namespace

Conversion AnsiToWide(const char* text, size_t length, wchar_t* out, size_t capacity,
                      size_t* units) {
    *units = 0;
    if (length == 0)
        return Conversion::kDone; // the system refuses empty input
    if (!FitsInt(length))
        return Conversion::kMalformed;
    const int in = static_cast<int>(length);
    const int needed = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, in, nullptr, 0);
    if (needed <= 0)
        return Conversion::kMalformed;
    *units = static_cast<size_t>(needed);
    if (!out)
        return Conversion::kDone;
    if (capacity < *units)
        return Conversion::kTooSmall;
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, in, out, needed);
    return Conversion::kDone;
}

Conversion WideToAnsi(const wchar_t* text, size_t length, char* out, size_t capacity,
                      size_t* units) {
    *units = 0;
    if (length == 0)
        return Conversion::kDone;
    if (!FitsInt(length))
        return Conversion::kMalformed;
    const int in = static_cast<int>(length);
    // UTF-8 refuses unpaired surrogates by a flag; other code pages say when
    // they had to put their default character in for one they lack.
    const bool utf8 = ::GetACP() == kUtf8CodePage;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL replaced = FALSE;
    BOOL* replacedOut = utf8 ? nullptr : &replaced;
    const int needed =
        ::WideCharToMultiByte(CP_ACP, flags, text, in, nullptr, 0, nullptr, replacedOut);
    if (needed <= 0 || replaced)
        return Conversion::kMalformed;
    *units = static_cast<size_t>(needed);
    if (!out)
        return Conversion::kDone;
    if (capacity < *units)
        return Conversion::kTooSmall;
    ::WideCharToMultiByte(CP_ACP, flags, text, in, out, needed, nullptr, nullptr);
    return Conversion::kDone;
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
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(addressInModule), &module))
        return ".";
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return ".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2); // cut short: ask again with more room
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string(".") : Utf8FromWide(path.data(), slash);
}

std::string AccountName() {
    wchar_t name[257] = {}; // UNLEN + 1
    DWORD length = 257;
    if (!::GetUserNameW(name, &length) || length == 0)
        return "";
    // The length counts the terminator.
    size_t bytes = 0;
    if (WideToAnsi(name, length - 1, nullptr, 0, &bytes) != Conversion::kDone)
        return ""; // a name the code page cannot hold
    std::string out(bytes, '\0');
    WideToAnsi(name, length - 1, &out[0], bytes, &bytes);
    return out;
}

bool SetEnvironmentValue(const char* name, const char* value) {
    return ::_putenv_s(name, value) == 0;
}

} // namespace Platform
