#pragma once
// Finding another launcher or game from this installation, and the process helpers
// that the check and the window placement are built from.
#include <windows.h>

#include <string>
#include <vector>

// Looks for another process named `name` (null: the launcher's own file name) whose
// executable lies in the launcher's folder or below it (letter case aside). Only the first such process in
// snapshot order is looked at: if it has a window, that window is brought to the front
// and the result is true; if it has none, it is made to end and the result is false.
// When looking for the launcher itself, a windowless one that started after this one
// is left alone: it is still starting and will give way to this one.
bool activateRunningInstance(const char* name = nullptr);

// Ids of the processes whose image name equals `name` exactly (letter case included),
// in snapshot order.
std::vector<DWORD> listProcessIdsByName(const char* name);

// Full path of the process's main executable (id 0: this process), from the same call
// for every process and with 8.3 short names made long, so that one folder is spelled
// alike for all; empty when the process cannot be opened. The text lives in the narrow
// scratch pool.
const char* getProcessModulePath(DWORD id);
// The module path up to and including its last backslash.
std::string getProcessDirectory(DWORD id);
// First enabled and visible top-level window of the process; else the last of its
// hidden or disabled ones; else null.
HWND findProcessWindow(DWORD id);
// Id of the process that started this one, or 0.
DWORD getParentProcessId();
