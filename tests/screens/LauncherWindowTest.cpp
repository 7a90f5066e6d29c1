// The built launcher's main window, driven with synthesized keys and mouse as a player
// would drive it.
#include "gui/Font.h"
#include "pictures/Resample.h"
#include "platform/ComPtr.h"
#include "platform/Files.h"
#include "settings/ConfigFile.h"
#include "tests/screens/LauncherDriver.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <knownfolders.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <optional>
#include <regex>
#include <vector>

using namespace testing_support;

namespace {

class LauncherWindow : public LauncherDriver {
protected:
    void SetUp() override {
        setStandInGame(L"window", 10000);
        DeleteFileW(wide(ConfigFile().path()).c_str());
    }
    void TearDown() override { resetStandInGame(); }
};

} // namespace

TEST_F(LauncherWindow, BorderlessCentredAndReturnStartsTheGame) {
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = start(launcher, folder, L"+map one&two");
    ASSERT_NE(window, nullptr);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
    RECT rect = outer(window);
    EXPECT_EQ(rect.right - rect.left, 608);
    EXPECT_EQ(rect.bottom - rect.top, 396);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    EXPECT_EQ(rect.left, (monitor.rcWork.left + monitor.rcWork.right - 608) / 2);
    EXPECT_EQ(rect.top, (monitor.rcWork.top + monitor.rcWork.bottom - 396) / 2);

    pressKey(VK_RETURN);
    EXPECT_TRUE(endsWithZero(launcher));
    auto starts = folder.gameStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(parseGameStart(starts[0]).commandLine, "\".\\Vantorra.exe\" +map one two");
    auto ini = readFile(wide(ConfigFile().path()));
    ASSERT_TRUE(ini.has_value());
    for (const char* name : {"Window", "Resolution", "Adapter", "StartUpperPos"})
        EXPECT_TRUE(
            std::regex_search(*ini, std::regex(std::string("(^|\n)") + name + " [^\r\n]+\r\n")))
            << name << " in " << *ini;
}

TEST_F(LauncherWindow, EscapeAndQuitEndWithoutTheGame) {
    InstallFolder folder;
    ChildProcess launcher;
    ASSERT_NE(start(launcher, folder), nullptr);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(endsWithZero(launcher));

    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    // "BEENDEN"
    EXPECT_TRUE(clickUntil(at(window, 123 + 40, 300 + 17), [&] { return !launcher.running(); }));
    EXPECT_TRUE(endsWithZero(launcher));
    EXPECT_TRUE(folder.gameStarts().empty());
}

TEST_F(LauncherWindow, PlayIconStartsTheGame) {
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(clickUntil(at(window, 88 + 12, 148 + 12), [&] { return !launcher.running(); }));
    EXPECT_TRUE(endsWithZero(launcher));
    EXPECT_EQ(folder.gameStarts().size(), 1u);
}

TEST_F(LauncherWindow, MissingGameIsReportedAndTheWindowStays) {
    InstallFolder folder(false);
    ChildProcess launcher;
    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    pressKey(VK_RETURN);
    auto box = closeMessageBox(launcher.pid(), kTimeoutMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "Executable not found!");
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(launcher.running());

    // Dragged by its background picture.
    // Screen points from where the window was: it follows the mouse while it moves.
    RECT before = outer(window);
    auto from = [&](int x, int y) { return POINT{before.left + x, before.top + y}; };
    // The button goes up only once the window has followed, as a player's hand would.
    auto movedBy = [&](int dx, int dy) {
        return waitFor(
            [&] {
                RECT now = outer(window);
                return now.left == before.left + dx && now.top == before.top + dy;
            },
            3000);
    };
    mouse(MOUSEEVENTF_MOVE, from(400, 60));
    mouse(MOUSEEVENTF_LEFTDOWN);
    mouse(MOUSEEVENTF_MOVE, from(440, 90));
    EXPECT_TRUE(movedBy(40, 30));
    mouse(MOUSEEVENTF_MOVE, from(450, 100));
    EXPECT_TRUE(movedBy(50, 40));
    mouse(MOUSEEVENTF_LEFTUP);
    RECT after = outer(window);
    EXPECT_EQ(after.left, before.left + 50);
    EXPECT_EQ(after.top, before.top + 40);

    SetForegroundWindow(window);
    waitFor([&] { return GetForegroundWindow() == window; }, 3000);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(endsWithZero(launcher));
}

