#pragma once
// The few process-wide values that the entry function sets once, before any window
// exists, and the toolkit reads: the module instance and the show command that the
// system passed in (used for the first ShowWindow of each top-level window), and whether
// the launcher runs on a handheld.
#include <windows.h>

namespace startup {
inline HINSTANCE instance = nullptr;
inline int showCommand = SW_SHOWNORMAL;
// Steam runs the game on a handheld: windows are laid out larger and show the
// controller's prompts from the start.
inline bool handheld = false;
} // namespace startup
