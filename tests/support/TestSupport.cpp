#include "tests/support/TestSupport.h"

#include <tlhelp32.h>
#include <winioctl.h>

#include <cstdio>
#include <functional>
#include <cwchar>

namespace testing_support {

std::wstring testsDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.rfind(L'\\') + 1);
}

std::wstring launcherExe() {
    return testsDir() + L"..\\VantorraLauncher.exe";
}

std::wstring fakeGameExe(bool otherBitness) {
    bool x64 = (sizeof(void*) == 8) != otherBitness;
    return testsDir() + (x64 ? L"FakeGame64.exe" : L"FakeGame32.exe");
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr,
                                nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), out.data(), n);
    return out;
}

TempDir::TempDir(const std::wstring& base) {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    if (base.empty())
        GetTempPathW(MAX_PATH, temp);
    else
        lstrcpynW(temp, base.c_str(), MAX_PATH);
    for (;;) {
        wchar_t name[64];
        swprintf(name, 64, L"vantorra-test-%lu-%u\\", GetCurrentProcessId(), counter++);
        path_ = std::wstring(temp) + name;
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir() {
    killProcessesIn(path_);
    removeTree(path_);
}

void removeTree(const std::wstring& path) {
    std::wstring dir = path;
    if (!dir.empty() && dir.back() == L'\\')
        dir.pop_back();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = dir + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dir.c_str());
}

bool copyFile(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::optional<std::string> readFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

InstallFolder::InstallFolder(bool withGame, bool otherBitnessGame, const std::wstring& base)
    : TempDir(base) {
    copyFile(launcherExe(), launcher());
    if (withGame)
        copyFile(fakeGameExe(otherBitnessGame), game());
    setEnv(L"FAKEGAME_LOG", logPath());
}

std::vector<std::string> InstallFolder::gameStarts() const {
    std::vector<std::string> lines;
    auto content = readFile(logPath());
    if (!content)
        return lines;
    size_t start = 0;
    for (size_t end; (end = content->find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(content->substr(start, end - start));
    return lines;
}

GameStart parseGameStart(const std::string& line) {
    GameStart start;
    size_t cwdAt = line.find("|cwd=");
    size_t cmdAt = line.find("|cmd=");
    if (line.rfind("pid=", 0) != 0 || cwdAt == std::string::npos || cmdAt == std::string::npos)
        return start;
    start.pid = std::stoul(line.substr(4, cwdAt - 4));
    start.cwd = line.substr(cwdAt + 5, cmdAt - cwdAt - 5);
    start.commandLine = line.substr(cmdAt + 5);
    return start;
}

std::set<std::wstring> namesIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.insert(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

FILETIME lastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool writtenMinutesAgo(const std::wstring& path, int minutes) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER then = {{now.dwLowDateTime, now.dwHighDateTime}};
    then.QuadPart -= static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    FILETIME written = {then.LowPart, then.HighPart};
    bool set = SetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    return set;
}

void setEnv(const wchar_t* name, const std::wstring& value) {
    SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

void setStandInGame(const wchar_t* mode, DWORD lifetimeMs) {
    setEnv(L"FAKEGAME_MODE", mode ? mode : L"");
    setEnv(L"FAKEGAME_LIFETIME_MS", lifetimeMs ? std::to_wstring(lifetimeMs) : L"");
}

void resetStandInGame() {
    setStandInGame(nullptr);
}

void holdKey(WORD vk, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

void pressKey(WORD vk) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments,
                           const std::wstring& cwd) {
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       cwd.empty() ? nullptr : cwd.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        pid_ = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    if (process_) {
        if (running())
            TerminateProcess(process_, 99);
        CloseHandle(process_);
    }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(other.process_), pid_(other.pid_) {
    other.process_ = nullptr;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    std::swap(process_, other.process_);
    std::swap(pid_, other.pid_);
    return *this;
}

std::optional<DWORD> ChildProcess::wait(DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool ChildProcess::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void ChildProcess::kill() {
    if (running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
}

void killProcessesIn(const std::wstring& folder) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId())
            continue;
        HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                        entry.th32ProcessID);
        if (!process)
            continue;
        wchar_t path[MAX_PATH];
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, path, &size) &&
            _wcsnicmp(path, folder.c_str(), folder.size()) == 0) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
}

namespace {

struct WindowSearch {
    DWORD pid;
    const std::function<bool(HWND)>* matches;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || !IsWindowVisible(window) || !(*search->matches)(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

std::string windowText(HWND window) {
    wchar_t text[4096] = {};
    // WM_GETTEXT works across processes for the standard controls.
    SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return narrow(text);
}

struct FoundBox {
    HWND window;
    MessageBoxText text;
};

std::optional<FoundBox> readMessageBox(DWORD pid) {
    HWND found = findWindow(pid, [](HWND window) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        return wcscmp(className, L"#32770") == 0;
    });
    if (!found)
        return std::nullopt;
    FoundBox box = {found, {}};
    box.text.caption = windowText(found);
    box.text.owner = GetWindow(found, GW_OWNER);
    // The message text is the static control with id 0xFFFF.
    if (HWND label = GetDlgItem(found, 0xFFFF))
        box.text.text = windowText(label);
    return box;
}

void pressOk(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // Wait until it is gone so that the next search does not find it again.
    waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
}

} // namespace

HWND findWindow(DWORD pid, const std::function<bool(HWND)>& matches) {
    WindowSearch search = {pid, &matches, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HeldFile::HeldFile(const std::wstring& path, bool readersWelcome) {
    static unsigned counter = 0;
    std::wstring name = L"Local\\VantorraHeld" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++);
    held_ = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    holder_ = ChildProcess(testsDir() + L"FileHolder.exe",
                           L"\"" + path + L"\" " + name + (readersWelcome ? L" read" : L""), L"");
}

HeldFile::~HeldFile() {
    holder_.kill();
    CloseHandle(held_);
}

bool HeldFile::held() {
    return held_ && WaitForSingleObject(held_, 15000) == WAIT_OBJECT_0;
}

std::optional<MessageBoxText> closeMessageBox(DWORD pid, DWORD timeoutMs) {
    std::optional<FoundBox> box;
    if (!waitFor([&] { return (box = readMessageBox(pid)).has_value(); }, timeoutMs))
        return std::nullopt;
    pressOk(box->window);
    return box->text;
}

int countMessageBoxes(DWORD pid) {
    int count = 0;
    findWindow(pid, [&count](HWND window) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        count += wcscmp(className, L"#32770") == 0;
        return false;
    });
    return count;
}

std::optional<MessageBoxText> readMessageBoxText(DWORD pid) {
    auto box = readMessageBox(pid);
    return box ? std::optional<MessageBoxText>(box->text) : std::nullopt;
}

HWND waitForWindow(DWORD pid, const wchar_t* title, DWORD timeoutMs) {
    auto titled = [title](HWND window) {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return wcscmp(text, title) == 0;
    };
    HWND found = nullptr;
    waitFor([&] { return (found = findWindow(pid, titled)) != nullptr; }, timeoutMs);
    return found;
}

bool pressButton(HWND window, const wchar_t* caption) {
    HWND button = FindWindowExW(window, nullptr, L"Button", caption);
    // Posted: the press may open a window or a box of its own and wait for it.
    return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool writeSparseFile(const std::wstring& path, LONGLONG size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    // Windows fills a file that is not sparse with zeros on the disk; Wine's files are
    // sparse anyway.
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    bool done = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return done;
}

std::wstring finalPath(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[MAX_PATH * 2] = {};
    DWORD length = GetFinalPathNameByHandleW(file, name, MAX_PATH * 2, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(name, length) : std::wstring();
}

std::string unixPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

namespace {

// Wine neither waits for a Unix program nor hands on its exit code: callers wait for what
// it did.
void runUnixProgram(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

std::wstring quoted(const std::string& unixPath) {
    return L"\"" + wide(unixPath) + L"\"";
}

// Also a link whose target is gone, which opens as no file at all.
bool nameListed(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

} // namespace

UnixLink::UnixLink(const std::wstring& link, const std::string& unixTarget)
    : link_(link), unixLink_(unixPath(link)) {
    if (unixLink_.empty())
        return;
    runUnixProgram(L"/bin/ln -s " + quoted(unixTarget) + L" " + quoted(unixLink_));
    made_ = waitFor([&] { return !finalPath(link).empty(); }, 5000);
}

UnixLink::~UnixLink() {
    if (unixLink_.empty())
        return;
    runUnixProgram(L"/bin/rm -f " + quoted(unixLink_));
    waitFor([&] { return !nameListed(link_); }, 5000);
}

MessageBoxCatcher::MessageBoxCatcher() {
    thread_ = std::thread([this] {
        while (!stop_) {
            if (auto box = readMessageBox(GetCurrentProcessId())) {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    boxes_.push_back(box->text);
                }
                pressOk(box->window);
            }
            Sleep(20);
        }
    });
}

MessageBoxCatcher::~MessageBoxCatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<MessageBoxText> MessageBoxCatcher::boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

} // namespace testing_support