// The folder spelled in other letter case or through its 8.3 short name is the same
// folder: neither a second launcher nor a second game may start. (Wine gives every
// process its long path whatever it was started with; Windows keeps short names.)
TEST_F(LauncherWindow, SecondLauncherGivesWayToTheFirst) {
    InstallFolder folder;
    wchar_t shortName[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(folder.path().c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    const std::wstring shortFolder = shortName;
    ASSERT_NE(shortFolder, folder.path());
    std::wstring upperFolder = folder.path();
    CharUpperBuffW(upperFolder.data(), static_cast<DWORD>(upperFolder.size()));
    ChildProcess first;
    HWND window = start(first, folder);
    ASSERT_NE(window, nullptr);

    // Something else in front, then second launchers from the same folder.
    ChildProcess game(shortFolder + L"Vantorra.exe", L"", shortFolder);
    HWND gameWindow = waitForWindow(game.pid(), L"FakeGame", kTimeoutMs);
    ASSERT_NE(gameWindow, nullptr);
    for (const std::wstring& spelling : {folder.path(), upperFolder, shortFolder}) {
        SCOPED_TRACE(narrow(spelling));
        // Minimised, it comes back restored: in front as an icon, it would show nothing.
        if (spelling == upperFolder) {
            ShowWindow(window, SW_MINIMIZE);
            ASSERT_TRUE(waitFor([&] { return IsIconic(window); }, 3000));
        }
        SetForegroundWindow(gameWindow);
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == gameWindow; }, 3000));
        ChildProcess second(spelling + L"VantorraLauncher.exe", L"", spelling);
        // It gives way unseen: the window it builds while it checks is never shown.
        bool shown = false;
        std::optional<DWORD> code;
        for (DWORD waited = 0; !code && waited < kTimeoutMs; waited += 5) {
            shown = shown || waitForWindow(second.pid(), L"Vantorra", 0) != nullptr;
            code = second.wait(5);
        }
        EXPECT_EQ(code, std::optional<DWORD>(0));
        EXPECT_FALSE(shown);
        EXPECT_TRUE(
            waitFor([&] { return GetForegroundWindow() == window && !IsIconic(window); }, 3000));
    }

    // Play while the game runs from this folder: the game comes to the front, nothing
    // is started, and the launcher ends.
    pressKey(VK_RETURN);
    EXPECT_EQ(first.wait(kTimeoutMs), std::optional<DWORD>(0));
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == gameWindow; }, 3000));
    EXPECT_EQ(folder.gameStarts().size(), 1u);
    game.kill();
}

// The caption under the mouse turns grey; the picture of the window is kept for the README.
TEST_F(LauncherWindow, HoverHighlightsTheCaptionUnderTheMouse) {
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    RECT options = outer(window);
    options.left += 123;
    options.top += 196;
    options.right = options.left + 176;
    options.bottom = options.top + 34;
    const COLORREF grey = RGB(138, 138, 138);
    const COLORREF nearBlack = RGB(4, 4, 4);
    mouse(MOUSEEVENTF_MOVE, at(window, 560, 40));
    ASSERT_TRUE(waitFor([&] { return countColour(options, nearBlack) > 50; }, 3000));
    int greyBefore = countColour(options, grey);

    mouse(MOUSEEVENTF_MOVE, at(window, 123 + 60, 196 + 17));
    EXPECT_TRUE(waitFor([&] { return countColour(options, grey) > greyBefore + 50; }, 3000));
    EXPECT_LT(countColour(options, nearBlack), 10);
    EXPECT_TRUE(testing_support::saveScreenPng(outer(window), testsDir() + L"main-window.png"));

    // Back on the background, the caption is dark again.
    mouse(MOUSEEVENTF_MOVE, at(window, 450, 120));
    EXPECT_TRUE(waitFor([&] { return countColour(options, nearBlack) > 50; }, 3000));
    EXPECT_EQ(countColour(options, grey), greyBefore);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(endsWithZero(launcher));
}

