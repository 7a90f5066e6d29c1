// A second floor for the skip-mode benchmark: what skip mode cannot do without, the
// roaming folder from the shell and COM for this thread, then start .\Vantorra.exe.
// Under Wine these system DLLs cost far more to attach than on Windows.
#include "StartGame.h"

#include <objbase.h>
#include <shlobj.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    PWSTR roaming = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)))
        CoTaskMemFree(roaming);
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool started = startGame();
    if (SUCCEEDED(com))
        CoUninitialize();
    return started ? 0 : 1;
}
