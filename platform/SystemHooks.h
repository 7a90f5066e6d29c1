#pragma once
// The system calls that tests replace, where Wine cannot produce what they check: several
// monitors, game controllers, a visual style, a disk that fails halfway, a path longer
// than Wine starts programs from, a kernel object of another user. Production never
// changes them; each defaults to the real call.
#include <windows.h>

#include <mmsystem.h>
#include <uxtheme.h>
#include <xinput.h>

// Work area of the monitor that holds `point`, or of the nearest one.
RECT systemWorkArea(POINT point);
// The whole rectangle of that monitor.
RECT systemMonitorArea(POINT point);
// joyGetPosEx, loaded on first use; a system without it has no controllers.
MMRESULT WINAPI readSystemJoystick(UINT id, JOYINFOEX* info);
// joyGetDevCapsW, loaded on first use.
MMRESULT WINAPI readSystemJoystickCaps(UINT id, JOYCAPSW* caps, UINT size);
// XInputGetState from xinput1_4.dll, else xinput9_1_0.dll; without either, no XInput pads.
DWORD WINAPI readSystemXInput(DWORD slot, XINPUT_STATE* state);
// The visual-style calls from uxtheme.dll, loaded on first use. Without the DLL, no
// theme opens and nothing is drawn.
HTHEME WINAPI systemOpenThemeData(HWND window, LPCWSTR classList);
HRESULT WINAPI systemDrawThemeBackground(HTHEME theme, HDC dc, int part, int state,
                                         const RECT* rect, const RECT* clip);

struct SystemHooks {
    decltype(&::ReadFile) readFile = ::ReadFile;
    decltype(&::WriteFile) writeFile = ::WriteFile;
    decltype(&::MoveFileExW) moveFile = ::MoveFileExW;
    decltype(&::QueryFullProcessImageNameW) processImageName = ::QueryFullProcessImageNameW;
    decltype(&::CreateMutexW) createMutex = ::CreateMutexW;
    decltype(&systemWorkArea) workArea = systemWorkArea;
    decltype(&systemMonitorArea) monitorArea = systemMonitorArea;
    decltype(&readSystemJoystick) readJoystick = readSystemJoystick;
    decltype(&readSystemJoystickCaps) readJoystickCaps = readSystemJoystickCaps;
    decltype(&readSystemXInput) readXInput = readSystemXInput;
    decltype(&systemOpenThemeData) openThemeData = systemOpenThemeData;
    decltype(&systemDrawThemeBackground) drawThemeBackground = systemDrawThemeBackground;
};

// The hooks in use; tests assign their fakes and put `SystemHooks{}` back afterwards.
inline SystemHooks systemHooks;
