#pragma once
// System DLLs that only some runs need (DXGI for the settings, the joystick interface for
// the main screen). Imported, they would be loaded at every start, skip mode included,
// and under some systems load a display driver with them; here they load on first use.
#include <windows.h>

// The procedure from the DLL in the system folder (never from the launcher's own folder),
// or null when the DLL or the procedure is missing. The DLL stays loaded.
FARPROC systemProcedure(const wchar_t* library, const char* name);
