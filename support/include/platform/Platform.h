// The one place where this code base talks to the operating system.
//
// Everything outside support/src/platform reaches the OS only through these
// functions, so that the same sources build as a Windows DLL (Win32 calls)
// and as a Linux shared object (POSIX calls).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace Platform {

using ModuleHandle = void*;

// GetCurrentThreadId: a 32-bit id that is unique among the live threads.
uint32_t CurrentThreadId();

// Maps a module name as the host spells it ("journal.dll", "plugins\x.dll")
// onto this platform's file name ("libjournal.so", "plugins/x.so").
// Folder separators become the platform's; a ".dll" suffix becomes the
// platform's shared-library suffix. A bare library name also gets the
// platform's "lib" prefix when it has none.
std::string NativeModuleName(const std::string& hostName);

// GetModuleHandleW: the module when it is already loaded, else null.
// Never loads anything.
ModuleHandle FindLoadedModule(const std::wstring& hostName);

// LoadLibraryW: loads a module by path. On failure returns null and the
// system error code (never 0) through systemError, and a readable reason.
ModuleHandle LoadModule(const std::string& path, uint32_t* systemError, std::string* reason);

// FreeLibrary.
void UnloadModule(ModuleHandle module);

// GetProcAddress.
void* FindSymbol(ModuleHandle module, const char* name);

// FormatMessageW(ALLOCATE_BUFFER | IGNORE_INSERTS | FROM_SYSTEM, en-US) and
// LocalFree: the system's English text for an error code, with the trailing
// line break that the system puts after it. Empty when the system has none.
std::optional<std::wstring> SystemErrorText(uint32_t code);

// The ANSI code page of the running system (GetACP), which the narrow text
// of the host's interfaces is in. 65001 (UTF-8) on POSIX systems.
constexpr uint32_t kUtf8CodePage = 65001;
uint32_t AnsiCodePage();

// MultiByteToWideChar(CP_ACP) and WideCharToMultiByte(CP_ACP), strict in
// both directions: malformed input, and characters the code page cannot
// hold, are refused rather than replaced. `units` receives the number of
// units the whole text takes in the other form; with a null `out` the text
// is only measured. Nothing is written unless all of it converts and fits
// in `capacity` units. No terminator is written.
enum class Conversion { kDone, kMalformed, kTooSmall };
Conversion AnsiToWide(const char* text, size_t length, wchar_t* out, size_t capacity,
                      size_t* units);
Conversion WideToAnsi(const wchar_t* text, size_t length, char* out, size_t capacity,
                      size_t* units);

// Sleep.
void SleepMilliseconds(uint32_t milliseconds);

// A processor pause (spin-wait hint).
void ProcessorPause();

// IsWindow. On Windows the system knows every window. Elsewhere there is no
// window system underneath the stand-in host: its UI library keeps the
// registry of the windows it has open and exports the check as the C
// function "VellumHostIsWindow" (int (uint64_t handle)), which is looked up
// in the process here, so that no module needs to know the host's. Without
// such a host no handle is a window.
bool IsWindow(uint64_t handle);

// The handle of a new window of the stand-in host: a message-only window on
// Windows, so that IsWindow knows it; elsewhere a fresh number, never 0 and
// never handed out twice by this module. DestroyHostWindow ends it, on the
// thread that created it.
uint64_t CreateHostWindow();
void DestroyHostWindow(uint64_t handle);

// _gmtime64_s: broken-down UTC time; false for times it cannot represent.
bool GmTime(int64_t secondsSinceEpoch, std::tm* out);

// Whether standard error goes to a terminal (progress lines are drawn only
// there).
bool StandardErrorIsTerminal();

// The folder that holds the given module's file (with no trailing separator).
std::string ModuleFolder(const void* addressInModule);

// GetUserNameW: the name of the account the process runs as, from the
// system's account database, in the ANSI code page; empty when it has none.
std::string AccountName();

// Sets an environment variable of the process (setenv, _putenv_s), for the
// process itself and the programs it starts. False when it cannot be set.
bool SetEnvironmentValue(const char* name, const char* value);

} // namespace Platform
