// The built launcher driven by a game controller alone, as a player on a handheld or a sofa
// drives it. The pad is the stand-in winmm.dll (tests/support/StandInWinmm.cpp) in the
// session's system folder, which ctest has this test's processes load natively; the test
// writes what the pad holds and waits until the launcher has read it.
#include "settings/ConfigFile.h"
#include "tests/screens/LauncherDriver.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <xinput.h>

#include <functional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr DWORD kCentre = 32767;
// Directions as the d-pad's hat reports them, in hundredths of a degree.
constexpr DWORD kHatUp = 0;
constexpr DWORD kHatRight = 9000;
constexpr DWORD kHatDown = 18000;
constexpr DWORD kHatLeft = 27000;
constexpr DWORD kA = JOY_BUTTON1;
constexpr DWORD kB = JOY_BUTTON2;
constexpr DWORD kY = JOY_BUTTON4;
constexpr DWORD kMenu = JOY_BUTTON8;
// The prompts' A button, as the launcher draws it, and the options window's Y.
constexpr COLORREF kPromptGreen = RGB(84, 168, 52);
constexpr COLORREF kPromptYellow = RGB(236, 184, 28);

// The caption of a control of the launcher, read across processes.
std::wstring textOf(HWND control) {
    wchar_t text[128] = {};
    if (control)
        SendMessageTimeoutW(control, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                            2000, nullptr);
    return text;
}

class Controller : public LauncherDriver {
protected:
    // The session's own DLLs are kept and put back: other suites share the prefix.
    static void SetUpTestSuite() {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        for (int dll = 0; dll < 2; ++dll) {
            std::wstring name = dll ? L"\\xinput1_4.dll" : L"\\winmm.dll";
            original(dll) = readFile(systemDll(dll) = system + name);
            ASSERT_TRUE(original(dll).has_value());
            ASSERT_TRUE(copyFile(testsDir() + L"standin" + name, systemDll(dll)));
        }
    }
    static void TearDownTestSuite() {
        for (int dll = 0; dll < 2; ++dll) {
            if (original(dll))
                writeFile(systemDll(dll), *original(dll));
        }
    }

    void SetUp() override {
        setStandInGame(L"window", 10000);
        DeleteFileW(ini.c_str());
        setEnv(L"VANTORRA_TEST_PADS", pads);
        plugIn(true);
        // Held open: the name lasts only as long as a handle does.
        readsMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          2 * sizeof(LONG), L"Local\\VantorraTestPadReads");
        ASSERT_NE(readsMapping, nullptr);
        readsView = static_cast<volatile LONG*>(
            MapViewOfFile(readsMapping, FILE_MAP_WRITE, 0, 0, 2 * sizeof(LONG)));
        ASSERT_NE(readsView, nullptr);
    }
    void TearDown() override {
        if (readsView)
            UnmapViewOfFile(const_cast<LONG*>(readsView));
        if (readsMapping)
            CloseHandle(readsMapping);
        setEnv(L"VANTORRA_TEST_PADS", L"");
        setEnv(L"SteamDeck", L"");
        resetStandInGame();
    }

    // Pad 0, connected or not, holding the given buttons and hat direction.
    void plugIn(bool connected, DWORD buttons = 0, DWORD hat = JOY_POVCENTERED) {
        writePads(connected ? padLines(buttons, hat) : "");
    }
    // What pad 0 holds, as the stand-in's lines: by default an Xbox-style joystick.
    std::function<std::string(DWORD buttons, DWORD hat)> padLines = [](DWORD buttons, DWORD hat) {
        return "0 " + std::to_string(buttons) + " " + std::to_string(hat) + " 32767 32767\n";
    };
    // The stand-in's lines.
    void writePads(const std::string& lines) {
        // Put in place with one rename: the launcher reads the old state or the new one,
        // never an empty file between them. Wine refuses the rename while the launcher has
        // the file open; that is over in a moment.
        ASSERT_TRUE(writeFile(pads + L".new", lines));
        ASSERT_TRUE(waitFor(
            [&] {
                return MoveFileExW((pads + L".new").c_str(), pads.c_str(),
                                   MOVEFILE_REPLACE_EXISTING) != 0;
            },
            3000));
    }
    // Until the launcher has read the pad after a change: begun to read it (`reads` 1) or
    // read it wholly (2).
    bool readByLauncher(LONG reads = 2) {
        LONG before = readsView[counted];
        return waitFor([&] { return readsView[counted] - before >= reads; }, 5000);
    }
    // Holds, as seen by the launcher in front.
    void hold(DWORD buttons, DWORD hat = JOY_POVCENTERED) {
        plugIn(true, buttons, hat);
        EXPECT_TRUE(readByLauncher());
    }
    // Down and up again, each seen.
    void press(DWORD buttons, DWORD hat = JOY_POVCENTERED) {
        hold(buttons, hat);
        hold(0);
    }
    // Down, seen, and up again, for a press after which the launcher is gone or behind
    // another window.
    void pressLast(DWORD buttons) {
        plugIn(true, buttons);
        EXPECT_TRUE(readByLauncher(1));
        // The read that has begun takes far less than this.
        Sleep(200);
        plugIn(true, 0);
    }
    // Started, in front, and the pad read there: what the pad holds from now on is pressed
    // while the window is open, not held since before.
    HWND startPolled(ChildProcess& launcher, const InstallFolder& folder,
                     const std::wstring& arguments = L"") {
        HWND window = start(launcher, folder, arguments);
        EXPECT_TRUE(readByLauncher());
        return window;
    }
    // The caption of the control with the focus in that window.
    static std::wstring focused(HWND window) { return textOf(focusOf(window)); }

    static std::wstring& systemDll(int dll) {
        static std::wstring paths[2];
        return paths[dll];
    }
    static std::optional<std::string>& original(int dll) {
        static std::optional<std::string> bytes[2];
        return bytes[dll];
    }

    TempDir scratch;
    const std::wstring pads = scratch / L"pads.txt";
    const std::wstring ini = wide(ConfigFile().path());
    HANDLE readsMapping = nullptr;
    volatile LONG* readsView = nullptr;
    int counted = 0; // the reads waited for: joystick 0's, or (1) XInput slot 0's

    // Where the main window's prompts are (its free bottom left corner), with the mouse moved
    // away so that nothing there lights up.
    static RECT promptsArea(HWND window) {
        mouse(MOUSEEVENTF_MOVE, at(window, 560, 40));
        Sleep(300);
        RECT rect = outer(window);
        return {rect.left, rect.bottom - 40, rect.left + 300, rect.bottom};
    }
};

} // namespace

