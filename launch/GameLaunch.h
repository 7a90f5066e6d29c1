#pragma once
// Starting the game: ".\Vantorra.exe", relative to the current directory, with the
// launcher's arguments.
#include <string>

constexpr const char* kGameFileName = "Vantorra.exe";
constexpr const char* kGamePath = ".\\Vantorra.exe";

// Sets the game's file name and path; true when something exists at the path (a
// folder of that name counts too).
bool findGameExecutable(std::string& name, std::string& path);
// "major.minor.build" of the game executable, as the main window shows it; empty without
// a version record or a game. Any thread.
std::string gameVersion();

// True when the executable is there: the game was started, a running one from this
// folder was brought to the front, or the failed start has been reported. False, after
// "Executable not found!", when it is missing.
bool launchGame(const std::string& arguments);

// Starts the process and checks half a second later that it still runs, falling back
// to the shell when it does not. False after a failure has been reported.
bool startProcess(const std::string& path, const std::string& arguments);
