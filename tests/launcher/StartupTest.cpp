// The built launcher, started as a player or a shortcut would start it.
#include "launch/LauncherClaim.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

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

// A launcher in skip mode is windowless through its half-second launch check; a launcher
// started in window mode meanwhile neither waits for it nor ends it.
TEST_F(Startup, ASkipModeLauncherAndAWindowModeOneBothFinish) {
    InstallFolder folder;
    ChildProcess first(folder.launcher(), L"-SKIP_LAUNCHER", folder.path());
    ChildProcess second(folder.launcher(), L"", folder.path());
    EXPECT_TRUE(closeMainWindow(second));
    EXPECT_EQ(second.wait(kExitTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(first.wait(kExitTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(folder.gameStarts().size(), 1u);
}

// A launcher stuck in its start with the claim of the folder, before or after it committed
// to show its window, holds the next one back only for a while: that one ends it and
// shows its own window.
TEST_F(Startup, ALauncherStuckWithTheClaimIsEndedByTheNextOne) {
    for (const wchar_t* stage : {L"starting", L"committed"}) {
        SCOPED_TRACE(narrow(stage));
        InstallFolder folder;
        ASSERT_TRUE(copyFile(testsDir() + L"ClaimHolder.exe", folder / L"ClaimHolder.exe"));
        ChildProcess stuck(folder / L"ClaimHolder.exe", stage, folder.path());
        ASSERT_TRUE(waitFor([&] { return fileExists(folder / L"held"); }, kExitTimeoutMs));
        DWORD start = GetTickCount();
        ChildProcess launcher(folder.launcher(), L"", folder.path());
        EXPECT_EQ(stuck.wait(kExitTimeoutMs), std::optional<DWORD>(1));
        HWND window = waitForWindow(launcher.pid(), L"Vantorra", kExitTimeoutMs);
        ASSERT_NE(window, nullptr);
        std::printf("window after %lu ms\n", GetTickCount() - start);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.wait(kExitTimeoutMs), std::optional<DWORD>(0));
    }
}

// The shared word may name a holder that has ended and whose process id went to another
// program: a holder outside the folder is never ended. Once its wait runs out, the launcher
// carries on as the only one.
TEST_F(Startup, AHolderOutsideTheFolderIsNeverEnded) {
    InstallFolder folder;
    wchar_t longPath[MAX_PATH] = {};
    ASSERT_GT(GetLongPathNameW(folder.path().c_str(), longPath, MAX_PATH), 0u);
    LauncherClaim claim(narrow(longPath));
    ASSERT_TRUE(claim.take());
    ChildProcess launcher(folder.launcher(), L"", folder.path());
    HWND window = waitForWindow(launcher.pid(), L"Vantorra", 3 * kExitTimeoutMs);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(claim.commitToShow()) << "the launcher marked this process as being ended";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.wait(kExitTimeoutMs), std::optional<DWORD>(0));
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