// The player switches to full screen and saves; then changes again and leaves with Escape.
TEST_F(LauncherWindow, OptionsSaveTheDisplayModeAndEscapeWritesNothing) {
    const std::string before = "; the player's own notes\r\n"
                               "Volume 80\r\n"
                               "Window 1\r\n"
                               "WindowTitle=Mine\r\n"
                               "[Keys]\r\n"
                               "Jump Space\r\n";
    const std::wstring ini = wide(ConfigFile().path());
    ASSERT_TRUE(writeFile(ini, before));
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = nullptr;
    HWND options = startWithOptions(launcher, folder, window);
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(IsWindowEnabled(window));
    auto lists = children(options, L"ComboBox");
    ASSERT_EQ(lists.size(), 3u);
    HWND modeList = lists[1];
    HWND modeLabel = labelBeside(options, modeList);
    ASSERT_NE(modeLabel, nullptr);
    EXPECT_EQ(SendMessageW(modeList, CB_GETCURSEL, 0, 0), 1);
    int regularWidth = widthOf(modeLabel);

    // Open the list, one entry up to "Vollbild", confirm.
    ASSERT_TRUE(clickUntil(centre(modeList),
                           [&] { return SendMessageW(modeList, CB_GETDROPPEDSTATE, 0, 0); }));
    pressKey(VK_UP);
    pressKey(VK_RETURN);
    EXPECT_TRUE(waitFor([&] { return SendMessageW(modeList, CB_GETCURSEL, 0, 0) == 0; }, 3000));
    EXPECT_TRUE(waitFor([&] { return widthOf(modeLabel) > regularWidth; }, 3000))
        << "the label of the changed row turns bold";
    Sleep(300);
    EXPECT_TRUE(testing_support::saveScreenPng(outer(options), testsDir() + L"options-window.png"));

    auto save = children(options, L"Button", L"Speichern");
    ASSERT_EQ(save.size(), 1u);
    ASSERT_TRUE(clickUntil(centre(save[0]), [&] { return !IsWindow(options); }));
    EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(window); }, 3000));
    auto saved = readFile(ini);
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(saved->find("\r\nWindow 0\r\n") != std::string::npos) << *saved;
    for (const char* line : {"; the player's own notes\r\n", "Volume 80\r\n",
                             "WindowTitle=Mine\r\n", "[Keys]\r\n", "Jump Space\r\n"})
        EXPECT_TRUE(saved->find(line) != std::string::npos) << line;
    for (const char* name : {"Resolution", "Adapter", "StartUpperPos"})
        EXPECT_TRUE(
            std::regex_search(*saved, std::regex(std::string("\n") + name + " [^\r\n]+\r\n")))
            << name << " in " << *saved;

    // Again, a change, then Escape: nothing written.
    options = openOptions(launcher, window);
    ASSERT_NE(options, nullptr);
    lists = children(options, L"ComboBox");
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(SendMessageW(lists[1], CB_GETCURSEL, 0, 0), 0);
    ASSERT_TRUE(clickUntil(centre(lists[1]),
                           [&] { return SendMessageW(lists[1], CB_GETDROPPEDSTATE, 0, 0); }));
    pressKey(VK_DOWN);
    pressKey(VK_RETURN);
    EXPECT_TRUE(waitFor([&] { return SendMessageW(lists[1], CB_GETCURSEL, 0, 0) == 1; }, 3000));
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
    EXPECT_EQ(readFile(ini), saved);
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }, 3000));

    pressKey(VK_ESCAPE);
    EXPECT_TRUE(endsWithZero(launcher));
    EXPECT_TRUE(folder.gameStarts().empty());
}

// The main window closed from outside while the options window is open (the session
// ending, a task manager): the launcher ends at once, and the options are not saved.
TEST_F(LauncherWindow, ClosedWithTheOptionsOpenItEndsAtOnceAndWritesNothing) {
    // Three managed keys are missing: any save would write them.
    const std::wstring ini = wide(ConfigFile().path());
    ASSERT_TRUE(writeFile(ini, "Window 1\r\n"));
    InstallFolder folder;
    for (int round = 0; round < 12; ++round) {
        ChildProcess launcher(folder.launcher(), L"", folder.path());
        HWND window = waitForWindow(launcher.pid(), L"Vantorra", kTimeoutMs);
        ASSERT_TRUE(window && pressButton(window, L"EINSTELLUNGEN"));
        ASSERT_TRUE(waitForWindow(launcher.pid(), L"Einstellungen", kTimeoutMs));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.wait(1000), std::optional<DWORD>(0)) << "round " << round;
    }
    EXPECT_EQ(readFile(ini), "Window 1\r\n");
}

