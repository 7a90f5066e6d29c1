#include "platform/Processes.h"

#include "platform/Handle.h"
#include "platform/SystemFunctions.h"
#include "platform/SystemHooks.h"
#include "platform/Text.h"

#include <winternl.h>

#include <string_view>

namespace {

// The longest path the system takes, in characters with the terminator.
constexpr DWORD kLongestPath = 32767;
// How long a process that is ended may take to go before the caller carries on.
constexpr DWORD kEndWaitMs = 1000;
// NTSTATUS of a buffer too small for the list.
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);

struct ProcessEntry {
    DWORD id;
    DWORD parent;
    std::wstring_view name; // the image's file name
};

// Calls `visit` for every process the system lists now, until it returns false; none when
// the list cannot be had. The system's own list, in one call where it fits: Wine's
// toolhelp snapshot copies it into a section that it maps again for every entry, which
// cost skip mode several milliseconds.
template <typename Visit> void walkProcesses(Visit visit) {
    auto query = systemFunctions::ntQuerySystemInformation.get();
    if (!query)
        return;
    // Aligned for the entries; processes may start between two calls.
    std::vector<ULONGLONG> buffer(64 * 1024 / sizeof(ULONGLONG));
    ULONG size = 0;
    NTSTATUS status = kInfoLengthMismatch;
    for (int attempt = 0; attempt < 5 && status == kInfoLengthMismatch; ++attempt) {
        if (attempt > 0)
            buffer.resize(buffer.size() * 2 + size / sizeof(ULONGLONG));
        size = 0;
        status = query(SystemProcessInformation, buffer.data(),
                       static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG)), &size);
    }
    if (status < 0)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    size_t end = buffer.size() * sizeof(ULONGLONG);
    for (size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= end;) {
        const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(bytes + offset);
        const UNICODE_STRING& image = info->ImageName;
        ProcessEntry entry = {
            static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info->UniqueProcessId)),
            static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info->InheritedFromUniqueProcessId)),
            image.Buffer ? std::wstring_view(image.Buffer, image.Length / sizeof(wchar_t))
                         : std::wstring_view()};
        if (!visit(entry) || info->NextEntryOffset == 0)
            return;
        offset += info->NextEntryOffset;
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
    walkProcesses([&](const ProcessEntry& entry) {
        if (entry.name == wanted)
            ids.push_back(entry.id);
        return true;
    });
    return ids;
}

std::string getProcessModulePath(DWORD id) {
    // One call for every process, this one included: GetModuleFileNameW would give the
    // path as this process was started, which may spell the folder otherwise. Limited
    // query rights and the image name also work across bitness.
    Handle opened(id == 0 ? nullptr : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    HANDLE process = id == 0 ? GetCurrentProcess() : opened.get();
    if (!process)
        return {};
    // Mostly it fits in MAX_PATH; a longer one is asked for again with room for any.
    std::wstring path(MAX_PATH, L'\0');
    DWORD size = MAX_PATH;
    bool got = systemHooks.processImageName(process, 0, path.data(), &size);
    if (!got && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        path.assign(kLongestPath, L'\0');
        size = kLongestPath;
        got = systemHooks.processImageName(process, 0, path.data(), &size);
    }
    if (!got)
        return {};
    path.resize(size);
    // A start through 8.3 short names keeps them in the image name. One call where the
    // path fits: Wine looks at every folder on it for each call.
    std::wstring longPath(MAX_PATH, L'\0');
    DWORD length = GetLongPathNameW(path.c_str(), longPath.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        // Too long: `length` is the size needed, terminator included.
        DWORD needed = length;
        longPath.assign(needed, L'\0');
        length = GetLongPathNameW(path.c_str(), longPath.data(), needed);
        if (length >= needed)
            length = 0;
    }
    if (length > 0) {
        longPath.resize(length);
        path = longPath;
    }
    return toNarrowString(path.c_str());
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

void bringToFront(HWND window) {
    // Without waiting for the window's thread, which may be busy or stuck.
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
}

bool endProcess(HANDLE process) {
    if (!TerminateProcess(process, 1))
        return false;
    WaitForSingleObject(process, kEndWaitMs);
    return true;
}

DWORD getParentProcessId() {
    DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    walkProcesses([&](const ProcessEntry& entry) {
        if (entry.id != self)
            return true;
        parent = entry.parent;
        return false;
    });
    return parent;
}
