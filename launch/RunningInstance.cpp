#include "launch/RunningInstance.h"

#include "platform/Handle.h"
#include "platform/Processes.h"
#include "platform/SystemFunctions.h"
#include "platform/Text.h"

namespace {

bool isWow64(HANDLE process) {
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

// A remote ExitProcess thread only works between processes of one bitness: the start
// address is taken from our own kernel32.
bool sameBitness(DWORD id) {
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process)
        return true; // unknown: try the remote thread first
    return isWow64(process.get()) == isWow64(GetCurrentProcess());
}

// Asks a windowless process to end itself with exit code 1; one of the other bitness,
// or one that refuses the thread, is terminated with that code instead.
void endWindowlessProcess(DWORD id) {
    Handle process(OpenProcess(PROCESS_TERMINATE | PROCESS_CREATE_THREAD, FALSE, id));
    if (!process)
        return;
    if (sameBitness(id)) {
        auto exitProcess = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(systemFunctions::exitProcess.get()));
        Handle thread(exitProcess ? CreateRemoteThread(process.get(), nullptr, 0, exitProcess,
                                                       reinterpret_cast<void*>(1), 0, nullptr)
                                  : nullptr);
        if (thread)
            return;
    }
    TerminateProcess(process.get(), 1);
}

// Creation time as a comparable number; 0 when it cannot be read.
unsigned long long creationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A launcher that started after this one and has no window yet is still in its own
// start-up check: ending it as well would let two launchers end each other, leaving
// the player with nothing. It finds this one and gives way instead.
bool startedAfterThisProcess(DWORD id) {
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process)
        return false;
    unsigned long long theirs = creationTime(process.get());
    unsigned long long ours = creationTime(GetCurrentProcess());
    return theirs != 0 && ours != 0 &&
           (theirs > ours || (theirs == ours && id > GetCurrentProcessId()));
}

// Whether `directory` is `folder` or lies below it. Both end in a backslash, so that
// "C:\Games\Vantorra2\" is not taken for a place below "C:\Games\Vantorra\"; letter case
// does not count in Windows paths.
bool isSameFolderOrBelow(const std::string& directory, const std::string& folder) {
    if (folder.empty())
        return false;
    std::wstring below = toWideString(directory);
    std::wstring top = toWideString(folder);
    return below.size() >= top.size() &&
           CompareStringOrdinal(below.c_str(), static_cast<int>(top.size()), top.c_str(),
                                static_cast<int>(top.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool activateRunningInstance(const char* name) {
    std::string fileName;
    if (name) {
        fileName = name;
    } else {
        fileName = getProcessModulePath(0);
        size_t slash = fileName.rfind('\\');
        if (slash != std::string::npos)
            fileName.erase(0, slash + 1);
    }

    DWORD self = GetCurrentProcessId();
    // Looked up once there is another process of that name: mostly there is none, and
    // making the path long costs a look at every folder on it.
    std::string ownDirectory;
    for (DWORD id : listProcessIdsByName(fileName.c_str())) {
        if (id == self)
            continue;
        if (ownDirectory.empty())
            ownDirectory = getProcessDirectory(0);
        if (!isSameFolderOrBelow(getProcessDirectory(id), ownDirectory))
            continue;
        // The first qualifying process decides, whatever follows it. A launcher counts as
        // having a window only once it shows one: it builds its window hidden while it is
        // still making this same check.
        HWND window = findProcessWindow(id);
        if (window && (name || IsWindowVisible(window))) {
            SetForegroundWindow(window);
            return true;
        }
        if (!name && startedAfterThisProcess(id))
            return false;
        endWindowlessProcess(id);
        return false;
    }
    return false;
}