// Speichern when the file cannot be written: the player is told, with the file and the
// system's reason, and the file stays byte for byte as it was.
TEST_F(LauncherWindow, OptionsSaveThatCannotWriteSaysSo) {
    const std::string before = "Volume 80\r\nWindow 1\r\n";
    const std::string path = ConfigFile().path();
    const std::wstring ini = wide(path);
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "held by another program");
        ASSERT_TRUE(writeFile(ini, before));
        InstallFolder folder;
        ChildProcess launcher;
        HWND window = nullptr;
        HWND options = startWithOptions(launcher, folder, window);
        ASSERT_NE(options, nullptr);

        // Three managed keys are missing, so Speichern has to write.
        std::optional<HeldFile> held;
        if (readOnly) {
            ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            held.emplace(ini, false);
            ASSERT_TRUE(held->held());
        }
        auto save = children(options, L"Button", L"Speichern");
        ASSERT_EQ(save.size(), 1u);
        std::optional<MessageBoxText> box;
        EXPECT_TRUE(clickUntil(centre(save[0]), [&] {
            return (box = closeMessageBox(launcher.pid(), 0)).has_value();
        }));
        ASSERT_TRUE(box.has_value());
        size_t lineBreak = box->text.find('\n');
        ASSERT_NE(lineBreak, std::string::npos) << box->text;
        EXPECT_GT(lineBreak, 0u) << "the system's reason comes first: " << box->text;
        EXPECT_NE(box->text.find(path, lineBreak), std::string::npos) << box->text;
        EXPECT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));

        held.reset();
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(readFile(ini), before);
        EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(window); }, 3000));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(endsWithZero(launcher));
    }
}

namespace {

// What an assistive program learns of a control from outside the launcher's process:
// its window text (WM_GETTEXT, which the system carries across processes), the name
// Active Accessibility gives it, and for a list every entry and the selection.
struct Readout {
    std::wstring className;
    std::wstring text;
    std::wstring name;
    std::vector<std::wstring> entries;
};

std::wstring windowText(HWND control) {
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        &copied);
    return text;
}

std::wstring accessibleName(HWND control) {
    ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.put()))))
        return L"<no object>";
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) != S_OK || !name)
        return L"";
    std::wstring result(name, SysStringLen(name));
    SysFreeString(name);
    return result;
}

BOOL CALLBACK collect(HWND control, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(control);
    return TRUE;
}

std::vector<Readout> readControls(HWND window) {
    std::vector<HWND> controls;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&controls));
    std::vector<Readout> read;
    for (HWND control : controls) {
        wchar_t className[64] = {};
        GetClassNameW(control, className, 64);
        Readout readout = {className, windowText(control), accessibleName(control), {}};
        if (_wcsicmp(className, L"ComboBox") == 0) {
            auto count = SendMessageW(control, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                wchar_t entry[256] = {};
                if (SendMessageW(control, CB_GETLBTEXTLEN, i, 0) < 256)
                    SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
                readout.entries.push_back(entry);
            }
        }
        read.push_back(readout);
    }
    return read;
}

// The controls of that class whose window text and accessible name are both `text`.
int countNamed(const std::vector<Readout>& read, const wchar_t* className,
               const std::wstring& text) {
    int found = 0;
    for (const Readout& readout : read)
        found += _wcsicmp(readout.className.c_str(), className) == 0 && readout.text == text &&
                 readout.name == text;
    return found;
}

std::string describe(const std::vector<Readout>& read) {
    std::string text;
    for (const Readout& readout : read) {
        text += narrow(readout.className) + " \"" + narrow(readout.text) + "\" named \"" +
                narrow(readout.name) + "\"";
        for (const std::wstring& entry : readout.entries)
            text += " [" + narrow(entry) + "]";
        text += "\n";
    }
    return text;
}

} // namespace

