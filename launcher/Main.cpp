#include "launcher/Startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandTail, int showCommand) {
    return runLauncher(instance, commandTail, showCommand);
}
