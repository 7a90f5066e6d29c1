// The top-level window: class, placement, the owner while an owned window is open,
// dragging, the message loop's Escape rule and the controller.
#include "gui/Button.h"
#include "gui/ButtonPrompts.h"
#include "platform/Gamepad.h"
#include "platform/PadDriver.h"
#include "platform/SystemHooks.h"
#include "gui/Placement.h"
#include "launcher/Resources.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace gui_testing;
using VellGui::Window;

namespace {

// A controller layout for the poll: ids in `working` answer, holding `buttonsHeld` (the
// d-pad through the hat's bits below).
std::set<UINT> working;
DWORD buttonsHeld = 0;
constexpr DWORD kUp = 1u << 16;
constexpr DWORD kDown = 1u << 17;
MMRESULT WINAPI fakeReader(UINT id, JOYINFOEX* record) {
    if (!working.contains(id))
        return JOYERR_UNPLUGGED;
    record->dwButtons = buttonsHeld & 0xFFFF;
    record->dwPOV = (buttonsHeld & kUp) ? 0 : (buttonsHeld & kDown) ? 18000 : JOY_POVCENTERED;
    record->dwXpos = record->dwYpos = 32767;
    return JOYERR_NOERROR;
}

// Two monitors side by side: the second one from x = 1920.
std::vector<POINT> lookedUp;
RECT fakeWorkArea(POINT point) {
    lookedUp.push_back(point);
    return point.x >= 1920 ? RECT{1920, 0, 3200, 1000} : RECT{0, 0, 1920, 1040};
}

class TopLevel : public ::testing::Test {
protected:
    void SetUp() override {
        useThisModule();
        setPadInUse(false);
        buttonsHeld = 0;
        systemHooks.readJoystick = fakeReader;
        working.clear();
        lookedUp.clear();
    }
    void TearDown() override {
        systemHooks.readJoystick = readSystemJoystick;
        systemHooks.workArea = systemWorkArea;
        setPadInUse(false);
        drainQuit();
    }

    static RECT outerRect(HWND window) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        return rect;
    }

    static void bringToFront(Window& window) {
        ShowWindow(window.hwnd, SW_SHOW);
        SetForegroundWindow(window.hwnd);
        ASSERT_TRUE(testing_support::waitFor(
            [&] {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&msg);
                return GetForegroundWindow() == window.hwnd;
            },
            3000));
    }
};

} // namespace