// Every caption, label, list entry and selection can be read from outside, as a screen
// reader reads them; the focus on a list is visible.
TEST_F(LauncherWindow, AnAssistiveProgramReadsEveryText) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);

    auto main = readControls(window);
    for (const wchar_t* caption : {L"STARTEN", L"EINSTELLUNGEN", L"QUENMARK ACCOUNT", L"BEENDEN"}) {
        EXPECT_EQ(countNamed(main, L"Button", caption), 1) << narrow(caption) << "\n"
                                                           << describe(main);
        EXPECT_EQ(countNamed(main, L"Static", caption), 1)
            << "the icon of the row of " << narrow(caption) << "\n"
            << describe(main);
    }
    EXPECT_EQ(countNamed(main, L"Static", L"2.5.11"), 1) << "the version\n" << describe(main);

    HWND options = openOptions(launcher, window);
    ASSERT_NE(options, nullptr);
    auto read = readControls(options);
    for (const wchar_t* label : {L"Monitor", L"Anzeigemodus", L"Aufl\u00f6sung"})
        EXPECT_EQ(countNamed(read, L"Static", label), 1) << narrow(label) << "\n" << describe(read);
    for (const wchar_t* caption : {L"Zur\u00fccksetzen", L"Speichern", L"Abbrechen"})
        EXPECT_EQ(countNamed(read, L"Button", caption), 1) << narrow(caption) << "\n"
                                                           << describe(read);
    std::vector<const Readout*> lists;
    for (const Readout& readout : read) {
        if (_wcsicmp(readout.className.c_str(), L"ComboBox") == 0)
            lists.push_back(&readout);
    }
    ASSERT_EQ(lists.size(), 3u) << describe(read);
    // Monitor, display mode and resolution, each with its selection as its text.
    EXPECT_EQ(lists[0]->entries, std::vector<std::wstring>{L"Prim\u00e4r"});
    EXPECT_EQ(lists[0]->text, L"Prim\u00e4r");
    EXPECT_EQ(lists[1]->entries, (std::vector<std::wstring>{L"Vollbild", L"Fenster (Rahmenlos)"}));
    EXPECT_EQ(lists[1]->text, L"Fenster (Rahmenlos)");
    EXPECT_NE(std::find(lists[2]->entries.begin(), lists[2]->entries.end(), L"1920 x 1080"),
              lists[2]->entries.end());
    EXPECT_EQ(lists[2]->text, L"1920 x 1080");

    // Tab to the display mode list: its face shows the focus.
    HWND modeList = children(options, L"ComboBox")[1];
    RECT face = outer(modeList);
    auto focus = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(options, nullptr), &info);
        return info.hwndFocus;
    };
    mouse(MOUSEEVENTF_MOVE, at(options, 20, 20)); // nowhere near the lists
    ASSERT_NE(focus(), modeList);
    Sleep(300);
    auto unfocused = testing_support::captureScreen(face);
    for (int tab = 0; tab < 8 && focus() != modeList; ++tab) {
        pressKey(VK_TAB);
        waitFor([&] { return focus() == modeList; }, 500);
    }
    ASSERT_EQ(focus(), modeList);
    EXPECT_TRUE(
        waitFor([&] { return testing_support::captureScreen(face).bgra != unfocused.bgra; }, 3000));

    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(endsWithZero(launcher));
    CoUninitialize();
}

namespace {

// Where a caption is dark on its light card: each pixel darker than mid-grey, cut to the
// box around them.
struct Ink {
    int width = 0;
    int height = 0;
    std::vector<bool> dark;
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && dark[size_t(y) * width + x];
    }
};