// Untouched, a controller does what it always did: A starts the game, B quits; neither does
// anything while another window is in front.
TEST_F(Controller, AStartsBQuitsOnlyInFront) {
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = startPolled(launcher, folder, L"+map one");
    ASSERT_NE(window, nullptr);
    pressLast(kA);
    EXPECT_TRUE(endsWithZero(launcher));
    auto starts = folder.gameStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(parseGameStart(starts[0]).commandLine, "\".\\Vantorra.exe\" +map one");
    killProcessesIn(folder.path());

    window = startPolled(launcher, folder);
    ASSERT_NE(window, nullptr);
    // The stand-in game in front, started by the test: the launcher polls nothing.
    setStandInGame(L"window", 10000);
    ChildProcess other(fakeGameExe(), L"", scratch.path());
    HWND otherWindow = waitForWindow(other.pid(), L"FakeGame", kTimeoutMs);
    ASSERT_NE(otherWindow, nullptr);
    SetForegroundWindow(otherWindow);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == otherWindow; }, 3000));
    plugIn(true, kB);
    Sleep(500);
    plugIn(true, 0);
    Sleep(300);
    EXPECT_TRUE(launcher.running());
    other.kill();
    DeleteFileW(folder.logPath().c_str()); // its own start
    SetForegroundWindow(window);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }, 3000));
    pressLast(kB);
    EXPECT_TRUE(endsWithZero(launcher));
    EXPECT_TRUE(folder.gameStarts().empty()) << "B started nothing";
}

