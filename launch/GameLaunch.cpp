#include "launch/GameLaunch.h"

#include "launch/RunningInstance.h"
#include "platform/FileVersion.h"
#include "platform/Handle.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/MessageBox.h"

#include <windows.h>
#include <shellapi.h>

namespace {

// How long a freshly started game must survive before the start counts as good.
constexpr DWORD kLaunchCheckMs = 500;

bool reportStartFailure(const std::string& path) {
    showSystemError(formatText("[%s]", path.c_str()), false);
    return false;
}

} // namespace

bool findGameExecutable(std::string& name, std::string& path) {
    name = kGameFileName;
    path = kGamePath;
    return GetFileAttributesW(toWide(path)) != INVALID_FILE_ATTRIBUTES;
}

std::string gameVersion() {
    std::string name, path;
    findGameExecutable(name, path);
    return getFileVersionString(path.c_str());
}

bool launchGame(const std::string& arguments) {
    std::string name, path;
    if (!findGameExecutable(name, path)) {
        messageBox(GetActiveWindow(), L"Executable not found!", nullptr, MB_ICONERROR | MB_OK);
        return false;
    }
    if (!activateRunningInstance(name.c_str()))
        startProcess(path, arguments); // a failure has been reported already
    return true;
}

bool startProcess(const std::string& path, const std::string& arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};

    SetErrorMode(0);
    SetThreadErrorMode(0, nullptr);

    // The arguments in full (CreateProcessW takes up to 32,767 characters), in a buffer of
    // its own, since CreateProcessW may write into it.
    std::wstring widePath = toWideString(path);
    std::wstring wideArguments = toWideString(arguments);
    std::wstring commandLine = L"\"" + widePath + L"\" " + wideArguments;
    if (!CreateProcessW(widePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &info))
        return reportStartFailure(path);

    Handle process(info.hProcess);
    Handle thread(info.hThread);
    Sleep(kLaunchCheckMs);
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process.get(), &exitCode) && exitCode == STILL_ACTIVE)
        return true;
    process.reset();
    thread.reset();

    // The game ended at once (for example it restarted itself elevated): let the shell try.
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, L"open", widePath.c_str(), wideArguments.c_str(), nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return true;
    return reportStartFailure(path);
}
