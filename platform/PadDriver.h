#pragma once
// The one driver of the game controllers. While a loop of the launcher's windows or
// message boxes runs, one timer of the thread polls the pads, and each press goes to the
// launcher's window or message box in front: a window gets kPadPressMessage, a message box
// is answered as by the keyboard (A presses its default button, B its cancel button or its
// only one). Nothing is polled while another program is in front.
#include "platform/PadLayout.h"

#include <windows.h>

// Sent to the launcher's window in front for each press; wParam holds the PadInput.
constexpr UINT kPadPressMessage = WM_APP + 0x233;

// While one exists on the thread, the pads are polled; the first one looks for pads at
// once.
class PadPolling {
public:
    PadPolling();
    ~PadPolling();
    PadPolling(const PadPolling&) = delete;
    PadPolling& operator=(const PadPolling&) = delete;
};

// One poll, as the timer makes it.
void pollPads();
// The player's last input came from a controller: the windows show its prompts and mark
// its focus. Set by a press; the windows clear it when the mouse or keyboard is used.
bool padInUse();
void setPadInUse(bool on);
// The family of the pad used last, whose buttons the prompts show.
PadFamily padFamily();
