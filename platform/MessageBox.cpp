#include "platform/MessageBox.h"

#include "platform/PadDriver.h"
#include "platform/VisualStyles.h"

int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    VisualStyles styles;
    // A box shown before any window runs its loop is answered by a controller too.
    PadPolling polling;
    return MessageBoxW(owner, text, caption, type);
}
