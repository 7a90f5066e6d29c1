#include "launcher/Startup.h"

#include "launch/GameLaunch.h"
#include "launch/LauncherClaim.h"
#include "launcher/Resources.h"
#include "launcher/StartupFacts.h"
#include "platform/StartupValues.h"
#include "platform/SystemFunctions.h"
#include "platform/Text.h"
#include "screens/MainWindow.h"
#include "settings/ConfigFile.h"
#include "platform/PadDriver.h"
#include "platform/MessageBox.h"

#include <objbase.h>

#include <atomic>
#include <cstdlib>
#include <exception>

namespace {

// The thread that makes the emergency launch; 0 until one fails.
std::atomic<DWORD> emergencyThread{0};

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS*) {
    emergencyLaunch();
}

void uninitializeCom() {
    CoUninitialize();
}

// Steam's Game Mode on a handheld sets SteamDeck=1; any other value, or none, is a desktop.
bool onHandheld() {
    wchar_t value[4] = {};
    DWORD length = GetEnvironmentVariableW(L"SteamDeck", value, 4);
    return length == 1 && value[0] == L'1';
}

void showWow64Warning() {
    messageBox(GetActiveWindow(),
               L"Vantorra is not compatible with the 32-bit version of Windows you are running. "
               L"Please use the 64-bit version of Windows instead!",
               L"Warning", MB_ICONWARNING | MB_OK);
}

} // namespace

CommandLine parseCommandLine(const wchar_t* tail) {
    CommandLine result;
    if (!tail || !*tail)
        return result;
    // In full: the pools would cut the player's arguments at 1023 bytes.
    result.gameArguments = toNarrowString(tail);
    // CharUpperA may not take the string object's storage directly; work on a copy.
    std::string upper = result.gameArguments;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    result.switchTest = upper;
    for (size_t at = result.gameArguments.find('&'); at != std::string::npos;
         at = result.gameArguments.find('&', at))
        result.gameArguments[at] = ' ';
    return result;
}

bool isSkipMode(const CommandLine& commandLine) {
    return commandLine.switchTest.find(kSkipSwitch) != std::string::npos;
}

void emergencyLaunch() {
    // The process has just failed: its exit handlers and static destructors may be what
    // failed, and running them could end it with a crash code instead of 1. Nothing of
    // ours runs after the game has been started.
    // One thread makes the launch. Another one failing meanwhile waits for it to end the
    // process: ending it now could come before the game starts, and a launch of its own
    // would start a second game or end the first, still windowless, one. Only the launching
    // thread failing again inside its own launch ends the process at once.
    DWORD self = GetCurrentThreadId();
    DWORD first = 0;
    if (emergencyThread.compare_exchange_strong(first, self))
        launchGame(std::string());
    else if (first != self)
        for (;;)
            Sleep(INFINITE);
    TerminateProcess(GetCurrentProcess(), 1);
    ExitProcess(1); // not reached: TerminateProcess does not return for this process
}

void installLastResortHandlers() {
    std::set_terminate(emergencyLaunch);
    SetUnhandledExceptionFilter(onUnhandledException);
}

bool isRunningUnderWow64() {
    auto isWow64Process = systemFunctions::isWow64Process.get();
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

int runLauncher(HINSTANCE instance, const wchar_t* commandTail, int showCommand) {
    installLastResortHandlers();

    CommandLine commandLine = parseCommandLine(commandTail);
    bool skipMode = isSkipMode(commandLine);

    ConfigFile config;
    // Skip mode only rewrites the managed lines.
    if (skipMode)
        config.loadManagedKeys();
    else
        config.load();

    startup::instance = instance;
    startup::showCommand = showCommand;
    startup::handheld = onHandheld();
    // There the controller is what the player holds: its prompts show from the start.
    setPadInUse(startup::handheld);

    atexit(uninitializeCom);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    if (skipMode) {
        config.save();
        if (launchGame(commandLine.gameArguments))
            return 0;
        // The game is missing and the player has been told: carry on with the window,
        // which holds every key of the file.
        config.load();
    }

    // Beside the main thread, which builds the window and its controls hidden with the
    // sizes the pictures declare: one thread finds out the launcher's folder, where to open
    // and the game's version, another decodes the pictures, which the first paint waits for.
    StartupFacts startupFacts;
    beginLoadingResources();
    MainWindowFacts facts = {[&startupFacts] { return startupFacts.startingWindowCentre(); },
                             [&startupFacts] { return startupFacts.gameVersion(); }};
    MainWindow window(config, launcherArtwork(), facts);
    window.commandLine = commandLine.gameArguments;

    // Shown only by the one launcher of this folder: one that gives way is never seen.
    LauncherClaim claim(startupFacts.launcherFolder());
    if (!claim.take())
        return 0;
    finishLoadingResources(window.dpi);
    // Another launcher took this one for stuck and is ending it.
    if (!claim.commitToShow())
        return 0;

    // A 64-bit build never runs on 32-bit Windows; a 32-bit one outside WoW64 does.
    if (sizeof(void*) == 4 && !isRunningUnderWow64())
        showWow64Warning();
    window.run();
    return 0;
}