TEST_F(TopLevel, ClassNameStyleAndOuterSize) {
    Window window;
    window.setSize(400, 300);
    window.icon = LoadIconW(startup::instance, MAKEINTRESOURCEW(IDI_WINDOWS));
    window.create(nullptr, "Vantorra", VellGui::kCaptionedWindow);
    EXPECT_EQ(window.className, "Vantorra_window_class");
    wchar_t className[64] = {};
    GetClassNameW(window.hwnd, className, 64);
    EXPECT_STREQ(className, L"Vantorra_window_class");
    EXPECT_NE(GetClassLongPtrW(window.hwnd, GCLP_HICON), 0); // the program's icon group

    RECT expected = {0, 0, 400, 300};
    AdjustWindowRect(&expected, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
    RECT outer = outerRect(window.hwnd);
    EXPECT_EQ(outer.right - outer.left, expected.right - expected.left);
    EXPECT_EQ(outer.bottom - outer.top, expected.bottom - expected.top);
    EXPECT_GT(expected.bottom - expected.top, 300); // a caption adds height
    EXPECT_EQ(window.width, 400);
    EXPECT_EQ(window.height, 300);
    RECT client = {};
    GetClientRect(window.hwnd, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_FALSE(IsWindowVisible(window.hwnd)); // run shows it

    Window borderless;
    borderless.setSize(608, 396);
    borderless.create(nullptr, "Borderless", VellGui::kDraggableWindow);
    outer = outerRect(borderless.hwnd);
    EXPECT_EQ(outer.right - outer.left, 608);
    EXPECT_EQ(outer.bottom - outer.top, 396);
    EXPECT_TRUE(GetWindowLongW(borderless.hwnd, GWL_STYLE) & WS_POPUP);
}

TEST_F(TopLevel, OpensOnTheMonitorUnderTheCursor) {
    systemHooks.workArea = fakeWorkArea;
    // The fake puts a second monitor where Wine's display ends; the cursor stays on the
    // real one, so the point that is looked up is checked as well.
    ASSERT_TRUE(SetCursorPos(1500, 500));
    Window window;
    window.setSize(608, 396);
    window.create(nullptr, "OnMonitor", VellGui::kDraggableWindow);
    ASSERT_EQ(lookedUp.size(), 1u);
    EXPECT_EQ(lookedUp[0].x, 1500);
    EXPECT_EQ(lookedUp[0].y, 500);
    EXPECT_EQ(window.x, (0 + 1920 - 608) / 2);
    EXPECT_EQ(window.y, (0 + 1040 - 396) / 2);

    // On a monitor whose work area starts right of the primary one.
    systemHooks.workArea = [](POINT) { return RECT{1920, 0, 3200, 1000}; };
    Window second;
    second.setSize(608, 396);
    second.create(nullptr, "OnSecond", VellGui::kDraggableWindow);
    EXPECT_EQ(second.x, (1920 + 3200 - 608) / 2);
    EXPECT_EQ(second.y, (1000 - 396) / 2);
    EXPECT_EQ(outerRect(second.hwnd).left, second.x);
}

// The starting program's window counts only while it is in front: the foreground window
// is one of that process's. Another program's window in front, without child windows like
// the launcher's own, leaves the cursor to decide.
TEST_F(TopLevel, TheStartingWindowCountsOnlyWhileItIsInFront) {
    Window window;
    window.setSize(300, 200);
    window.create(nullptr, "Starting", 0);
    bringToFront(window);
    RECT rect = outerRect(window.hwnd);
    auto centre = VellGui::startingWindowCentre(GetCurrentProcessId());
    ASSERT_TRUE(centre.has_value());
    EXPECT_EQ(centre->x, (rect.left + rect.right) / 2);
    EXPECT_EQ(centre->y, (rect.top + rect.bottom) / 2);
    EXPECT_FALSE(VellGui::startingWindowCentre(0).has_value());

    testing_support::InstallFolder folder;
    testing_support::setStandInGame(L"window", 20000);
    testing_support::ChildProcess game(folder.game(), L"", folder.path());
    HWND gameWindow = testing_support::waitForWindow(game.pid(), L"FakeGame", 20000);
    testing_support::resetStandInGame();
    ASSERT_NE(gameWindow, nullptr);
    SetForegroundWindow(gameWindow);
    ASSERT_TRUE(
        testing_support::waitFor([&] { return GetForegroundWindow() == gameWindow; }, 3000));
    EXPECT_FALSE(VellGui::startingWindowCentre(GetCurrentProcessId()).has_value());
    rect = outerRect(gameWindow);
    centre = VellGui::startingWindowCentre(game.pid());
    ASSERT_TRUE(centre.has_value());
    EXPECT_EQ(centre->x, (rect.left + rect.right) / 2);
    game.kill();
}

TEST_F(TopLevel, APointOutsideEveryMonitorTakesTheNearestOne) {
    RECT inside = systemWorkArea({1900, 1000});
    RECT outside = systemWorkArea({5000, 5000});
    EXPECT_TRUE(EqualRect(&inside, &outside));
    EXPECT_GT(inside.right - inside.left, 0);
}

TEST_F(TopLevel, OwnedWindowCentresOverItsOwnerAndDisablesItWhileOpen) {
    HookedWindow owner;
    owner.setSize(608, 396);
    owner.create(nullptr, "Owner", VellGui::kDraggableWindow);
    ShowWindow(owner.hwnd, SW_SHOW);

    HookedWindow owned;
    owned.setSize(400, 300);
    owned.create(&owner, "Owned", VellGui::kCaptionedWindow);
    RECT outer = outerRect(owned.hwnd);
    int outerWidth = outer.right - outer.left;
    int outerHeight = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, owner.x + (608 - outerWidth) / 2);
    EXPECT_EQ(outer.top, owner.y + (396 - outerHeight) / 2);
    EXPECT_EQ(GetWindow(owned.hwnd, GW_OWNER), owner.hwnd);
    EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
    EXPECT_FALSE(owner.enabled);
    ShowWindow(owned.hwnd, SW_SHOW);

    // A disabled window does not take the focus when restored.
    SetFocus(owned.hwnd);
    SendMessageW(owner.hwnd, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(GetFocus(), owned.hwnd);

    // Minimising the owned window takes the owner along.
    ShowWindow(owned.hwnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(owner.hwnd));
    ShowWindow(owner.hwnd, SW_RESTORE);
    ShowWindow(owned.hwnd, SW_RESTORE);

    // By the time the owned window is destroyed, its owner is enabled and focused.
    bool ownerEnabledAtDestroy = false;
    HWND focusAtDestroy = nullptr;
    owned.hook = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg == WM_DESTROY) {
            ownerEnabledAtDestroy = IsWindowEnabled(owner.hwnd);
            focusAtDestroy = GetFocus();
        }
        return 0;
    };
    owned.close();
    EXPECT_TRUE(ownerEnabledAtDestroy);
    EXPECT_EQ(focusAtDestroy, owner.hwnd);
    EXPECT_TRUE(owner.enabled);
    EXPECT_EQ(owned.hwnd, nullptr);
}

