#pragma once
// System functions looked up by name rather than imported. DXGI, the joystick interface,
// XInput and the visual-style DLL load on first use: imported, they would be loaded at every
// start, skip mode included, and some systems start the display driver with them.
// IsWow64Process comes from kernel32 and the process list from ntdll, which every process
// has loaded; the DPI functions from the DLLs of the Windows versions that have them.
#include <windows.h>

#include <dxgi.h>
#include <mmsystem.h>
#include <uxtheme.h>
#include <winternl.h>
#include <xinput.h>

#include <atomic>

// The procedure from the DLL in the system folder (never from the launcher's own folder),
// or null when the DLL or the procedure is missing. The DLL stays loaded.
FARPROC systemProcedure(const wchar_t* library, const char* name);

// One function of the table: looked up on the first call of get(), typed as declared by
// the system's headers.
template <typename Function> class SystemFunction {
public:
    constexpr SystemFunction(const wchar_t* library, const char* name)
        : library_(library), name_(name) {}
    SystemFunction(const SystemFunction&) = delete;
    SystemFunction& operator=(const SystemFunction&) = delete;

    // Null when the system lacks it. Any thread: two that look it up at once find the same.
    Function get() const {
        if (!looked_.load(std::memory_order_acquire)) {
            function_.store(reinterpret_cast<Function>(
                                reinterpret_cast<void*>(systemProcedure(library_, name_))),
                            std::memory_order_relaxed);
            looked_.store(true, std::memory_order_release);
        }
        return function_.load(std::memory_order_relaxed);
    }

private:
    const wchar_t* library_;
    const char* name_;
    mutable std::atomic<Function> function_{nullptr};
    mutable std::atomic<bool> looked_{false};
};

// Declared by the system's headers for Windows 8.1 and 10 only.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR monitor, int dpiType, UINT* dpiX,
                                                  UINT* dpiY);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND window);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT* rect, DWORD style, BOOL menu,
                                                       DWORD exStyle, UINT dpi);
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

namespace systemFunctions {
inline SystemFunction<decltype(&::CreateDXGIFactory)> createDxgiFactory{L"dxgi.dll",
                                                                        "CreateDXGIFactory"};
inline SystemFunction<decltype(&::joyGetPosEx)> joyGetPosEx{L"winmm.dll", "joyGetPosEx"};
inline SystemFunction<decltype(&::joyGetDevCapsW)> joyGetDevCaps{L"winmm.dll", "joyGetDevCapsW"};
// XInput as Windows 8 and later have it, else as every version since Vista has it.
inline SystemFunction<decltype(&::XInputGetState)> xinputGetState{L"xinput1_4.dll",
                                                                  "XInputGetState"};
inline SystemFunction<decltype(&::XInputGetState)> xinputGetStateOlder{L"xinput9_1_0.dll",
                                                                       "XInputGetState"};
inline SystemFunction<decltype(&::OpenThemeData)> openThemeData{L"uxtheme.dll", "OpenThemeData"};
inline SystemFunction<decltype(&::DrawThemeBackground)> drawThemeBackground{L"uxtheme.dll",
                                                                            "DrawThemeBackground"};
inline SystemFunction<decltype(&::CloseThemeData)> closeThemeData{L"uxtheme.dll", "CloseThemeData"};
inline SystemFunction<decltype(&::IsWow64Process)> isWow64Process{L"kernel32.dll",
                                                                  "IsWow64Process"};
inline SystemFunction<decltype(&::NtQuerySystemInformation)> ntQuerySystemInformation{
    L"ntdll.dll", "NtQuerySystemInformation"};
inline SystemFunction<GetDpiForMonitorFunction> getDpiForMonitor{L"shcore.dll", "GetDpiForMonitor"};
inline SystemFunction<GetDpiForWindowFunction> getDpiForWindow{L"user32.dll", "GetDpiForWindow"};
inline SystemFunction<AdjustWindowRectExForDpiFunction> adjustWindowRectExForDpi{
    L"user32.dll", "AdjustWindowRectExForDpi"};
} // namespace systemFunctions
