// The floor for the skip-mode benchmark: start .\Vantorra.exe and leave.
#include "StartGame.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return startGame() ? 0 : 1;
}