TEST_F(TopLevel, DraggingMovesOnlyABorderlessDraggableWindow) {
    auto drag = [](Window& window) {
        SendMessageW(window.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 20));
        POINT origin = {0, 0};
        ClientToScreen(window.hwnd, &origin);
        SendMessageW(window.hwnd, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(700 - origin.x, 420 - origin.y));
        SendMessageW(window.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(700 - origin.x, 420 - origin.y));
    };
    Window draggable;
    draggable.setSize(608, 396);
    draggable.create(nullptr, "Draggable", VellGui::kDraggableWindow);
    drag(draggable);
    RECT outer = outerRect(draggable.hwnd);
    EXPECT_EQ(outer.left, 600);
    EXPECT_EQ(outer.top, 400);
    EXPECT_EQ(outer.right - outer.left, 608);
    EXPECT_EQ(draggable.x, 600); // through WM_MOVE
    EXPECT_EQ(draggable.y, 400);
    EXPECT_NE(GetCapture(), draggable.hwnd);
    // Released: moving the mouse no longer moves the window.
    SendMessageW(draggable.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(outerRect(draggable.hwnd).left, 600);

    for (uint8_t kind : {uint8_t(0), VellGui::kCaptionedWindow}) {
        Window fixed;
        fixed.setSize(300, 200);
        fixed.create(nullptr, "Fixed", kind);
        RECT before = outerRect(fixed.hwnd);
        drag(fixed);
        RECT after = outerRect(fixed.hwnd);
        EXPECT_TRUE(EqualRect(&before, &after)) << int(kind);
    }
}

TEST_F(TopLevel, EscapeMovesTheFocusToTheTopLevelWindow) {
    HookedWindow window;
    window.setSize(300, 200);
    window.create(nullptr, "Escape", VellGui::kDraggableWindow);
    Probe button;
    button.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    button.createWindow(&window, 0, "Button", "OK");
    button.attach(&window);
    ASSERT_NE(button.hwnd, nullptr);

    constexpr UINT kStart = WM_APP + 1;
    constexpr UINT_PTR kLook = 77;
    HWND focusBefore = nullptr, focusAfter = nullptr;
    window.hook = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        if (hwnd != window.hwnd)
            return 0;
        if (msg == kStart) {
            SetForegroundWindow(hwnd);
            SetFocus(button.hwnd);
            focusBefore = GetFocus();
            testing_support::holdKey(VK_ESCAPE, true);
            SetTimer(hwnd, kLook, 300, nullptr);
        } else if (msg == WM_TIMER && wParam == kLook) {
            KillTimer(hwnd, kLook);
            focusAfter = GetFocus();
            testing_support::holdKey(VK_ESCAPE, false);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    };
    HWND buttonWindow = button.hwnd;
    HWND topWindow = window.hwnd;
    PostMessageW(topWindow, kStart, 0, 0);
    EXPECT_EQ(window.run(), 0);
    EXPECT_EQ(focusBefore, buttonWindow);
    EXPECT_EQ(focusAfter, topWindow);
    EXPECT_EQ(window.hwnd, nullptr); // closed, and the loop ended
}

