#include "launch/RunningInstance.h"

#include "platform/Handle.h"
#include "platform/Processes.h"
#include "platform/Text.h"

namespace {

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
    DWORD self = GetCurrentProcessId();
    // Looked up once there is another process of that name: mostly there is none, and
    // making the path long costs a look at every folder on it.
    std::string ownDirectory;
    std::vector<DWORD> windowless;
    for (DWORD id : listProcessIdsByName(name)) {
        if (id == self)
            continue;
        if (ownDirectory.empty())
            ownDirectory = getProcessDirectory(0);
        if (!isSameFolderOrBelow(getProcessDirectory(id), ownDirectory))
            continue;
        // Any of them with a window is the running one: the others are left to it.
        if (HWND window = findProcessWindow(id)) {
            bringToFront(window);
            return true;
        }
        windowless.push_back(id);
    }
    for (DWORD id : windowless) {
        Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process)
            endProcess(process.get());
    }
    return false;
}
