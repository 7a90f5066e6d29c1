// The main window in this process: its layout, the game's version, what its rows do
// without a game beside it.
#include "launcher/Resources.h"
#include "platform/FileVersion.h"
#include "platform/SystemHooks.h"
#include "platform/VisualStyles.h"
#include "screens/MainWindow.h"
#include "settings/ConfigFile.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <regex>
#include <tuple>

using namespace testing_support;

namespace {

std::wstring currentDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, path);
    return path;
}

RECT placed(const VellGui::IObject& control) {
    RECT rect = {};
    GetWindowRect(control.hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(control.hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Left, top, right and bottom, for comparing.
std::tuple<LONG, LONG, LONG, LONG> edges(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT outer(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Two monitors side by side, the second from x = 1000.
RECT twoMonitors(POINT point) {
    return point.x >= 1000 ? RECT{1000, 0, 1920, 1080} : RECT{0, 0, 1000, 1080};
}

std::string windowText(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return narrow(text);
}

class MainScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui_testing::useThisModule();
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        loadResources();
    }

    void SetUp() override { previousDirectory = currentDirectory(); }
    void TearDown() override {
        systemHooks = SystemHooks{};
        SetCurrentDirectoryW(previousDirectory.c_str());
        gui_testing::drainQuit();
    }

    // The game is looked up relative to the current folder.
    static void enter(const TempDir& folder) {
        ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    }

    static void bringToFront(HWND window) {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        ASSERT_TRUE(waitFor(
            [&] {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&msg);
                return GetForegroundWindow() == window;
            },
            3000));
    }

    std::wstring previousDirectory;
    TempDir scratch;
    ConfigFile config{narrow(scratch / L"vantorra.ini")};
};

} // namespace

TEST_F(MainScreen, VersionOfTheGameExecutable) {
    // The stand-in game carries file version 2.5.11.0; the test programs carry none.
    EXPECT_STREQ(getFileVersionString(narrow(fakeGameExe()).c_str()), "2.5.11");
    EXPECT_STREQ(getFileVersionString(narrow(testsDir() + L"CrashProbe.exe").c_str()), "");
    EXPECT_STREQ(getFileVersionString(narrow(scratch / L"missing.exe").c_str()), "");
    ASSERT_TRUE(writeFile(scratch / L"text.exe", "not a program"));
    EXPECT_STREQ(getFileVersionString(narrow(scratch / L"text.exe").c_str()), "");
}

TEST_F(MainScreen, LayoutAndVersionLabel) {
    InstallFolder folder;
    enter(folder);
    MainWindow window(config, launcherArtwork());
    ASSERT_NE(window.hwnd, nullptr);
    EXPECT_EQ(windowText(window.hwnd), "Vantorra");
    EXPECT_EQ(window.kind, VellGui::kDraggableWindow);
    RECT client = {};
    GetClientRect(window.hwnd, &client);
    EXPECT_EQ(client.right, 608);
    EXPECT_EQ(client.bottom, 396);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));

    RECT back = placed(window.background);
    EXPECT_EQ(back.left, 0);
    EXPECT_EQ(back.top, 0);
    EXPECT_EQ(back.right, 608);
    EXPECT_EQ(back.bottom, 396);
    EXPECT_FALSE(window.background.alphaBlend);
    EXPECT_EQ(GetWindowLongW(window.background.hwnd, GWL_STYLE) & SS_NOTIFY, 0);

    VellGui::Image* icons[] = {&window.playIcon, &window.optionsIcon, &window.accountIcon,
                               &window.quitIcon};
    VellGui::Button* buttons[] = {&window.playButton, &window.optionsButton, &window.accountButton,
                                  &window.quitButton};
    const char* captions[] = {"STARTEN", "EINSTELLUNGEN", "QUENMARK ACCOUNT", "BEENDEN"};
    const uint8_t hotKeys[] = {VK_RETURN, 0, 0, VK_ESCAPE};
    for (int row = 0; row < 4; ++row) {
        RECT icon = placed(*icons[row]);
        EXPECT_EQ(icon.left, 88) << row;
        EXPECT_EQ(icon.top, 148 + 52 * row) << row;
        EXPECT_EQ(icon.right - icon.left, 25) << row;
        EXPECT_EQ(icon.bottom - icon.top, 25) << row;
        EXPECT_TRUE(icons[row]->alphaBlend) << row;
        EXPECT_NE(GetWindowLongW(icons[row]->hwnd, GWL_STYLE) & SS_NOTIFY, 0) << row;

        RECT button = placed(*buttons[row]);
        EXPECT_EQ(button.left, 123) << row;
        EXPECT_EQ(button.top, 144 + 52 * row) << row;
        EXPECT_EQ(button.right - button.left, 176) << row;
        EXPECT_EQ(button.bottom - button.top, 34) << row;
        EXPECT_EQ(windowText(buttons[row]->hwnd), captions[row]);
        EXPECT_EQ(buttons[row]->font, &fontImpact25);
        EXPECT_EQ(buttons[row]->kind, VellGui::kHoverTextButton);
        EXPECT_EQ(buttons[row]->normalColor, RGB(4, 4, 4));
        EXPECT_EQ(buttons[row]->highlightColor, RGB(138, 138, 138));
        EXPECT_EQ(buttons[row]->hotKey, hotKeys[row]) << row;
        EXPECT_TRUE(buttons[row]->onClick && icons[row]->onClick) << row;
    }

    EXPECT_EQ(window.versionLabel.text, "2.5.11");
    RECT version = placed(window.versionLabel);
    EXPECT_EQ(version.right, 603);
    EXPECT_EQ(version.bottom, 394);
    EXPECT_GT(version.right - version.left, 0);
    EXPECT_EQ(window.versionLabel.font, &fontImpact15);
    EXPECT_EQ(window.versionLabel.textColor, RGB(238, 238, 238));
    EXPECT_TRUE(window.versionLabel.transparent);
    EXPECT_TRUE(window.commandLine.empty());
}

