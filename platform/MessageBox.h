#pragma once
// The launcher's message box: the system's, with visual styles, and answered by a game
// controller as by the keyboard: A presses its default button, B its cancel button or its
// only one.
#include <windows.h>

// MessageBoxW's arguments and result.
int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
