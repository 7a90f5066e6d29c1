// Starts up like the launcher but carries no resources: loading the pictures fails.
#include "launcher/Resources.h"
#include "launcher/Startup.h"

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    installLastResortHandlers();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    loadResources();
    return 0;
}
