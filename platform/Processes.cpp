#include "platform/Processes.h"

#include "platform/Handle.h"
#include "platform/Text.h"

#include <tlhelp32.h>

namespace {

// Calls `visit` for every entry of a fresh process snapshot until it returns false.
template <typename Visit> void walkProcessSnapshot(Visit visit) {
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (!visit(entry))
            return;
    }
}

struct WindowSearch {
    DWORD id;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->id)
        return TRUE;
    bool visible = IsWindowVisible(window);
    bool enabled = IsWindowEnabled(window);
    if (search->visibleOnly && !visible)
        return TRUE;
    // Of visible ones only, a later disabled one does not replace the first.
    if (!search->visibleOnly || !search->found || enabled)
        search->found = window;
    return !(enabled && visible);
}

HWND searchProcessWindow(DWORD id, bool visibleOnly) {
    WindowSearch search = {id, visibleOnly, nullptr};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::vector<DWORD> listProcessIdsByName(const char* name) {
    std::wstring wanted = toWide(name ? name : "");
    std::vector<DWORD> ids;
    walkProcessSnapshot([&](const PROCESSENTRY32W& entry) {
        if (wanted == entry.szExeFile)
            ids.push_back(entry.th32ProcessID);
        return true;
    });
    return ids;
}

const char* getProcessModulePath(DWORD id) {
    // One call for every process, this one included: GetModuleFileNameW would give the
    // path as this process was started, which may spell the folder otherwise. Limited
    // query rights and the image name also work across bitness.
    Handle opened(id == 0 ? nullptr : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    HANDLE process = id == 0 ? GetCurrentProcess() : opened.get();
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process, 0, path, &size))
        return toNarrow(L"");
    // A start through 8.3 short names keeps them in the image name.
    wchar_t longPath[MAX_PATH];
    DWORD length = GetLongPathNameW(path, longPath, MAX_PATH);
    return toNarrow(length > 0 && length < MAX_PATH ? longPath : path);
}

std::string getProcessDirectory(DWORD id) {
    std::string path = getProcessModulePath(id);
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos)
        path.resize(slash + 1);
    return path;
}

HWND findProcessWindow(DWORD id) {
    return searchProcessWindow(id, false);
}

HWND findShownProcessWindow(DWORD id) {
    return searchProcessWindow(id, true);
}

DWORD getParentProcessId() {
    DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    walkProcessSnapshot([&](const PROCESSENTRY32W& entry) {
        if (entry.th32ProcessID != self)
            return true;
        parent = entry.th32ParentProcessID;
        return false;
    });
    return parent;
}