// Every action of both windows by the controller alone: the rows, the options window with
// its lists, "Zurücksetzen", "Speichern" and "Abbrechen", and back.
TEST_F(Controller, ReachesEveryActionOfBothWindows) {
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = startPolled(launcher, folder);
    ASSERT_NE(window, nullptr);

    // Down from "Starten" through the rows and round; up again.
    for (const wchar_t* row : {L"EINSTELLUNGEN", L"QUENMARK ACCOUNT", L"BEENDEN", L"STARTEN"}) {
        press(0, kHatDown);
        EXPECT_EQ(focused(window), row);
    }
    press(0, kHatUp);
    EXPECT_EQ(focused(window), L"BEENDEN");
    press(0, kHatUp);
    EXPECT_EQ(focused(window), L"QUENMARK ACCOUNT");
    press(0, kHatUp);
    EXPECT_EQ(focused(window), L"EINSTELLUNGEN");
    press(kA);
    HWND options = waitForWindow(launcher.pid(), L"Einstellungen", kTimeoutMs);
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == options; }, 3000));
    auto lists = children(options, L"ComboBox");
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(focusOf(options), lists[0]) << "the controller starts on the first list";
    HWND modeList = lists[1];
    HWND modeLabel = labelBeside(options, modeList);
    int regularWidth = widthOf(modeLabel);

    // Down to the display mode; left steps to "Vollbild", and its label turns bold.
    press(0, kHatDown);
    EXPECT_EQ(focusOf(options), modeList);
    EXPECT_EQ(SendMessageW(modeList, CB_GETCURSEL, 0, 0), 1);
    press(0, kHatLeft);
    EXPECT_TRUE(waitFor([&] { return SendMessageW(modeList, CB_GETCURSEL, 0, 0) == 0; }, 3000));
    EXPECT_TRUE(waitFor([&] { return widthOf(modeLabel) > regularWidth; }, 3000));
    // Opened with A, moved in, and closed with B: nothing changes.
    press(kA);
    EXPECT_TRUE(
        waitFor([&] { return SendMessageW(modeList, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000));
    press(0, kHatDown);
    press(kB);
    EXPECT_TRUE(
        waitFor([&] { return SendMessageW(modeList, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000));
    EXPECT_EQ(SendMessageW(modeList, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindow(options)) << "B closed the list, not the window";
    // Menu saves and closes; the focus goes back to the row the controller left.
    press(kMenu);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
    auto saved = readFile(ini);
    ASSERT_TRUE(saved.has_value());
    EXPECT_NE(saved->find("Window 0\r\n"), std::string::npos) << *saved;
    EXPECT_TRUE(waitFor([&] { return focused(window) == L"EINSTELLUNGEN"; }, 3000));

    // Again: Y proposes the recommended values, B cancels, and the file stays as it was.
    press(kA);
    options = waitForWindow(launcher.pid(), L"Einstellungen", kTimeoutMs);
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == options; }, 3000));
    modeList = children(options, L"ComboBox")[1];
    EXPECT_EQ(SendMessageW(modeList, CB_GETCURSEL, 0, 0), 0);
    press(kY);
    EXPECT_TRUE(waitFor([&] { return SendMessageW(modeList, CB_GETCURSEL, 0, 0) == 1; }, 3000));
    press(kB);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
    EXPECT_EQ(readFile(ini), saved);

    // Down to the account page, and A.
    press(0, kHatDown);
    EXPECT_EQ(focused(window), L"QUENMARK ACCOUNT");
    {
        // Windowless, as a browser that opens elsewhere.
        setStandInGame(L"windowless", 10000);
        AccountPageCatcher browser(folder.game());
        pressLast(kA);
        EXPECT_TRUE(waitFor(
            [&] {
                for (const std::string& line : folder.gameStarts())
                    if (line.find("https://account.example.com/vantorra") != std::string::npos)
                        return true;
                return false;
            },
            kTimeoutMs));
    }
    for (const std::string& line : folder.gameStarts()) {
        HANDLE browser = OpenProcess(PROCESS_TERMINATE, FALSE, parseGameStart(line).pid);
        TerminateProcess(browser, 0);
        CloseHandle(browser);
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(endsWithZero(launcher));
}

// A pad switched on after the launcher started is found, and so is one plugged in again.
TEST_F(Controller, APadConnectedLaterIsFound) {
    plugIn(false);
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = startPolled(launcher, folder);
    ASSERT_NE(window, nullptr);
    Sleep(1500);
    hold(0);
    plugIn(false);
    Sleep(1500);
    press(0, kHatDown);
    EXPECT_EQ(focused(window), L"EINSTELLUNGEN");
    pressLast(kB);
    EXPECT_TRUE(endsWithZero(launcher));
}

// A held button acts once: with the game missing, A held brings one error box, which the
// held A does not answer; a new press does. B answers it too, as its only button.
TEST_F(Controller, AHeldButtonActsOnceAndMessageBoxesAnswer) {
    InstallFolder folder(false);
    ChildProcess launcher;
    HWND window = startPolled(launcher, folder);
    ASSERT_NE(window, nullptr);
    hold(kA);
    auto box = [&] { return readMessageBoxText(launcher.pid()); };
    ASSERT_TRUE(waitFor([&] { return box().has_value(); }, kTimeoutMs));
    EXPECT_EQ(box()->text, "Executable not found!");
    Sleep(1000);
    EXPECT_EQ(countMessageBoxes(launcher.pid()), 1);
    hold(0);
    EXPECT_EQ(countMessageBoxes(launcher.pid()), 1) << "released, nothing pressed";

    // Pressed again: the box is answered, and A still down when the main window is back in
    // front does nothing there.
    hold(kA);
    EXPECT_TRUE(waitFor([&] { return countMessageBoxes(launcher.pid()) == 0; }, kTimeoutMs));
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }, 3000));
    hold(kA);
    hold(kA);
    EXPECT_EQ(countMessageBoxes(launcher.pid()), 0);
    hold(0);

    press(kA);
    ASSERT_TRUE(waitFor([&] { return box().has_value(); }, kTimeoutMs));
    press(kB);
    EXPECT_TRUE(waitFor([&] { return countMessageBoxes(launcher.pid()) == 0; }, kTimeoutMs));
    EXPECT_TRUE(launcher.running());
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }, 3000));
    pressLast(kB);
    EXPECT_TRUE(endsWithZero(launcher));
}

