// The skip-mode floor for tools/bench.sh: what skip mode cannot do without. The roaming
// folder from the shell, COM for this thread, vantorra.ini read whole and written back
// through a temporary beside it that then takes its place, then .\Vantorra.exe started.
#include "StartGame.h"

#include <objbase.h>
#include <shlobj.h>

#include <string>

namespace {

bool rewrite(const std::wstring& folder) {
    std::wstring path = folder + L"\\vantorra.ini";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    BOOL read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    wchar_t temporary[MAX_PATH];
    if (!read || !GetTempFileNameW(folder.c_str(), L"vtr", 0, temporary))
        return false;
    file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL done = WriteFile(file, bytes.data(), got, &written, nullptr) && FlushFileBuffers(file);
    CloseHandle(file);
    return done &&
           MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    PWSTR roaming = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)))
        folder = std::wstring(roaming) + L"\\Quenmark\\Vantorra";
    CoTaskMemFree(roaming);
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool saved = rewrite(folder);
    bool started = startGame();
    if (SUCCEEDED(com))
        CoUninitialize();
    return saved && started ? 0 : 1;
}
