#pragma once
// The launcher's start-up: last-resort handlers, command line, skip mode, instance
// check, and the order in which the rest is brought up and taken down.
#include <windows.h>

#include <string>

constexpr const char* kSkipSwitch = "-SKIP_LAUNCHER";

struct CommandLine {
    // Handed to the game: the tail as the system gives it, with every "&" made a space.
    std::string gameArguments;
    // Upper-cased copy taken before that replacement; used only for the switch test.
    std::string switchTest;
};

CommandLine parseCommandLine(const wchar_t* tail);
bool isSkipMode(const CommandLine& commandLine);

// From here on an uncaught exception or a fault that reaches the top ends in
// emergencyLaunch.
void installLastResortHandlers();
// Starts the game without arguments and exits with code 1.
[[noreturn]] void emergencyLaunch();

bool isRunningUnderWow64();

// The whole run; returns the process exit code.
int runLauncher(HINSTANCE instance, const wchar_t* commandTail, int showCommand);