// The prompts come with the controller and go with the mouse; the window beneath them is
// then as it was. The pictures are kept for the README.
TEST_F(Controller, PromptsComeWithTheControllerAndGoWithTheMouse) {
    InstallFolder folder;
    ChildProcess launcher;
    HWND window = startPolled(launcher, folder);
    ASSERT_NE(window, nullptr);
    RECT corner = promptsArea(window);
    auto before = captureScreen(corner);
    EXPECT_EQ(before.count(kPromptGreen), 0);

    press(0, kHatDown);
    EXPECT_TRUE(waitFor([&] { return countColour(corner, kPromptGreen) > 50; }, 3000));
    Sleep(200);
    EXPECT_TRUE(saveScreenPng(outer(window), testsDir() + L"main-window-controller.png"));

    press(kA);
    HWND options = waitForWindow(launcher.pid(), L"Einstellungen", kTimeoutMs);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(waitFor([&] { return countColour(outer(options), kPromptYellow) > 50; }, 3000))
        << "opened by the controller, the options window shows its prompts";
    Sleep(200);
    EXPECT_TRUE(saveScreenPng(outer(options), testsDir() + L"options-window-controller.png"));
    mouse(MOUSEEVENTF_MOVE, at(options, 30, 30));
    mouse(MOUSEEVENTF_MOVE, at(options, 40, 40));
    EXPECT_TRUE(waitFor([&] { return countColour(outer(options), kPromptYellow) == 0; }, 3000));
    press(kB);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));

    // Back in the main window by the controller: prompts again, then the mouse.
    EXPECT_TRUE(waitFor([&] { return countColour(corner, kPromptGreen) > 50; }, 3000));
    mouse(MOUSEEVENTF_MOVE, at(window, 560, 60));
    mouse(MOUSEEVENTF_MOVE, at(window, 560, 40));
    EXPECT_TRUE(waitFor([&] { return captureScreen(corner) == before; }, 3000))
        << "the corner as it was before the prompts";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(endsWithZero(launcher));
}

// On a handheld (Steam's Game Mode sets SteamDeck=1) the window is laid out at 144 DPI at
// least, with the prompts and the focus shown from the start; any other value changes
// nothing.
TEST_F(Controller, HandheldOpensLargerWithPrompts) {
    InstallFolder folder;
    for (const wchar_t* value : {L"0", L"1"}) {
        SCOPED_TRACE(narrow(value));
        setEnv(L"SteamDeck", value);
        bool handheld = value[1] == L'\0' && value[0] == L'1';
        // Away from the window before it opens: a move once it is open is the mouse in use.
        mouse(MOUSEEVENTF_MOVE, {5, 5});
        ChildProcess launcher;
        HWND window = startPolled(launcher, folder);
        ASSERT_NE(window, nullptr);
        RECT rect = outer(window);
        EXPECT_EQ(rect.right - rect.left, handheld ? 912 : 608);
        EXPECT_EQ(rect.bottom - rect.top, handheld ? 594 : 396);
        RECT corner = {rect.left, rect.bottom - 60, rect.left + 450, rect.bottom};
        EXPECT_EQ(waitFor([&] { return countColour(corner, kPromptGreen) > 50; }, 1500), handheld);
        EXPECT_EQ(focused(window), handheld ? L"STARTEN" : L"Vantorra") << "the window itself";
        pressLast(kB);
        EXPECT_TRUE(endsWithZero(launcher));
    }
}