// Its controls draw themselves: they are the system's own, and Common Controls 6 with its
// visual styles stays out of the start-up. The windows that show visual styles get it.
TEST_F(MainScreen, ControlsAreTheSystemsOwnWithoutVisualStyles) {
    auto moduleOf = [](const void* code) {
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const wchar_t*>(code), &module);
        return module;
    };
    InstallFolder folder;
    enter(folder);
    MainWindow window(config, launcherArtwork());
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const VellGui::IObject* controls[] = {&window.background, &window.playIcon, &window.playButton,
                                          &window.versionLabel};
    for (const VellGui::IObject* control : controls)
        EXPECT_EQ(moduleOf(reinterpret_cast<const void*>(control->previousProc)), user32);

    VisualStyles styles;
    HWND styled = CreateWindowW(L"Button", L"styled", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(styled, nullptr);
    HMODULE styledModule =
        moduleOf(reinterpret_cast<const void*>(GetWindowLongPtrW(styled, GWLP_WNDPROC)));
    EXPECT_NE(styledModule, user32);
    EXPECT_EQ(styledModule, GetModuleHandleW(L"comctl32.dll"));
    DestroyWindow(styled);
}

TEST_F(MainScreen, NoVersionWithoutRecordOrFile) {
    InstallFolder noRecord(false);
    ASSERT_TRUE(copyFile(testsDir() + L"CrashProbe.exe", noRecord.game()));
    enter(noRecord);
    MainWindow unversioned(config, launcherArtwork());
    EXPECT_EQ(unversioned.versionLabel.text, "");
    unversioned.close();

    InstallFolder empty(false);
    enter(empty);
    MainWindow missing(config, launcherArtwork());
    EXPECT_EQ(missing.versionLabel.text, "");
}

// Without a game beside it, Play saves the settings, reports the missing executable and
// leaves the window open; the Play icon does the same; the Quit icon closes.
TEST_F(MainScreen, RowsWithoutAGame) {
    InstallFolder empty(false);
    enter(empty);
    MessageBoxCatcher boxes;
    MainWindow window(config, launcherArtwork());
    auto command = [&](VellGui::IObject& from) {
        SendMessageW(window.hwnd, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(from.hwnd));
    };

    command(window.playButton);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Executable not found!");
    EXPECT_TRUE(IsWindow(window.hwnd));
    auto ini = readFile(scratch / L"vantorra.ini");
    ASSERT_TRUE(ini.has_value());
    for (const char* key : {"Window", "Resolution", "Adapter", "StartUpperPos"})
        EXPECT_TRUE(
            std::regex_search(*ini, std::regex(std::string("(^|\n)") + key + " [^\r\n]+\r\n")))
            << key << " in " << *ini;

    command(window.playIcon);
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(IsWindow(window.hwnd));

    HWND closing = window.hwnd;
    command(window.quitIcon);
    EXPECT_FALSE(IsWindow(closing));
    EXPECT_EQ(window.hwnd, nullptr);
    EXPECT_EQ(boxes.boxes().size(), 2u);
}

