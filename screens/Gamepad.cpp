#include "screens/Gamepad.h"

#include <utility>

VellGui::JoystickHandler gamepadHandler(const VellGui::Window& window, std::function<void()> play,
                                        std::function<void()> quit) {
    return [&window, play = std::move(play), quit = std::move(quit)](JOYINFOEX& record) {
        // Several controllers are read in one tick: once one of them has closed the
        // window, the others have nothing left to act on.
        if (window.hwnd && (record.dwButtons & JOY_BUTTON1))
            play();
        if (window.hwnd && (record.dwButtons & JOY_BUTTON2))
            quit();
    };
}