// A pad that is there but never touched changes no pixel of the window, nor does a device
// whose stick rests at one end and whose hat (which its caps say it lacks) reads up,
// plugged in while the window is open: the window looks as on a machine without controllers.
TEST_F(Controller, PadsNotTouchedChangeNothing) {
    InstallFolder folder;
    const char* devices[] = {"", "0 0 65535 32767 32767\n", "0 0 0 32767 0 0 0 65535 0\n"};
    ScreenPixels shown[3];
    for (int device = 0; device < 3; ++device) {
        SCOPED_TRACE(devices[device]);
        writePads("");
        ChildProcess launcher;
        HWND window = startPolled(launcher, folder);
        ASSERT_NE(window, nullptr);
        mouse(MOUSEEVENTF_MOVE, at(window, 560, 40));
        writePads(devices[device]);
        EXPECT_TRUE(readByLauncher());
        Sleep(500);
        shown[device] = captureScreen(outer(window));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(endsWithZero(launcher));
    }
    EXPECT_EQ(shown[0].width, 608);
    EXPECT_TRUE(shown[0] == shown[1]);
    EXPECT_TRUE(shown[0] == shown[2]);
}

// Every family of pads in its own buttons: confirm opens what it is on, Menu saves the
// options, back quits, and confirm starts the game; one press moves the focus one row, also
// from a pad seen through both interfaces; the prompts show the family's buttons. The
// PlayStation pad's window is kept for the README.
TEST_F(Controller, EveryFamilyInItsOwnButtons) {
    struct Family {
        const char* name;
        const char* caps; // the joystick's vendor and product; null: none
        bool xinput;      // shown through XInput, as an Xbox pad
        DWORD confirm, back, menu;
        int family; // alike prompts
    };
    const Family families[] = {
        {"Xbox", "45e 28e", false, kA, kB, kMenu, 0},
        {"PlayStation", "54c 9cc", false, JOY_BUTTON2, JOY_BUTTON3, JOY_BUTTON10, 1},
        {"Nintendo", "57e 2009", false, JOY_BUTTON2, JOY_BUTTON1, JOY_BUTTON10, 2},
        {"unknown", "1234 5678", false, kA, kB, kMenu, 0},
        {"XInput", nullptr, true, kA, kB, kMenu, 0},
        {"both", "45e 28e", true, kA, kB, kMenu, 0},
    };
    InstallFolder folder;
    std::vector<ScreenPixels> prompts;
    for (const Family& pad : families) {
        SCOPED_TRACE(pad.name);
        padLines = [pad](DWORD buttons, DWORD hat) {
            std::string text;
            if (pad.caps)
                text += "0 " + std::to_string(buttons) + " " + std::to_string(hat) +
                        " 32767 32767 " + pad.caps + "\n";
            WORD xinput = (buttons & kA ? XINPUT_GAMEPAD_A : 0) |
                          (buttons & kB ? XINPUT_GAMEPAD_B : 0) |
                          (buttons & kMenu ? XINPUT_GAMEPAD_START : 0) |
                          (hat == kHatDown ? XINPUT_GAMEPAD_DPAD_DOWN : 0);
            return pad.xinput ? text + "x 0 " + std::to_string(xinput) + "\n" : text;
        };
        counted = pad.xinput ? 1 : 0;
        DeleteFileW(ini.c_str());
        plugIn(true);
        ChildProcess launcher;
        HWND window = startPolled(launcher, folder);
        ASSERT_NE(window, nullptr);
        RECT corner = promptsArea(window);
        auto before = captureScreen(corner);
        press(0, kHatDown);
        EXPECT_EQ(focused(window), L"EINSTELLUNGEN");
        EXPECT_TRUE(waitFor([&] { return !(captureScreen(corner) == before); }, 3000));
        Sleep(200);
        prompts.push_back(captureScreen(corner));
        if (pad.family == 1) {
            EXPECT_TRUE(saveScreenPng(outer(window), testsDir() + L"main-window-playstation.png"));
        }
        press(pad.confirm);
        HWND options = waitForWindow(launcher.pid(), L"Einstellungen", kTimeoutMs);
        ASSERT_NE(options, nullptr);
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == options; }, 3000));
        press(pad.menu);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(options); }, kTimeoutMs));
        EXPECT_TRUE(readFile(ini).has_value()) << "saved";
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }, 3000));
        pressLast(pad.back);
        EXPECT_TRUE(endsWithZero(launcher));
        EXPECT_TRUE(folder.gameStarts().empty());

        window = startPolled(launcher, folder);
        ASSERT_NE(window, nullptr);
        pressLast(pad.confirm);
        EXPECT_TRUE(endsWithZero(launcher));
        EXPECT_EQ(folder.gameStarts().size(), 1u);
        killProcessesIn(folder.path());
        DeleteFileW(folder.logPath().c_str());
    }
    for (size_t one = 0; one < prompts.size(); ++one)
        for (size_t other = one + 1; other < prompts.size(); ++other)
            EXPECT_EQ(prompts[one] == prompts[other],
                      families[one].family == families[other].family)
                << families[one].name << " and " << families[other].name;
}