Ink inkOf(const std::vector<uint32_t>& bgra, int width, int height) {
    auto darkAt = [&](int x, int y) {
        uint32_t pixel = bgra[size_t(y) * width + x];
        int luma =
            (299 * ((pixel >> 16) & 0xFF) + 587 * ((pixel >> 8) & 0xFF) + 114 * (pixel & 0xFF)) /
            1000;
        return luma < 128;
    };
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (darkAt(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    Ink ink;
    if (right < 0)
        return ink;
    ink.width = right - left + 1;
    ink.height = bottom - top + 1;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            ink.dark.push_back(darkAt(x, y));
    return ink;
}

// The caption drawn in this process with the launcher's font, black on white, as grey levels.
std::vector<uint32_t> drawCaption(const wchar_t* text, UINT dpi, int width, int height) {
    static VellGui::Font impact;
    if (!impact.font)
        impact.load(MAKEINTRESOURCEA(100), "Impact", 25, FW_NORMAL);
    std::vector<uint32_t> pixels(size_t(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    HGDIOBJ previousFont = SelectObject(dc, impact.handle(dpi));
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// Pixels where the two disagree, the boxes laid on each other at their top left corners.
int mismatch(const Ink& a, const Ink& b) {
    int differing = 0;
    for (int y = 0; y < std::max(a.height, b.height); ++y)
        for (int x = 0; x < std::max(a.width, b.width); ++x)
            differing += a.at(x, y) != b.at(x, y);
    return differing;
}

UINT screenDpi() {
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi;
}

// At the display scales players use most. Wine reads its scale when a prefix's programs
// start: every scale but 96 DPI runs in a session of its own (ctest's
// screens_launcher_tests_dpi*), whose filter picks its instance.
class LauncherAtScale : public LauncherWindow, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        LauncherWindow::SetUp();
        // Windowless, so that a game or a page opened by one click never covers the next.
        setStandInGame(L"windowless", 10000);
    }
    int scaled(int pixels) const { return MulDiv(pixels, GetParam(), 96); }
    // The middle of a control placed at (x, y) with that size at 96 DPI.
    POINT middle(HWND window, int x, int y, int width, int height) const {
        return at(window, scaled(x) + scaled(width) / 2, scaled(y) + scaled(height) / 2);
    }
};

} // namespace

TEST_P(LauncherAtScale, WindowsRowsAndCaptionsFollowTheScale) {
    const int dpi = GetParam();
    ASSERT_EQ(screenDpi(), UINT(dpi)) << "a session whose prefix has the scale runs this";
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    RECT rect = outer(window);
    EXPECT_EQ(rect.right - rect.left, scaled(608));
    EXPECT_EQ(rect.bottom - rect.top, scaled(396));

    // The caption of the first row, as tall as the scale says and drawn from the font at
    // that size: a picture of the 96-DPI caption stretched would differ.
    mouse(MOUSEEVENTF_MOVE, at(window, scaled(560), scaled(40)));
    Sleep(300);
    RECT captionArea = {rect.left + scaled(123), rect.top + scaled(144),
                        rect.left + scaled(123 + 176), rect.top + scaled(144 + 34)};
    auto shown = testing_support::captureScreen(captionArea);
    Ink caption = inkOf(shown.bgra, shown.width, shown.height);
    const int w = scaled(176), h = scaled(34);
    Ink font = inkOf(drawCaption(L"STARTEN", dpi, w, h), w, h);
    Ink at96 = inkOf(drawCaption(L"STARTEN", 96, 176, 34), 176, 34);
    ASSERT_GT(at96.height, 10);
    EXPECT_NEAR(caption.height, at96.height * dpi / 96.0, 1.0);
    EXPECT_LT(mismatch(caption, font), caption.width * caption.height / 20);
    if (dpi != 96) {
        auto grey = drawCaption(L"STARTEN", 96, 176, 34);
        for (uint32_t& pixel : grey)
            pixel |= 0xFF000000u; // opaque, as the resampler reads premultiplied pixels
        Ink stretched = inkOf(VellGui::resamplePixels(grey.data(), 176, 34, w, h), w, h);
        EXPECT_GT(mismatch(caption, stretched), mismatch(caption, font));
        std::printf("caption %d x %d px (%d x %d at 96 DPI); pixels unlike the font's: %d, "
                    "unlike the 96-DPI caption stretched: %d\n",
                    caption.width, caption.height, at96.width, at96.height, mismatch(caption, font),
                    mismatch(caption, stretched));
    }

    // The pictures for the README, beside those at 96 DPI.
    const std::wstring suffix = L"-" + std::to_wstring(dpi) + L".png";
    mouse(MOUSEEVENTF_MOVE, middle(window, 123, 196, 176, 34));
    Sleep(300);
    if (dpi != 96) {
        EXPECT_TRUE(testing_support::saveScreenPng(rect, testsDir() + L"main-window" + suffix));
    }

    // Each row's button and icon, clicked in their middles at this scale.
    HWND options = nullptr;
    for (POINT click : {middle(window, 123, 196, 176, 34), middle(window, 88, 200, 25, 25)}) {
        ASSERT_TRUE(clickUntil(click, [&] {
            return (options = waitForWindow(launcher.pid(), L"Einstellungen", 0)) != nullptr;
        }));
        RECT client = {};
        GetClientRect(options, &client);
        EXPECT_EQ(client.right, scaled(477));
        EXPECT_EQ(client.bottom, scaled(265));
        waitFor([&] { return GetForegroundWindow() == options; }, 3000);
        Sleep(300);
        if (dpi != 96)
            testing_support::saveScreenPng(outer(options), testsDir() + L"options-window" + suffix);
        pressKey(VK_ESCAPE);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
        waitFor([&] { return GetForegroundWindow() == window; }, 3000);
    }
    {
        AccountPageCatcher browser(folder.game());
        size_t opened = 0;
        for (POINT click : {middle(window, 123, 248, 176, 34), middle(window, 88, 252, 25, 25)}) {
            EXPECT_TRUE(clickUntil(click, [&] {
                for (const std::string& line : folder.gameStarts())
                    opened +=
                        line.find("https://account.example.com/vantorra") != std::string::npos;
                return opened > 0;
            }));
            for (const std::string& line : folder.gameStarts())
                TerminateProcess(OpenProcess(PROCESS_TERMINATE, FALSE, parseGameStart(line).pid),
                                 0);
            DeleteFileW(folder.logPath().c_str());
            opened = 0;
            SetForegroundWindow(window);
        }
    }
    EXPECT_TRUE(launcher.running());
    EXPECT_TRUE(clickUntil(middle(window, 123, 300, 176, 34), [&] { return !launcher.running(); }));
    window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(clickUntil(middle(window, 88, 304, 25, 25), [&] { return !launcher.running(); }));
    EXPECT_TRUE(folder.gameStarts().empty());

    for (POINT play : {POINT{123, 144}, POINT{88, 148}}) {
        window = start(launcher, folder);
        ASSERT_NE(window, nullptr);
        bool button = play.x == 123;
        POINT click = button ? middle(window, 123, 144, 176, 34) : middle(window, 88, 148, 25, 25);
        EXPECT_TRUE(clickUntil(click, [&] { return !launcher.running(); }));
        EXPECT_TRUE(endsWithZero(launcher));
        ASSERT_EQ(folder.gameStarts().size(), 1u) << (button ? "button" : "icon");
        killProcessesIn(folder.path());
        DeleteFileW(folder.logPath().c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(DefaultScale, LauncherAtScale, ::testing::Values(96),
                         [](const auto& info) { return std::to_string(info.param); });
INSTANTIATE_TEST_SUITE_P(OtherScale, LauncherAtScale, ::testing::Values(120, 144, 192),
                         [](const auto& info) { return std::to_string(info.param); });

namespace {

// A scale at which the launcher would be larger than the screen (288 DPI on 1920 x 1080):
// runs in a session of its own, as the other scales do.
class LauncherBeyondTheScreen : public LauncherWindow, public ::testing::WithParamInterface<int> {};

bool inside(const RECT& window, const RECT& area) {
    return window.left >= area.left && window.top >= area.top && window.right <= area.right &&
           window.bottom <= area.bottom;
}

} // namespace

// Both windows take the largest scale at which they fit and lie wholly in the work area.
TEST_P(LauncherBeyondTheScreen, BothWindowsFitTheWorkArea) {
    ASSERT_EQ(screenDpi(), UINT(GetParam())) << "a session whose prefix has the scale runs this";
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = start(launcher, folder);
    ASSERT_NE(window, nullptr);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    RECT rect = outer(window);
    EXPECT_TRUE(inside(rect, work))
        << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
    // One DPI less would be about 4 pixels lower: this is the largest that fits.
    EXPECT_GT(rect.bottom - rect.top, work.bottom - work.top - 5);
    EXPECT_LT(rect.bottom - rect.top, MulDiv(396, GetParam(), 96));

    // "EINSTELLUNGEN", where it is at this window's scale.
    double scale = (rect.right - rect.left) / 608.0;
    HWND options = nullptr;
    ASSERT_TRUE(clickUntil(at(window, int((123 + 88) * scale), int((196 + 17) * scale)), [&] {
        return (options = waitForWindow(launcher.pid(), L"Einstellungen", 0)) != nullptr;
    }));
    RECT optionsRect = outer(options);
    EXPECT_TRUE(inside(optionsRect, work)) << optionsRect.left << "," << optionsRect.top << " "
                                           << optionsRect.right << "," << optionsRect.bottom;
    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(endsWithZero(launcher));
}

INSTANTIATE_TEST_SUITE_P(OtherScale, LauncherBeyondTheScreen, ::testing::Values(288),
                         [](const auto& info) { return std::to_string(info.param); });

namespace {

// The pictures resized for a scale, kept between starts in the player's local application
// data. Runs in the session of 144 DPI.
class KeptPictures : public LauncherWindow, public ::testing::WithParamInterface<int> {
protected:
    static std::wstring keptFile(int dpi) {
        const std::wstring& local = localAppDataFolder();
        return local.empty() ? std::wstring()
                             : local + L"\\Quenmark\\Vantorra\\Launcher\\pictures-" +
                                   std::to_wstring(dpi) + L".bin";
    }
    // The main window as the player sees it, the pointer away; then the launcher ends.
    static ScreenPixels shownAndClosed(const InstallFolder& folder) {
        ChildProcess launcher;
        HWND window = start(launcher, folder);
        if (!window)
            return {};
        mouse(MOUSEEVENTF_MOVE, {0, 0});
        Sleep(300);
        ScreenPixels shown = testing_support::captureScreen(outer(window));
        PostMessageW(window, WM_CLOSE, 0, 0);
        launcher.wait(kTimeoutMs);
        return shown;
    }
};

} // namespace

// The first start at a scale writes them, the next ones read them, and a file that is
// broken, foreign or of another build of the launcher never shows a wrong picture: it is
// passed over and written anew.
TEST_P(KeptPictures, ShowTheSamePicturesAndAreRebuiltWhenWrong) {
    ASSERT_EQ(screenDpi(), UINT(GetParam())) << "a session whose prefix has the scale runs this";
    const std::wstring kept = keptFile(GetParam());
    ASSERT_FALSE(kept.empty());
    DeleteFileW(kept.c_str());
    InstallFolder folder;
    const ScreenPixels fresh = shownAndClosed(folder);
    ASSERT_EQ(fresh.width, MulDiv(608, GetParam(), 96));
    const std::optional<std::string> written = readFile(kept);
    ASSERT_TRUE(written.has_value()) << "written at the first start";
    EXPECT_TRUE(shownAndClosed(folder) == fresh) << "read at the next";

    struct Damage {
        const char* what;
        std::function<std::string(std::string)> apply;
    };
    const Damage damages[] = {
        {"a pixel changed", [](std::string b) { return b[b.size() / 2] ^= 0x55, b; }},
        {"cut short", [](std::string b) { return b.substr(0, b.size() / 3); }},
        {"foreign bytes", [](std::string b) { return std::string(b.size(), '\x7F'); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        ASSERT_TRUE(writeFile(kept, damage.apply(*written)));
        EXPECT_TRUE(shownAndClosed(folder) == fresh);
        EXPECT_EQ(readFile(kept), written) << "written anew";
    }
    // Another build of the launcher in the same place: not its pictures.
    ASSERT_TRUE(writtenMinutesAgo(folder.launcher(), 60));
    EXPECT_TRUE(shownAndClosed(folder) == fresh);
    std::optional<std::string> rewritten = readFile(kept);
    ASSERT_TRUE(rewritten.has_value());
    EXPECT_NE(rewritten, written) << "marked for the other build";
    EXPECT_EQ(rewritten->size(), written->size());
}

INSTANTIATE_TEST_SUITE_P(OtherScale, KeptPictures, ::testing::Values(144),
                         [](const auto& info) { return std::to_string(info.param); });
