// vantorra.ini disturbed while the launcher runs in skip mode: held open by another
// program, made read-only, its folder removed. The game must still start, and the file
// must be as it was or as one save of what the launcher found leaves it.
#include "settings/ConfigFormat.h"
#include "tests/release/ConfigCorpus.h"
#include "tests/release/ReleaseSupport.h"

#include <gtest/gtest.h>

#include <atomic>
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

    // Everything beside vantorra.ini. Wine's ReplaceFileW first moves the original aside
    // into an "rf*.tmp" of its own naming; when that fails it leaves the empty file
    // behind, which Windows never does. Only the launcher's own debris counts.
    std::set<std::wstring> leftovers() {
        std::set<std::wstring> names = namesIn(config.folder);
        names.erase(L"vantorra.ini");
        if (runningUnderWine()) {
            std::erase_if(names, [&](const std::wstring& name) {
                return name.starts_with(L"rf") && name.ends_with(L".tmp") &&
                       readFile(config.folder + name) == "";
            });
        }
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
