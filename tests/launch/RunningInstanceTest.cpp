#include "launch/LauncherClaim.h"
#include "launch/RunningInstance.h"
#include "platform/Processes.h"
#include "platform/SystemHooks.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

using namespace testing_support;

namespace {

// Stand-in games started in folders of their own; the folder of this test executable
// plays the launcher's folder.
class RunningInstance : public ::testing::Test {
protected:
    void TearDown() override { resetStandInGame(); }

    static ChildProcess startGame(const InstallFolder& folder, const wchar_t* mode) {
        setEnv(L"FAKEGAME_LOG", folder.logPath());
        setStandInGame(mode, 20000);
        size_t before = folder.gameStarts().size();
        ChildProcess game(folder.game(), L"", folder.path());
        waitFor([&] { return folder.gameStarts().size() > before; }, 10000);
        Sleep(300); // the window, if any, is created right after the log line
        return game;
    }
};

// Wine starts no program from a folder whose path is longer than MAX_PATH, and has no claim
// of another user's: the system's answers are played.
BOOL WINAPI longImageName(HANDLE, DWORD, LPWSTR name, PDWORD size) {
    std::wstring path = L"C:\\" + std::wstring(300, L'v') + L"\\VantorraLauncher.exe";
    if (*size <= path.size())
        return SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE;
    name[*size = static_cast<DWORD>(path.copy(name, path.size()))] = L'\0';
    return TRUE;
}
HANDLE WINAPI claimOfAnotherUser(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

bool contains(const std::vector<DWORD>& ids, DWORD id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

TEST_F(RunningInstance, ListsProcessesByExactImageName) {
    InstallFolder folder(true, false, testsDir());
    ChildProcess game = startGame(folder, L"windowless");
    EXPECT_TRUE(contains(listProcessIdsByName("Vantorra.exe"), game.pid()));
    EXPECT_FALSE(contains(listProcessIdsByName("vantorra.exe"), game.pid()));
    EXPECT_TRUE(listProcessIdsByName("vantorra.exe").empty());
}

// The process that started this one, from the system's list of processes: a copy of this
// test, started by it, writes down what it finds.
TEST(Processes, AChildFindsItsParent) {
    wchar_t report[MAX_PATH];
    if (GetEnvironmentVariableW(L"VANTORRA_TEST_PARENT_REPORT", report, MAX_PATH)) {
        writeFile(report, std::to_string(getParentProcessId()));
        return;
    }
    TempDir dir;
    std::wstring path = dir / L"parent.txt";
    wchar_t self[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameW(nullptr, self, MAX_PATH));
    setEnv(L"VANTORRA_TEST_PARENT_REPORT", path);
    ChildProcess child(self, L"--gtest_filter=Processes.AChildFindsItsParent", dir.path());
    setEnv(L"VANTORRA_TEST_PARENT_REPORT", L"");
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.wait(30000), std::optional<DWORD>(0));
    EXPECT_EQ(readFile(path), std::to_string(GetCurrentProcessId()));
}

TEST_F(RunningInstance, ModulePathsAndDirectories) {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_EQ(getProcessModulePath(0), narrow(own));
    EXPECT_EQ(getProcessDirectory(0), narrow(testsDir()));

    InstallFolder folder;
    ChildProcess game = startGame(folder, L"windowless");
    std::string path = getProcessModulePath(game.pid());
    EXPECT_EQ(lstrcmpiW(wide(path).c_str(), folder.game().c_str()), 0) << path;
    EXPECT_EQ(lstrcmpiW(wide(getProcessDirectory(game.pid())).c_str(), folder.path().c_str()), 0);
    EXPECT_EQ(getProcessModulePath(0xFFFFFFF0), "") << "a process that cannot be opened";
}

TEST(LauncherClaim, CoversAFolderOfAnyLengthAndGivesWayToOneItCannotOpen) {
    systemHooks.processImageName = longImageName;
    systemHooks.createMutex = claimOfAnotherUser;
    std::string folder = getProcessDirectory(0);
    EXPECT_EQ(folder, "C:\\" + std::string(300, 'v') + "\\");
    EXPECT_FALSE(LauncherClaim(folder).take());
    systemHooks = SystemHooks{};
}

TEST_F(RunningInstance, NeverFindsItself) {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring ownName = std::wstring(own).substr(std::wstring(own).rfind(L'\\') + 1);
    EXPECT_FALSE(activateRunningInstance(narrow(ownName).c_str()));
}

TEST_F(RunningInstance, IgnoresGameFromAnotherFolder) {
    InstallFolder elsewhere; // under the temporary folder, not below the tests folder
    ChildProcess game = startGame(elsewhere, L"windowless");
    EXPECT_FALSE(activateRunningInstance("Vantorra.exe"));
    EXPECT_TRUE(game.running()) << "a process from another folder must be left alone";
}

TEST_F(RunningInstance, GameInSubfolderWithWindowIsBroughtToFront) {
    InstallFolder parent(false, false, testsDir());
    InstallFolder folder(true, false, parent.path());
    ChildProcess game = startGame(folder, L"window");
    // On a busy machine the window may come later than startGame waits.
    ASSERT_TRUE(waitFor([&] { return findShownProcessWindow(game.pid()) != nullptr; }, 5000));
    EXPECT_TRUE(activateRunningInstance("Vantorra.exe"));
    EXPECT_TRUE(game.running());
}

TEST_F(RunningInstance, HiddenOnlyWindowCountsAsAWindow) {
    InstallFolder folder(true, false, testsDir());
    ChildProcess game = startGame(folder, L"hidden");
    HWND window = findProcessWindow(game.pid());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(activateRunningInstance("Vantorra.exe"));
    EXPECT_TRUE(game.running());
}

// Ended from outside, with exit code 1; all of them, as a second game would otherwise be
// started beside one that is left.
TEST_F(RunningInstance, EveryWindowlessGameIsEndedWithExitCode1) {
    InstallFolder first(true, false, testsDir());
    InstallFolder second(true, false, testsDir());
    ChildProcess one = startGame(first, L"windowless");
    ChildProcess other = startGame(second, L"windowless");
    EXPECT_EQ(findProcessWindow(one.pid()), nullptr);
    EXPECT_FALSE(activateRunningInstance("Vantorra.exe"));
    EXPECT_EQ(one.wait(5000), std::optional<DWORD>(1));
    EXPECT_EQ(other.wait(5000), std::optional<DWORD>(1));
}

// Whatever their order in the snapshot (mostly the order they started in), a game with a
// window is the one brought forward, and the windowless one beside it is left alone.
TEST_F(RunningInstance, AWindowOfAnyQualifyingGameWins) {
    for (bool windowedFirst : {false, true}) {
        SCOPED_TRACE(windowedFirst ? "windowed first" : "windowless first");
        InstallFolder first(true, false, testsDir());
        InstallFolder second(true, false, testsDir());
        ChildProcess one = startGame(first, windowedFirst ? L"window" : L"windowless");
        ChildProcess other = startGame(second, windowedFirst ? L"windowless" : L"window");
        EXPECT_TRUE(activateRunningInstance("Vantorra.exe"));
        EXPECT_TRUE(one.running());
        EXPECT_TRUE(other.running());
    }
}

// A game of the other bitness (64-bit beside the x86 build, 32-bit beside the x64 one):
// its path comes from the image name, and a remote thread cannot end it.
using OtherBitness = RunningInstance;

TEST_F(OtherBitness, ModulePathIsRead) {
    InstallFolder folder(true, true);
    ChildProcess game = startGame(folder, L"windowless");
    std::string path = getProcessModulePath(game.pid());
    EXPECT_EQ(lstrcmpiW(wide(path).c_str(), folder.game().c_str()), 0) << path;
}

TEST_F(OtherBitness, WindowlessGameIsEndedWithExitCode1) {
    InstallFolder folder(true, true, testsDir());
    ChildProcess game = startGame(folder, L"windowless");
    EXPECT_FALSE(activateRunningInstance("Vantorra.exe"));
    EXPECT_EQ(game.wait(5000), std::optional<DWORD>(1));
}

TEST_F(OtherBitness, GameWithWindowIsRecognised) {
    InstallFolder folder(true, true, testsDir());
    ChildProcess game = startGame(folder, L"window");
    EXPECT_TRUE(activateRunningInstance("Vantorra.exe"));
    EXPECT_TRUE(game.running());
}
