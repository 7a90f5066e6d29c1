#pragma once
// A game controller moving through a window as the keyboard does, through the system
// controls' own keyboard paths: up and down go through the focus order as Tab does, left
// and right step a closed list as its arrow keys do, A presses the focused button or opens
// the focused list (then chooses in it as Return does), B closes an open list as Escape
// does. What else the buttons do, a screen says in its bindings.
#include "platform/PadLayout.h"

#include <windows.h>

#include <string>

namespace VellGui {

class IObject;

// One of a screen's controller buttons: the control it presses (null: the focused one, as
// the navigation does) and what its prompt says (empty: the control's own text).
struct PadBinding {
    PadInput action;
    IObject* control;
    std::string caption;
};

// Puts the keyboard focus on a control of `window` unless one has it: on `start` (or the
// first control in the focus order), shown with the focus cues the keyboard would show.
// Returns the control with the focus.
HWND ensureControlFocused(HWND window, HWND start);
// A drop-down list whose list is open: only the list takes the controller then.
bool isOpenList(HWND control);
// One controller input for `window`, whose focus is on `focus` (from ensureControlFocused).
void navigate(HWND window, HWND focus, PadInput input);

} // namespace VellGui
