// The built launcher in skip mode rewrites the player's vantorra.ini, then starts the game.
#include "platform/Files.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class SkipMode : public ::testing::Test {
protected:
    std::wstring maker = roamingAppDataFolder() + L"\\Quenmark";
    std::wstring ini = maker + L"\\Vantorra\\vantorra.ini";

    void SetUp() override {
        ASSERT_FALSE(roamingAppDataFolder().empty());
        removeTree(maker);
        setStandInGame(L"window", 3000);
    }
    void TearDown() override {
        removeTree(maker);
        resetStandInGame();
    }

    void runSkipMode(const InstallFolder& folder) {
        ChildProcess launcher(folder.launcher(), L"-SKIP_LAUNCHER", folder.path());
        ASSERT_EQ(launcher.wait(20000), std::optional<DWORD>(0));
        EXPECT_EQ(folder.gameStarts().size(), 1u);
    }
};

} // namespace

TEST_F(SkipMode, FirstRunCreatesTheFoldersAndAnEmptyFile) {
    InstallFolder folder;
    runSkipMode(folder);
    EXPECT_EQ(readFile(ini), "");
}

TEST_F(SkipMode, RewritesOnlyTheManagedLinesItRead) {
    ASSERT_TRUE(CreateDirectoryW(maker.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((maker + L"\\Vantorra").c_str(), nullptr));
    ASSERT_TRUE(writeFile(ini, "// display  \r\nResolution=1280x720\r\nwindow 0\n"
                               "WindowTitle=Foo\rResolution 640x480\r\n  Adapter 2\r\nLast=1"));
    InstallFolder folder;
    runSkipMode(folder);
    // The indented Adapter line is read but not recognised, so it is appended; the
    // later Resolution line is what was loaded.
    EXPECT_EQ(readFile(ini), "// display  \r\nResolution 640x480\r\nwindow 0\n"
                             "WindowTitle=Foo\r  Adapter 2\r\nLast=1\r\nAdapter 2\r\n");
}
