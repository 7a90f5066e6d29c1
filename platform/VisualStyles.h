#pragma once
// Common Controls 6, the system controls with visual styles, for the windows that show
// them: the options window and message boxes. The launcher's own manifest leaves it out, so
// that the main window, whose controls draw themselves, starts without loading it. While a
// VisualStyles object lives, the windows that this thread creates get the visual-styles
// version of the system controls:
// https://learn.microsoft.com/windows/win32/sbscs/activation-contexts
#include <windows.h>

// "RT_MANIFEST" resource of the executable that asks for Common Controls 6.
constexpr WORD kVisualStylesManifest = 2;

class VisualStyles {
public:
    // Activates the context made from kVisualStylesManifest (on the first use); without
    // it, nothing changes.
    VisualStyles();
    ~VisualStyles();
    VisualStyles(const VisualStyles&) = delete;
    VisualStyles& operator=(const VisualStyles&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