// Moved onto a monitor of 144 DPI and back, as WM_DPICHANGED tells it: the window takes
// each suggested rectangle and lays itself out for the scale, from the same places at
// 96 DPI; back there it looks exactly like a window that never left.
TEST_F(MainScreen, FollowsTheScaleOfItsMonitorThereAndBack) {
    using testing_support::windowPixels;
    InstallFolder folder;
    enter(folder);
    testing_support::ScreenPixels fresh;
    {
        MainWindow window(config, launcherArtwork());
        fresh = windowPixels(window.hwnd);
        window.close();
    }
    gui_testing::drainQuit();
    ASSERT_FALSE(fresh.bgra.empty());

    MainWindow window(config, launcherArtwork());
    windowPixels(window.hwnd);
    const RECT home = outer(window.hwnd);
    const RECT there = {home.left - 150, home.top - 90, home.left - 150 + 912, home.top - 90 + 594};
    SendMessageW(window.hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&there));
    EXPECT_EQ(edges(outer(window.hwnd)), edges(there));
    EXPECT_EQ(edges(placed(window.background)), edges({0, 0, 912, 594}));
    EXPECT_EQ(edges(placed(window.playIcon)), edges({132, 222, 170, 260}));
    EXPECT_EQ(edges(placed(window.playButton)), edges({185, 216, 449, 267}));
    EXPECT_EQ(placed(window.quitIcon).top, 456);
    EXPECT_EQ(placed(window.quitButton).top, 450);
    RECT version = placed(window.versionLabel);
    EXPECT_EQ(version.right, 904);
    EXPECT_EQ(version.bottom, 591);
    EXPECT_EQ(windowText(window.versionLabel.hwnd), "2.5.11");

    SendMessageW(window.hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&home));
    EXPECT_EQ(edges(outer(window.hwnd)), edges(home));
    EXPECT_TRUE(windowPixels(window.hwnd) == fresh);

    // Dragged by a point near its right edge onto a monitor of 144 DPI that begins at
    // x = 1000: the system changes the scale once most of the window is there. The window
    // follows the cursor at the new scale, but no further back than keeps most of it on that
    // monitor, or the scale would flip back at the next move.
    systemHooks.monitorArea = twoMonitors;
    systemHooks.workArea = twoMonitors;
    const POINT cursor = {home.left + 500, home.top + 20};
    SetCursorPos(cursor.x, cursor.y);
    ASSERT_TRUE(waitFor(
        [&] {
            POINT now = {};
            GetCursorPos(&now);
            return now.x == cursor.x && now.y == cursor.y;
        },
        1000));
    SendMessageW(window.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 20));
    const RECT suggested = {home.left, home.top, home.left + 912, home.top + 594};
    ASSERT_GE((suggested.left + suggested.right) / 2, 1000);
    SendMessageW(window.hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT dragged = outer(window.hwnd);
    EXPECT_EQ(edges(dragged),
              edges({1000 - 456, cursor.y - 30, 1000 - 456 + 912, cursor.y - 30 + 594}))
        << "at the cursor less the point held, " << cursor.x - 750
        << ", most of it would be on the first monitor";
    EXPECT_GE((dragged.left + dragged.right) / 2, 1000);
    EXPECT_TRUE(cursor.x >= dragged.left && cursor.x < dragged.right);
    SendMessageW(window.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(cursor.x - dragged.left, 30));

    // Not dragged, a rectangle reaching past the work area is moved into it.
    const RECT pastTheEdge = {-50, -20, -50 + 608, -20 + 396};
    SendMessageW(window.hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&pastTheEdge));
    EXPECT_EQ(edges(outer(window.hwnd)), edges({0, 0, 608, 396}));
}
