#pragma once
// Game controllers on the main screen: button 1 starts the game, button 2 quits.
#include "gui/Joystick.h"
#include "gui/Window.h"

#include <functional>

// The handler a screen registers for its controller poll: it calls `play` or `quit` on
// every tick in which their button is held, and nothing once `window` has closed.
VellGui::JoystickHandler gamepadHandler(const VellGui::Window& window, std::function<void()> play,
                                        std::function<void()> quit);