// The controller in a window, tick by tick: it starts on the window's start control, moves
// through the focus order, presses the focused button once per press, goes back as Escape
// does, and does nothing while another window is in front.
TEST_F(TopLevel, ControllerMovesAndPressesAsTheKeyboardDoes) {
    working = {0};
    Window window;
    window.setSize(300, 200);
    window.create(nullptr, "Controllers", VellGui::kDraggableWindow);
    VellGui::Button buttons[3];
    int clicks[3] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i].setPosition(10, 10 + 40 * i);
        buttons[i].create(&window, nullptr, "Button", VellGui::kPushButton);
        buttons[i].onClick = [&clicks, i] { ++clicks[i]; };
    }
    window.padBindings = {{PadInput::B, &buttons[2], ""}};
    window.padStart = &buttons[1];
    bringToFront(window);
    SetFocus(window.hwnd);
    PadPolling polling;
    auto press = [&](DWORD held) {
        buttonsHeld = held;
        pollPads();
        buttonsHeld = 0;
        pollPads();
    };

    press(0);
    EXPECT_EQ(GetFocus(), window.hwnd) << "an idle controller moves nothing";
    EXPECT_FALSE(padInUse());
    press(kDown);
    EXPECT_EQ(GetFocus(), buttons[2].hwnd) << "from the start control, one down";
    EXPECT_TRUE(padInUse());
    press(kDown);
    EXPECT_EQ(GetFocus(), buttons[0].hwnd) << "round to the first";
    press(kUp);
    EXPECT_EQ(GetFocus(), buttons[2].hwnd);
    press(kUp);
    press(JOY_BUTTON1);
    EXPECT_EQ(clicks[1], 1);
    buttonsHeld = JOY_BUTTON1;
    for (int tick = 0; tick < 5; ++tick)
        pollPads();
    EXPECT_EQ(clicks[1], 2) << "a held button acts once";
    press(JOY_BUTTON2);
    EXPECT_EQ(clicks[2], 1) << "B presses its bound control";

    // Another window in front takes the presses.
    Window other;
    other.setSize(100, 100);
    other.create(nullptr, "InFront", 0);
    bringToFront(other);
    press(JOY_BUTTON1);
    EXPECT_EQ(clicks[0] + clicks[1] + clicks[2], 3);
    // Back in front, the controller goes on from the button it left.
    bringToFront(window);
    EXPECT_EQ(GetFocus(), buttons[1].hwnd);
}

// Opened while a controller is in use, a window shows its prompts and the focus on its start
// control; the keyboard takes over and the prompts go.
TEST_F(TopLevel, PromptsShowWhileTheControllerIsInUse) {
    HookedWindow window;
    window.setSize(300, 200);
    window.create(nullptr, "Prompts", VellGui::kDraggableWindow);
    VellGui::Button button;
    button.create(&window, nullptr, "Button", VellGui::kPushButton);
    VellGui::ButtonPrompts prompts;
    prompts.create(&window, nullptr, nullptr, RGB(0, 0, 0), {{PadInput::A, nullptr, "Go"}});
    window.prompts = &prompts;
    window.padStart = &button;
    const HWND buttonWindow = button.hwnd;
    EXPECT_FALSE(IsWindowVisible(prompts.hwnd));

    setPadInUse(true);
    bool shownAtFirst = false;
    HWND focusAtFirst = nullptr;
    constexpr UINT kLook = WM_APP + 1;
    constexpr UINT kDone = WM_APP + 2;
    window.hook = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (hwnd == window.hwnd && msg == kLook) {
            shownAtFirst = IsWindowVisible(prompts.hwnd);
            focusAtFirst = GetFocus();
            PostMessageW(button.hwnd, WM_KEYDOWN, VK_SHIFT, 0);
            PostMessageW(hwnd, kDone, 0, 0);
        } else if (hwnd == window.hwnd && msg == kDone) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    };
    PostMessageW(window.hwnd, kLook, 0, 0);
    EXPECT_EQ(window.run(), 0);
    EXPECT_TRUE(shownAtFirst);
    EXPECT_EQ(focusAtFirst, buttonWindow);
    EXPECT_FALSE(padInUse()) << "a key was pressed";
    EXPECT_FALSE(prompts.shown);
}

TEST_F(TopLevel, FailedRegistrationIsReportedAndThrows) {
    Window first;
    first.setSize(100, 100);
    first.create(nullptr, "Twice", 0);
    testing_support::MessageBoxCatcher boxes;
    Window second;
    second.setSize(100, 100);
    EXPECT_ANY_THROW(second.create(nullptr, "Twice", 0));
    EXPECT_EQ(second.hwnd, nullptr);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error");
    EXPECT_FALSE(boxes.boxes()[0].text.empty());
}
