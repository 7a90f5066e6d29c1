// The built launcher, started as a player or a shortcut would start it.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr DWORD kExitTimeoutMs = 20000;

// Window mode runs until its main window is closed. False when no window came, or the
// launcher ended without one.
bool closeMainWindow(const ChildProcess& launcher) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kExitTimeoutMs && launcher.running()) {
        if (HWND window = waitForWindow(launcher.pid(), L"Vantorra", 200))
            return PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return false;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { setStandInGame(L"window", 10000); }
    void TearDown() override { resetStandInGame(); }

    // Runs the launcher with `arguments` and returns its exit code.
    static std::optional<DWORD> run(const InstallFolder& folder, const std::wstring& arguments) {
        ChildProcess launcher(folder.launcher(), arguments, folder.path());
        return launcher.wait(kExitTimeoutMs);
    }

    static std::string onlyStart(const InstallFolder& folder) {
        auto starts = folder.gameStarts();
        return starts.size() == 1 ? parseGameStart(starts[0]).commandLine
                                  : "<" + std::to_string(starts.size()) + " starts>";
    }
};

} // namespace

TEST_F(Startup, SkipModeStartsGameWithWholeArgumentText) {
    InstallFolder folder;
    EXPECT_EQ(run(folder, L"-SKIP_LAUNCHER +map one"), std::optional<DWORD>(0));
    EXPECT_EQ(onlyStart(folder), "\".\\Vantorra.exe\" -SKIP_LAUNCHER +map one");
}

// The launcher's own command line, longer than any scratch buffer and beyond ASCII,
// reaches the game whole.
TEST_F(Startup, LongArgumentsBeyondAsciiReachTheGameWhole) {
    InstallFolder folder;
    std::wstring arguments = L"-SKIP_LAUNCHER";
    while (arguments.size() < 3000)
        arguments += L" +player J\u00fcrgen +folder \u0141\u00f3d\u017a\\\u5c71\u7530";
    EXPECT_EQ(run(folder, arguments), std::optional<DWORD>(0));
    EXPECT_TRUE(onlyStart(folder) == "\".\\Vantorra.exe\" " + narrow(arguments));
}

TEST_F(Startup, SkipSwitchInAnyCaseAndInsideLongerWords) {
    for (const wchar_t* arguments : {L"-skip_launcher", L"x-Skip_LauncherY"}) {
        InstallFolder folder;
        EXPECT_EQ(run(folder, arguments), std::optional<DWORD>(0));
        EXPECT_EQ(onlyStart(folder), "\".\\Vantorra.exe\" " + narrow(arguments));
    }
}

TEST_F(Startup, AmpersandsReachTheGameAsSpaces) {
    InstallFolder folder;
    EXPECT_EQ(run(folder, L"-SKIP_LAUNCHER one&two&&three"), std::optional<DWORD>(0));
    EXPECT_EQ(onlyStart(folder), "\".\\Vantorra.exe\" -SKIP_LAUNCHER one two  three");
}

TEST_F(Startup, SkipModeWithMissingGameFallsBackToWindowMode) {
    InstallFolder folder(false);
    ChildProcess launcher(folder.launcher(), L"-SKIP_LAUNCHER", folder.path());
    auto box = closeMessageBox(launcher.pid(), 10000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "Executable not found!");
    // On 64-bit Windows window mode shows no warning, only the main window.
    EXPECT_TRUE(closeMainWindow(launcher));
    EXPECT_FALSE(closeMessageBox(launcher.pid(), 0).has_value());
    EXPECT_EQ(launcher.wait(kExitTimeoutMs), std::optional<DWORD>(0));
}

TEST_F(Startup, WindowModeStartsNothingByItself) {
    InstallFolder folder;
    ChildProcess launcher(folder.launcher(), L"", folder.path());
    EXPECT_TRUE(closeMainWindow(launcher));
    EXPECT_EQ(launcher.wait(kExitTimeoutMs), std::optional<DWORD>(0));
    EXPECT_TRUE(folder.gameStarts().empty());
}

TEST_F(Startup, SecondLauncherEndsAWindowlessFirstOneAndCarriesOn) {
    // The first launcher is windowless during its half-second launch check in skip mode.
    // Process start-up times vary under load, so give the race a few chances.
    bool ended = false;
    for (int attempt = 0; attempt < 5 && !ended; ++attempt) {
        InstallFolder folder;
        ChildProcess first(folder.launcher(), L"-SKIP_LAUNCHER", folder.path());
        ChildProcess second(folder.launcher(), L"", folder.path());
        closeMainWindow(second);
        auto secondExit = second.wait(kExitTimeoutMs);
        auto firstExit = first.wait(kExitTimeoutMs);
        ASSERT_EQ(secondExit, std::optional<DWORD>(0));
        ASSERT_TRUE(firstExit.has_value());
        ended = *firstExit == 1;
        if (!ended) {
            EXPECT_EQ(*firstExit, 0u) << "the first one may only have finished on its own";
        }
    }
    EXPECT_TRUE(ended) << "the second launcher never ended the windowless first one";
}

TEST_F(Startup, UncaughtExceptionStartsGameWithoutArgumentsAndExits1) {
    // "exit-handler": an exit handler that would end the process with code 3, as a
    // second fault during clean-up would end it with a crash code. "threads": five threads
    // fail at once; one game is started, and it is still running when the launcher ends.
    for (const wchar_t* failure : {L"throw", L"fault", L"throw exit-handler", L"threads"}) {
        InstallFolder folder;
        std::wstring probe = folder.path() + L"CrashProbe.exe";
        ASSERT_TRUE(copyFile(testsDir() + L"CrashProbe.exe", probe));
        ChildProcess crashing(probe, failure, folder.path());
        EXPECT_EQ(crashing.wait(kExitTimeoutMs), std::optional<DWORD>(1)) << narrow(failure);
        EXPECT_EQ(onlyStart(folder), "\".\\Vantorra.exe\" ") << narrow(failure);
        auto starts = folder.gameStarts();
        if (starts.size() == 1) {
            HANDLE game = OpenProcess(SYNCHRONIZE, FALSE, parseGameStart(starts[0]).pid);
            EXPECT_TRUE(game && WaitForSingleObject(game, 0) == WAIT_TIMEOUT) << narrow(failure);
            if (game)
                CloseHandle(game);
        }
    }
}

// Run by ctest in a 32-bit Wine prefix (WINEARCH=win32), where the launcher is not
// under WoW64.
TEST(Win32Prefix, WarnsOn32BitWindowsAndCarriesOn) {
    BOOL wow64 = TRUE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (wow64)
        GTEST_SKIP() << "needs a 32-bit prefix";
    InstallFolder folder;
    ChildProcess launcher(folder.launcher(), L"", folder.path());
    auto box = closeMessageBox(launcher.pid(), 15000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Warning");
    EXPECT_EQ(box->text, "Vantorra is not compatible with the 32-bit version of Windows you are "
                         "running. Please use the 64-bit version of Windows instead!");
    EXPECT_TRUE(closeMainWindow(launcher));
    EXPECT_EQ(launcher.wait(kExitTimeoutMs), std::optional<DWORD>(0));
}

TEST(Win32Prefix, SkipModeNeverWarns) {
    BOOL wow64 = TRUE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (wow64)
        GTEST_SKIP() << "needs a 32-bit prefix";
    InstallFolder folder;
    setStandInGame(L"window");
    ChildProcess launcher(folder.launcher(), L"-SKIP_LAUNCHER", folder.path());
    EXPECT_EQ(launcher.wait(kExitTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(folder.gameStarts().size(), 1u);
}
