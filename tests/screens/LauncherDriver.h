#pragma once
// Driving the built launcher from another process as a player would: the mouse, windows and
// controls found by class and text, the focus of its thread, and the screen's pixels.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

constexpr DWORD kTimeoutMs = 20000;

// A mouse event at a point of the screen (for a move), as the player's mouse makes it.
void mouse(DWORD flags, POINT screen = {});
RECT outer(HWND window);
int widthOf(HWND window);
// Controls of another process's window, by class and text (any text when null).
std::vector<HWND> children(HWND window, const wchar_t* className, const wchar_t* text = nullptr);
// The launcher ended with exit code 0 within kTimeoutMs; else how it ended, or the
// windows it still shows, so that a rare hang says where it stands.
::testing::AssertionResult endsWithZero(ChildProcess& launcher);
// The label drawn to the left of a list, on the same row.
HWND labelBeside(HWND window, HWND list);
// Pixels of exactly that colour on the screen inside the rectangle.
int countColour(RECT area, COLORREF colour);
// The window with the keyboard focus in the thread of `window`.
HWND focusOf(HWND window);

// The player's browser for the account page: a program registered for "https" addresses,
// here the stand-in game, which writes down the address it was given. Wine's shell reads
// the handler from HKLM only, which the test's own prefix lets it change.
class AccountPageCatcher {
public:
    explicit AccountPageCatcher(const std::wstring& program);
    ~AccountPageCatcher();
    AccountPageCatcher(const AccountPageCatcher&) = delete;
    AccountPageCatcher& operator=(const AccountPageCatcher&) = delete;

private:
    void set(const std::wstring& command);
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    std::wstring old_;
};

class LauncherDriver : public ::testing::Test {
protected:
    // Starts the launcher and waits until its window is in front.
    static HWND start(ChildProcess& launcher, const InstallFolder& folder,
                      const std::wstring& arguments = L"");
    // A point of the window's client area, on the screen.
    static POINT at(HWND window, int x, int y);
    // The middle of a control, on the screen.
    static POINT centre(HWND control);
    // Clicks at a point of the screen until `done` holds. Wine takes the cursor from the X
    // pointer, and with the machine busy a late motion event of an earlier move can take
    // it away again before the button goes down, so that the click lands elsewhere. A
    // click without effect is therefore repeated, up to three times; one that never has
    // an effect still fails the test.
    template <typename Done> static bool clickUntil(POINT point, Done done) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            mouse(MOUSEEVENTF_MOVE, point);
            mouse(MOUSEEVENTF_LEFTDOWN);
            mouse(MOUSEEVENTF_LEFTUP);
            if (waitFor(done, 5000))
                return true;
        }
        return false;
    }
    // Clicks "EINSTELLUNGEN" and waits for the options window.
    static HWND openOptions(const ChildProcess& launcher, HWND mainWindow);
    // Starts the launcher, as start does, into `window`, and opens its options window.
    static HWND startWithOptions(ChildProcess& launcher, const InstallFolder& folder, HWND& window);
};

} // namespace testing_support
