#pragma once
// Questions about processes: which run under a name, where their executables lie, their
// windows and this one's parent; and what is done to another one: its window brought to
// the front, or the process ended.
#include <windows.h>

#include <string>
#include <vector>

// Ids of the processes whose image name equals `name` exactly (letter case included),
// in snapshot order.
std::vector<DWORD> listProcessIdsByName(const char* name);

// Full path of the process's main executable (id 0: this process), from the same call
// for every process and with 8.3 short names made long, so that one folder is spelled
// alike for all, of any length; empty when the process cannot be opened.
std::string getProcessModulePath(DWORD id);
// The module path up to and including its last backslash.
std::string getProcessDirectory(DWORD id);
// First enabled and visible top-level window of the process; else the last of its
// hidden or disabled ones; else null.
HWND findProcessWindow(DWORD id);
// First enabled and visible top-level window of the process; else the first visible one
// (disabled while one of its own is open); else null.
HWND findShownProcessWindow(DWORD id);
// Restores the window first when it is minimised: in front as an icon, the player would
// see nothing happen.
void bringToFront(HWND window);
// Ends the process from outside with exit code 1, and waits for it to go, a second at the
// most. Nothing runs inside it, so it cannot be caught in a lock of its own on the way out.
// `process` needs PROCESS_TERMINATE and SYNCHRONIZE; false when it could not be ended.
bool endProcess(HANDLE process);
// Id of the process that started this one, or 0.
DWORD getParentProcessId();
