#pragma once
// Shared helpers of the Wine-run tests: build outputs, temporary install folders,
// child processes, the stand-in game's log and the player's message boxes.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Folder of the running test executable, with a trailing backslash.
std::wstring testsDir();
std::wstring launcherExe();
// The stand-in game of this build's bitness, or of the other one (on the x64 build a
// 32-bit program, which needs a machine that runs 32-bit programs).
std::wstring fakeGameExe(bool otherBitness = false);

std::string narrow(const std::wstring& wide);
std::wstring wide(const std::string& utf8);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempDir {
public:
    // Under the system's temporary folder, or under `base` (with trailing backslash).
    explicit TempDir(const std::wstring& base = std::wstring());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& path() const { return path_; } // with trailing backslash
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

void removeTree(const std::wstring& path);
bool copyFile(const std::wstring& from, const std::wstring& to);
bool writeFile(const std::wstring& path, const std::string& bytes);
std::optional<std::string> readFile(const std::wstring& path);
bool fileExists(const std::wstring& path);
// The names in a folder (with trailing backslash), "." and ".." left out.
std::set<std::wstring> namesIn(const std::wstring& folder);
FILETIME lastWriteTime(const std::wstring& path);
// Sets the file's last write time that many minutes back.
bool writtenMinutesAgo(const std::wstring& path, int minutes);

// An install folder: the launcher and, unless told otherwise, the stand-in game as
// Vantorra.exe. The game's log and mode are set through the environment that child
// processes inherit.
class InstallFolder : public TempDir {
public:
    explicit InstallFolder(bool withGame = true, bool otherBitnessGame = false,
                           const std::wstring& base = std::wstring());
    std::wstring launcher() const { return path() + L"VantorraLauncher.exe"; }
    std::wstring game() const { return path() + L"Vantorra.exe"; }
    std::wstring logPath() const { return path() + L"game.log"; }
    // Lines the stand-in game wrote, one per start.
    std::vector<std::string> gameStarts() const;
};

struct GameStart {
    DWORD pid = 0;
    std::string cwd;
    std::string commandLine;
};
GameStart parseGameStart(const std::string& line);

// Sets (or with an empty value removes) a variable that child processes inherit.
void setEnv(const wchar_t* name, const std::wstring& value);

// How the stand-in game behaves when started from now on: `mode` "window", "hidden",
// "windowless" or "exit:N"; it ends by itself after `lifetimeMs` (0: its own default).
void setStandInGame(const wchar_t* mode, DWORD lifetimeMs = 0);
// The stand-in game's defaults again.
void resetStandInGame();

// A key pressed and released, as the player's keyboard would (to the foreground window).
void pressKey(WORD vk);
// A key only pressed, or only released.
void holdKey(WORD vk, bool down);

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& cwd);
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_; }
    // Exit code, or nullopt when it still runs after `timeoutMs`.
    std::optional<DWORD> wait(DWORD timeoutMs);
    bool running() const;
    void kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Ends every process of that image name whose folder starts with `folder`.
void killProcessesIn(const std::wstring& folder);

// Another program (FileHolder.exe) holding the file open until the object goes: shared
// with nobody, or with readers only.
class HeldFile {
public:
    HeldFile(const std::wstring& path, bool readersWelcome);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    // True once the file is held.
    bool held();

private:
    HANDLE held_ = nullptr;
    ChildProcess holder_;
};

struct MessageBoxText {
    std::string caption;
    std::string text;
    HWND owner = nullptr; // the window the box belongs to, none for a box of its own
};
// Waits for a message box (dialog class "#32770") of the process, reads it, presses OK.
std::optional<MessageBoxText> closeMessageBox(DWORD pid, DWORD timeoutMs);
// The message boxes of the process that are shown now, and the first one's text.
int countMessageBoxes(DWORD pid);
std::optional<MessageBoxText> readMessageBoxText(DWORD pid);

// Waits for a visible top-level window of the process with exactly that title.
// The first visible top-level window of the process that `matches` accepts.
HWND findWindow(DWORD pid, const std::function<bool(HWND)>& matches);
HWND waitForWindow(DWORD pid, const wchar_t* title, DWORD timeoutMs);

// Presses OK on every message box this process shows while it lives, keeping their
// texts: for code under test that reports through MessageBoxW on the test's thread.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    std::vector<MessageBoxText> boxes();

private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<MessageBoxText> boxes_;
    std::thread thread_;
};

// Presses the button with that caption in a window of another process, as a click would:
// the button tells its window.
bool pressButton(HWND window, const wchar_t* caption);

// A file of `size` bytes that takes no room on the disk where the volume allows it.
bool writeSparseFile(const std::wstring& path, LONGLONG size);
// The path of the file itself that `path` leads to, through any links; empty when it cannot
// be opened.
std::wstring finalPath(const std::wstring& path);
// Wine only: the Unix path of a Windows one, empty where Wine does not say.
std::string unixPath(const std::wstring& path);
// Wine only: `link` made a Unix symbolic link to `unixTarget` with /bin/ln, which Wine
// starts like a Windows program, and removed with /bin/rm when the object goes. Wine's
// CreateSymbolicLinkW reports success and makes nothing, and its DeleteFileW removes the
// file a link leads to, leaving the link.
class UnixLink {
public:
    UnixLink(const std::wstring& link, const std::string& unixTarget);
    ~UnixLink();
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;
    bool made() const { return made_; }

private:
    std::wstring link_;
    std::string unixLink_;
    bool made_ = false;
};

// Polls `condition` every 20 ms until it holds or the time is up.
template <typename Condition> bool waitFor(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

} // namespace testing_support
