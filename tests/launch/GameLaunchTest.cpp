#include "launch/GameLaunch.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Runs launchGame with the current directory in an install folder of its own.
class GameLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        setStandInGame(L"window", 10000);
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous_);
        resetStandInGame();
    }
    void enter(const InstallFolder& folder) { SetCurrentDirectoryW(folder.path().c_str()); }

    wchar_t previous_[MAX_PATH] = {};
};

} // namespace

TEST_F(GameLaunch, StartsQuotedPathWithArgumentsInCurrentDirectory) {
    // The test executable lives elsewhere: the path is taken relative to the current folder.
    InstallFolder folder;
    enter(folder);
    MessageBoxCatcher catcher;
    EXPECT_TRUE(launchGame("-fullscreen map=\"two words\""));
    auto starts = folder.gameStarts();
    ASSERT_EQ(starts.size(), 1u);
    GameStart start = parseGameStart(starts[0]);
    EXPECT_EQ(start.commandLine, "\".\\Vantorra.exe\" -fullscreen map=\"two words\"");
    EXPECT_EQ(start.cwd + "\\", narrow(folder.path()));
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(GameLaunch, EmptyArgumentsLeaveTrailingSpace) {
    InstallFolder folder;
    enter(folder);
    EXPECT_TRUE(launchGame(""));
    auto starts = folder.gameStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(parseGameStart(starts[0]).commandLine, "\".\\Vantorra.exe\" ");
}

// Near what CreateProcessW takes (32,767 characters with the program's path), with
// letters beyond ASCII: nothing is cut or changed on the way.
TEST_F(GameLaunch, LongArgumentsReachTheGameWhole) {
    InstallFolder folder;
    enter(folder);
    std::string arguments;
    while (arguments.size() < 30000)
        arguments += "+name J\u00fcrgen \u0141ukasz \u5c71\u7530 ";
    EXPECT_TRUE(launchGame(arguments));
    auto starts = folder.gameStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(parseGameStart(starts[0]).commandLine == "\".\\Vantorra.exe\" " + arguments);
}

TEST_F(GameLaunch, MissingExecutableIsReported) {
    InstallFolder folder(false);
    enter(folder);
    MessageBoxCatcher catcher;
    EXPECT_FALSE(launchGame("x"));
    auto boxes = catcher.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Executable not found!");
    EXPECT_EQ(boxes[0].caption, "Error");
}

TEST_F(GameLaunch, FolderNamedLikeTheGamePassesTheTestButFailsToStart) {
    InstallFolder folder(false);
    ASSERT_TRUE(CreateDirectoryW(folder.game().c_str(), nullptr));
    enter(folder);
    MessageBoxCatcher catcher;
    EXPECT_TRUE(launchGame("x")) << "the executable counts as present";
    auto boxes = catcher.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    const std::string suffix = "\n[.\\Vantorra.exe]";
    ASSERT_GT(boxes[0].text.size(), suffix.size());
    EXPECT_EQ(boxes[0].text.substr(boxes[0].text.size() - suffix.size()), suffix);
}

TEST_F(GameLaunch, GameEndingWithinHalfASecondIsStartedAgainThroughTheShell) {
    InstallFolder folder;
    enter(folder);
    setStandInGame(L"exit:7");
    MessageBoxCatcher catcher;
    EXPECT_TRUE(startProcess(kGamePath, "-a b"));
    std::vector<std::string> starts;
    waitFor([&] { return (starts = folder.gameStarts()).size() >= 2; }, 10000);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(parseGameStart(starts[0]).commandLine, "\".\\Vantorra.exe\" -a b");
    // The shell builds its own command line; the arguments come after the program.
    std::string shellLine = parseGameStart(starts[1]).commandLine;
    EXPECT_NE(shellLine.find("Vantorra.exe"), std::string::npos);
    EXPECT_EQ(shellLine.substr(shellLine.size() - 5), " -a b");
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(GameLaunch, RunningGameFromOwnFolderIsActivatedNotStartedAgain) {
    // The folder of this test executable plays the launcher's folder.
    InstallFolder folder(true, false, testsDir());
    ChildProcess game(folder.game(), L"", folder.path());
    ASSERT_TRUE(waitFor([&] { return folder.gameStarts().size() == 1; }, 10000));
    Sleep(300); // let its window appear
    enter(folder);
    EXPECT_TRUE(launchGame("again"));
    EXPECT_EQ(folder.gameStarts().size(), 1u);
    EXPECT_TRUE(game.running());
}
