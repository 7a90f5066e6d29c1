#include "screens/Gamepad.h"

#include "screens/MainWindow.h"

VellGui::JoystickHandler gamepadHandler(MainWindow& window) {
    return [&window](JOYINFOEX& record) {
        // Several controllers are read in one tick: once one of them has closed the
        // window, the others have nothing left to act on.
        if (window.hwnd && (record.dwButtons & JOY_BUTTON1))
            window.onPlay();
        if (window.hwnd && (record.dwButtons & JOY_BUTTON2))
            window.onQuit();
    };
}
