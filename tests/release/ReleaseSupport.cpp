#include "tests/release/ReleaseSupport.h"

#include <knownfolders.h>
#include <shlobj.h>

using namespace testing_support;

namespace release_tests {

namespace {

void endProcess(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process)
        return;
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

} // namespace

RoamingConfig roamingConfig() {
    PWSTR path = nullptr;
    RoamingConfig config;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path))) {
        config.maker = std::wstring(path) + L"\\Quenmark";
        config.folder = config.maker + L"\\Vantorra\\";
        config.ini = config.folder + L"vantorra.ini";
    }
    CoTaskMemFree(path);
    return config;
}

bool putConfig(const RoamingConfig& config, const std::string& content) {
    CreateDirectoryW(config.maker.c_str(), nullptr);
    CreateDirectoryW(config.folder.c_str(), nullptr);
    return writeFile(config.ini, content);
}

bool sameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::string runSkipMode(const InstallFolder& install) {
    size_t before = install.gameStarts().size();
    ChildProcess launcher(install.launcher(), L"-SKIP_LAUNCHER", install.path());
    if (!launcher.started())
        return "the launcher did not start";

    std::string problem;
    std::optional<DWORD> code;
    // Skip mode shows nothing; a box would stop it, so one is read out and closed.
    for (DWORD waited = 0; !code && waited < 15000; waited += 100) {
        code = launcher.wait(100);
        if (auto box = !code ? closeMessageBox(launcher.pid(), 0) : std::nullopt)
            problem += "it showed \"" + box->caption + "\": " + box->text + "; ";
    }
    if (!code) {
        launcher.kill();
        problem += "it did not end within 15 s; ";
    } else if (*code != 0) {
        problem += "it ended with " + std::to_string(*code) + "; ";
    }

    // The game writes its start from its own process, which on a busy machine may come
    // after the launcher has ended.
    std::vector<std::string> starts;
    waitFor([&] { return (starts = install.gameStarts()).size() > before; }, 5000);
    for (size_t i = before; i < starts.size(); ++i)
        endProcess(parseGameStart(starts[i]).pid);
    if (starts.size() != before + 1)
        problem += "the game was started " + std::to_string(starts.size() - before) + " times";
    return problem;
}

} // namespace release_tests
