#pragma once
// Game controllers on the main screen: button 1 starts the game, button 2 quits.
#include "gui/Joystick.h"

class MainWindow;

// The handler the main window registers for its controller poll; it acts on every tick
// in which a button is held, and not at all once the window has closed.
VellGui::JoystickHandler gamepadHandler(MainWindow& window);
