// vantorra.ini disturbed while the launcher runs: held open by another program, made
// read-only, its folder removed, linked into another folder, too large to hold, unreadable.
// The game must still start, and the file must be as it was or as one save of what the
// launcher found leaves it.
#include "settings/ConfigFile.h"
#include "settings/ConfigFormat.h"
#include "settings/ConfigModel.h"
#include "tests/release/ConfigCorpus.h"
#include "tests/release/ReleaseSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <thread>

using namespace release_tests;
using namespace testing_support;

namespace {

// A save rewrites the Resolution line and keeps the rest, a last line without a break
// included.
const std::string kOriginal = "// mine\r\nResolution=1280x720\r\nGamma 1.2\r\nwindow 1\nLast=1";

std::string savedFrom(const std::string& found, const std::string& loaded) {
    ConfigValues values;
    parseConfigText(loaded, values);
    return rewrittenConfig(found, values);
}

class Interference : public ::testing::Test {
protected:
    RoamingConfig config = roamingConfig();
    InstallFolder install;

    void SetUp() override {
        ASSERT_FALSE(config.ini.empty());
        removeTree(config.maker);
        ASSERT_TRUE(putConfig(config, kOriginal));
        setStandInGame(L"windowless", 30000);
    }
    void TearDown() override {
        SetFileAttributesW(config.ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        removeTree(config.maker);
        resetStandInGame();
    }

    // Everything beside vantorra.ini.
    std::set<std::wstring> leftovers() {
        std::set<std::wstring> names = namesIn(config.folder);
        names.erase(L"vantorra.ini");
        return names;
    }
};

} // namespace

TEST_F(Interference, AFileHeldByAnotherProgramIsLeftAsItWas) {
    for (bool readersWelcome : {false, true}) {
        SCOPED_TRACE(readersWelcome ? "others may read" : "no sharing");
        ASSERT_TRUE(putConfig(config, kOriginal));
        {
            HeldFile held(config.ini, readersWelcome);
            ASSERT_TRUE(held.held());
            EXPECT_EQ(runSkipMode(install), "");
        }
        EXPECT_EQ(readFile(config.ini), kOriginal);
        EXPECT_EQ(leftovers(), std::set<std::wstring>{});
    }
    // Once the other program lets go, the next start saves as usual.
    EXPECT_EQ(runSkipMode(install), "");
    EXPECT_EQ(readFile(config.ini), savedFrom(kOriginal, kOriginal));
}

namespace {

constexpr DWORD kTimeoutMs = 20000;
const std::wstring kArguments = L"-windowed +connect 10.0.0.1";

// What a press of "Starten" makes of `content` on this machine: the managed values brought
// within what its displays offer and written back.
std::string settledByPlay(const std::string& content) {
    TempDir dir;
    std::wstring ini = dir / L"vantorra.ini";
    if (!writeFile(ini, content))
        return "<not written>";
    ConfigFile file(narrow(ini));
    file.load();
    ConfigModel model(file);
    model.readAll();
    model.writeAll();
    file.save();
    return readFile(ini).value_or("<missing>");
}

// The launcher's main window, once it is shown.
HWND mainWindowOf(const ChildProcess& launcher) {
    return waitForWindow(launcher.pid(), L"Vantorra", kTimeoutMs);
}

// Whether the game was started once more, with the launcher's arguments; it is ended.
bool startedWithTheArguments(const InstallFolder& install, size_t startsBefore) {
    std::vector<std::string> starts = install.gameStarts();
    killProcessesIn(install.path());
    return starts.size() == startsBefore + 1 &&
           parseGameStart(starts.back()).commandLine.find(narrow(kArguments)) != std::string::npos;
}

} // namespace

// A file held by another program (a sync tool, a virus scanner) while the launcher starts:
// "Starten" reads it again once it is free and keeps the player's settings; while it is
// still held nothing is written. The game starts either way.
TEST_F(Interference, AFileHeldDuringTheStartKeepsThePlayersSettings) {
    const std::string players = settledByPlay("// mine\r\nWindow 0\r\nGamma 1.2\r\n");
    ASSERT_NE(players.find("\nWindow 0\r\n"), std::string::npos) << "1 is the default";
    for (bool freeAtPlay : {true, false}) {
        SCOPED_TRACE(freeAtPlay ? "free again before Starten" : "still held at Starten");
        ASSERT_TRUE(putConfig(config, players));
        size_t starts = install.gameStarts().size();
        std::optional<HeldFile> held(std::in_place, config.ini, false);
        ASSERT_TRUE(held->held());
        ChildProcess launcher(install.launcher(), kArguments, install.path());
        // The window comes after the load.
        HWND window = mainWindowOf(launcher);
        ASSERT_NE(window, nullptr);
        if (freeAtPlay)
            held.reset();
        ASSERT_TRUE(pressButton(window, L"STARTEN"));
        EXPECT_EQ(launcher.wait(kTimeoutMs), std::optional<DWORD>(0));
        held.reset();
        EXPECT_TRUE(startedWithTheArguments(install, starts));
        EXPECT_EQ(readFile(config.ini), players);
        EXPECT_EQ(leftovers(), std::set<std::wstring>{});
    }
}

// A vantorra.ini linked into another folder (a sync folder) stays linked: the save writes
// the file the link leads to. Wine makes no links of its own (its CreateSymbolicLinkW does
// nothing), but follows Unix ones as Windows follows its own, and names their targets as
// the final path. It keeps no creation time that could be set, so that the one a save
// carries over is not seen here.
TEST_F(Interference, ALinkedFileStaysLinked) {
    TempDir sync;
    const std::wstring target = sync / L"vantorra.ini";
    ASSERT_TRUE(writeFile(target, kOriginal));
    ASSERT_TRUE(DeleteFileW(config.ini.c_str()));
    {
        UnixLink link(config.ini, unixPath(target));
        ASSERT_TRUE(link.made());
        ASSERT_EQ(finalPath(config.ini), finalPath(target));
        EXPECT_EQ(runSkipMode(install), "");
        EXPECT_EQ(readFile(target), savedFrom(kOriginal, kOriginal));
        EXPECT_EQ(finalPath(config.ini), finalPath(target)) << "the link was replaced";
        EXPECT_EQ(leftovers(), std::set<std::wstring>{});
        EXPECT_EQ(namesIn(sync.path()), std::set<std::wstring>{L"vantorra.ini"});
    }

    // A hard link: a new file in its place would leave the other name with the old content,
    // and a write into it could be cut short, so the launcher leaves it.
    ASSERT_TRUE(putConfig(config, kOriginal));
    const std::wstring otherName = sync / L"other-name.ini";
    ASSERT_TRUE(CreateHardLinkW(otherName.c_str(), config.ini.c_str(), nullptr));
    EXPECT_EQ(runSkipMode(install), "");
    EXPECT_EQ(readFile(config.ini), kOriginal);
    EXPECT_EQ(readFile(otherName), kOriginal);
    EXPECT_EQ(leftovers(), std::set<std::wstring>{});
}

// A vantorra.ini too large to hold is neither read nor touched, and the game starts with
// the player's arguments, in skip mode and from the window. A 32-bit process cannot hold a
// string of 1 GiB; a 64-bit one can, and refuses only files beyond ReadFile's 32-bit
// count, so for the x64 build the file is 4 GiB. Both take no room on the disk.
TEST_F(Interference, AFileTooLargeToHoldIsLeftAndTheGameStarts) {
    const LONGLONG size = sizeof(void*) == 4 ? 1LL << 30 : (1LL << 32) + 1;
    ASSERT_TRUE(writeSparseFile(config.ini, size));
    const FILETIME written = lastWriteTime(config.ini);
    for (bool skipMode : {true, false}) {
        SCOPED_TRACE(skipMode ? "skip mode" : "Starten");
        size_t starts = install.gameStarts().size();
        ChildProcess launcher(install.launcher(),
                              skipMode ? L"-SKIP_LAUNCHER " + kArguments : kArguments,
                              install.path());
        if (!skipMode) {
            HWND window = mainWindowOf(launcher);
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(pressButton(window, L"STARTEN"));
        }
        EXPECT_EQ(launcher.wait(kTimeoutMs), std::optional<DWORD>(0));
        EXPECT_TRUE(startedWithTheArguments(install, starts));
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(config.ini.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ((LONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow, size);
    EXPECT_TRUE(sameTime(data.ftLastWriteTime, written));
    EXPECT_EQ(leftovers(), std::set<std::wstring>{});
}

// "Speichern" that cannot save says so once, in a box owned by the options window: after a
// failed read, and for a file with another name. Windows fails a read under another
// program's lock on the bytes; Wine does not, so here the file becomes a link to one that
// no read gets through: /proc/self/mem, whose first page is never mapped.
TEST_F(Interference, SpeichernThatCannotSaveSaysSoOnce) {
    TempDir elsewhere;
    for (bool failingRead : {true, false}) {
        SCOPED_TRACE(failingRead ? "a failed read" : "a hard link");
        ASSERT_TRUE(putConfig(config, kOriginal));
        if (!failingRead) {
            ASSERT_TRUE(CreateHardLinkW((elsewhere / L"other-name.ini").c_str(), config.ini.c_str(),
                                        nullptr));
        }
        ChildProcess launcher(install.launcher(), L"", install.path());
        HWND window = mainWindowOf(launcher);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(pressButton(window, L"EINSTELLUNGEN"));
        HWND options = waitForWindow(launcher.pid(), L"Einstellungen", kTimeoutMs);
        ASSERT_NE(options, nullptr);
        std::optional<UnixLink> unreadable;
        if (failingRead) {
            ASSERT_TRUE(DeleteFileW(config.ini.c_str()));
            ASSERT_TRUE(unreadable.emplace(config.ini, "/proc/self/mem").made());
        }

        // kOriginal lacks three managed keys, so Speichern has to write.
        ASSERT_TRUE(pressButton(options, L"Speichern"));
        std::vector<MessageBoxText> boxes;
        DWORD start = GetTickCount();
        // Until the window has closed and a second box would have had time to come.
        for (DWORD closedAt = 0; !closedAt || GetTickCount() - closedAt < 1000;) {
            if (auto box = closeMessageBox(launcher.pid(), 100))
                boxes.push_back(*box);
            if (!closedAt && !IsWindow(options))
                closedAt = GetTickCount();
            ASSERT_LT(GetTickCount() - start, kTimeoutMs) << "the options window stays";
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, options);
        EXPECT_NE(boxes[0].text.find(ConfigFile().path()), std::string::npos) << boxes[0].text;
        if (!failingRead) {
            EXPECT_NE(boxes[0].text.find("hard links"), std::string::npos) << boxes[0].text;
        }

        unreadable.reset();
        DeleteFileW((elsewhere / L"other-name.ini").c_str());
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.wait(kTimeoutMs), std::optional<DWORD>(0));
    }
}

// Windows refuses to replace a read-only file, and so does Wine, although Wine run as
// root would let it be opened for writing; the save only ever replaces it whole.
TEST_F(Interference, AReadOnlyFileIsLeftAsItWas) {
    ASSERT_TRUE(SetFileAttributesW(config.ini.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(runSkipMode(install), "");
    EXPECT_EQ(readFile(config.ini), kOriginal);
    EXPECT_NE(GetFileAttributesW(config.ini.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(leftovers(), std::set<std::wstring>{});
}

// Another thread removes the Quenmark folder and puts the original back, again and
// again, from the launcher's start until a random moment; the launcher may meet any
// state of the folder in its load and its save. Whatever it met, the file ends absent,
// as it was, or as a save of what was there leaves it.
TEST_F(Interference, TheFolderRemovedWhileTheLauncherRuns) {
    const std::map<std::string, std::string> allowed = {
        {kOriginal, "as it was"},
        {savedFrom(kOriginal, kOriginal), "saved"},
        {"", "made anew, empty"},
        {savedFrom("", kOriginal), "made anew with the values loaded before"},
    };
    std::map<std::string, int> outcomes;
    Random random(77);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        removeTree(config.maker);
        ASSERT_TRUE(putConfig(config, kOriginal));

        DWORD churnMs = random.below(400);
        uint32_t churnSeed = random.below(1000);
        std::atomic<bool> launcherDone{false};
        std::thread churn([&] {
            Random pause(churnSeed);
            DWORD start = GetTickCount();
            while (!launcherDone && GetTickCount() - start < churnMs) {
                removeTree(config.maker);
                Sleep(pause.below(3));
                putConfig(config, kOriginal);
                Sleep(pause.below(3));
            }
            if (pause.chance(50))
                removeTree(config.maker);
        });
        std::string problem = runSkipMode(install);
        launcherDone = true;
        churn.join();
        EXPECT_EQ(problem, "");

        std::optional<std::string> content = readFile(config.ini);
        if (!content) {
            ++outcomes["absent"];
        } else if (auto found = allowed.find(*content); found != allowed.end()) {
            ++outcomes[found->second];
        } else {
            ADD_FAILURE() << "the file was damaged: " << excerpt(*content, 0);
        }
        EXPECT_EQ(leftovers(), std::set<std::wstring>{});
    }
    for (const auto& [outcome, count] : outcomes)
        std::printf("%2d x %s\n", count, outcome.c_str());
}

namespace {

// About 25 MB in 1.2 million short lines of mods' keys, whose managed lines a save
// rewrites; so large that a save takes long enough to be cut short in any of its steps.
std::string largeConfig() {
    std::string content;
    content.reserve(26'000'000);
    char line[64];
    for (uint32_t i = 0; content.size() < 25'000'000; ++i) {
        if (i == 100)
            content += "Window=1\r\nResolution=1920x1080\r\n";
        if (i % 50 == 0)
            std::snprintf(line, sizeof(line), "// section %u\r\n", i);
        else
            std::snprintf(line, sizeof(line), "Mod%05u.K%u=%u\r\n", i % 40000, i % 7,
                          i * 2654435761u % 1000000);
        content += line;
    }
    return content + "Adapter=0\r\n";
}

// Milliseconds from the launcher's start until the game it started in skip mode writes
// its log, the save being over by then; the game is ended.
DWORD timeToGame(const InstallFolder& install) {
    size_t before = install.gameStarts().size();
    DWORD start = GetTickCount();
    ChildProcess launcher(install.launcher(), L"-SKIP_LAUNCHER", install.path());
    waitFor([&] { return install.gameStarts().size() > before; }, 30000);
    DWORD taken = GetTickCount() - start;
    launcher.wait(5000);
    killProcessesIn(install.path());
    return taken;
}

} // namespace

// Ended at any moment of its save, as a power cut, a crash or the task manager would end
// it, the launcher leaves vantorra.ini whole: the old bytes or the new ones. The
// temporaries such ends leave behind go with the next save, except one that another
// program holds open (another launcher's save in progress).
TEST_F(Interference, ALauncherEndedDuringItsSaveLeavesTheOldOrTheNewFile) {
    const std::string old = largeConfig();
    const std::string saved = savedFrom(old, old);
    ASSERT_NE(saved, old);

    // The save of the large file lies between the start-up with a small file and the start
    // of the game with the large one: the moments are spread over that stretch.
    ASSERT_TRUE(putConfig(config, kOriginal));
    DWORD startUp = timeToGame(install);
    ASSERT_TRUE(putConfig(config, old));
    DWORD whole = timeToGame(install);
    ASSERT_GT(whole, startUp);
    DWORD from = startUp / 2;

    constexpr int kKills = 24;
    std::map<std::string, int> outcomes;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        ASSERT_TRUE(putConfig(config, old));
        ChildProcess launcher(install.launcher(), L"-SKIP_LAUNCHER", install.path());
        Sleep(from + (whole - from) * kill / (kKills - 1));
        launcher.kill();
        killProcessesIn(install.path());
        std::optional<std::string> content = readFile(config.ini);
        if (content == old)
            ++outcomes["the old bytes"];
        else if (content == saved)
            ++outcomes["the new bytes"];
        else
            ADD_FAILURE() << "vantorra.ini is neither the old nor the new file: "
                          << (content ? excerpt(*content, 0) : "missing");
        if (!leftovers().empty())
            ++outcomes["kills after which a temporary lay beside it"];
    }
    for (const auto& [outcome, count] : outcomes)
        std::printf("%2d x %s\n", count, outcome.c_str());

    // One that a kill may not have left, and one being written by another program; all
    // of them older than a save in progress could be, and one just written.
    ASSERT_TRUE(writeFile(config.folder + L"vtr7.tmp", "half a save"));
    ASSERT_TRUE(writeFile(config.folder + L"vtrFACE.tmp", "being written"));
    for (const std::wstring& name : leftovers())
        ASSERT_TRUE(writtenMinutesAgo(config.folder + name, 10));
    ASSERT_TRUE(writeFile(config.folder + L"vtrF00D.tmp", "about to be put in place"));
    {
        HeldFile held(config.folder + L"vtrFACE.tmp", false);
        ASSERT_TRUE(held.held());
        EXPECT_EQ(runSkipMode(install), "");
    }
    EXPECT_EQ(readFile(config.ini), saved);
    EXPECT_EQ(leftovers(), (std::set<std::wstring>{L"vtrFACE.tmp", L"vtrF00D.tmp"}));
    EXPECT_EQ(readFile(config.folder + L"vtrFACE.tmp"), "being written");
    DeleteFileW((config.folder + L"vtrF00D.tmp").c_str());
}
