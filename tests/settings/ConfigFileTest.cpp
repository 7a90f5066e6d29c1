// Loading and saving vantorra.ini through ConfigFile, against real files.
#include "settings/ConfigFile.h"
#include "settings/ConfigFormat.h"
#include "settings/FileAccess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

using namespace testing_support;
using namespace std::string_literals;

namespace {

using Settings = std::initializer_list<std::pair<const char*, const char*>>;

class ConfigFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring ini = dir / L"vantorra.ini";

    ConfigFile loaded(const std::string& content) {
        EXPECT_TRUE(writeFile(ini, content));
        ConfigFile config(narrow(ini));
        EXPECT_TRUE(config.load());
        return config;
    }

    // The file after loading `content`, setting `settings` and saving.
    std::string saved(const std::string& content, Settings settings = {}) {
        ConfigFile config = loaded(content);
        for (const auto& [key, value] : settings)
            config.set(key, value);
        EXPECT_TRUE(config.save());
        return readFile(ini).value_or("<missing>");
    }
};

const Settings kAllFour = {
    {"Window", "1"}, {"Resolution", "1920x1080"}, {"Adapter", "0"}, {"StartUpperPos", "0 0"}};

} // namespace

TEST_F(ConfigFileTest, WorkedExample) {
    std::string old = "// display\r\nWindow=0\r\nAnyOtherKey 5\r\nResolution 1280x720\r\n"
                      "window 0\r\n  Adapter 1\r\n";
    EXPECT_EQ(saved(old, kAllFour), "// display\r\nWindow 1\r\nAnyOtherKey 5\r\n"
                                    "Resolution 1920x1080\r\n  Adapter 1\r\n"
                                    "Adapter 0\r\nStartUpperPos 0 0\r\n");
    // The appended line comes later than the indented one, so it wins.
    ConfigFile again(narrow(ini));
    again.load();
    EXPECT_EQ(again.get("Adapter"), "0");
    EXPECT_FALSE(again.contains("window"));
}

TEST_F(ConfigFileTest, LoadSplitsLinesIntoKeysAndValues) {
    ConfigFile config = loaded("Window=0\r\nwindow 1\n\n\rSpaced = 1 \t\r\nTabbed\t2\n"
                               "StartUpperPos -5 7\rKey=a=b\nBare\n=5\n// Window 9\nx/ 3\n"
                               "   \n  Indented 4\n");
    ConfigValues expected = {
        {"Window", "0"},           {"window", "1"}, {"Spaced", "1"}, {"Tabbed", "2"},
        {"StartUpperPos", "-5 7"}, {"Key", "a=b"},  {"Bare", ""},    {"5", ""},
        {"Indented", "4"}};
    EXPECT_EQ(config.values(), expected);
}

TEST_F(ConfigFileTest, LoadTakesLinesUpTo510BytesAndSurvivesLongerOnes) {
    std::string line510 = "A " + std::string(508, 'v');
    std::string line511 = "B " + std::string(509, 'v');
    std::string raw600 = "C " + std::string(598, 'v');
    // Trailing spaces do not count, so this one is read although its raw line is 511 bytes.
    std::string spaced = "D " + std::string(507, 'v') + "  ";
    ConfigFile config =
        loaded(line510 + "\n" + line511 + "\n" + raw600 + "\n" + spaced + "\nAfter 1");
    EXPECT_EQ(config.get("A").size(), 508u);
    EXPECT_FALSE(config.contains("B"));
    EXPECT_FALSE(config.contains("C"));
    EXPECT_EQ(config.get("D").size(), 507u);
    EXPECT_EQ(config.get("After"), "1");
}

TEST_F(ConfigFileTest, LoadReadsTheWholeOfALongFile) {
    std::string content;
    while (content.size() < 40000)
        content += "Filler" + std::to_string(content.size()) + " some value\r\n";
    ConfigFile config = loaded(content + "Window 1\r\n");
    EXPECT_EQ(config.get("Window"), "1");
}

TEST_F(ConfigFileTest, LoadOfAMissingFileLeavesValuesEmptyAndCreatesNothing) {
    ConfigFile config(narrow(dir / L"Sub\\vantorra.ini"));
    MessageBoxCatcher boxes;
    EXPECT_TRUE(config.load());
    EXPECT_TRUE(config.values().empty());
    EXPECT_FALSE(fileExists(dir / L"Sub"));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ConfigFileTest, LineBreaksCommentsAndTrailingSpacesSurvive) {
    EXPECT_EQ(saved("A=1 \nWindow=0\n// note  \nB\t2\t\n", {{"Window", "1"}}),
              "A=1 \nWindow 1\r\n// note  \nB\t2\t\n");
    EXPECT_EQ(saved("A=1\rWindow 0\rB 2\r", {{"Window", "1"}}), "A=1\rWindow 1\r\nB 2\r");
    EXPECT_EQ(saved("A\r\n\r\n\nResolution 1x1\n\r\rB", {{"Resolution", "2x2"}}),
              "A\r\n\r\n\nResolution 2x2\r\n\r\rB");
    // A lone CR ends a line for the game's reader, so it does for the rewrite too.
    EXPECT_EQ(saved("A 1\rWindow 0\nB 2\n", {{"Window", "1"}}), "A 1\rWindow 1\r\nB 2\n");
}

TEST_F(ConfigFileTest, OnlyTheFirstLineOfAHeldKeyStays) {
    EXPECT_EQ(saved("WINDOW=0\nA 1\nWindow 5\nwindow\nWindow=7", {{"Window", "1"}}),
              "Window 1\r\nA 1\n");
    // An empty value is written as the key alone.
    EXPECT_EQ(saved("Window 0\n", {{"Window", ""}}), "Window\r\n");
}

TEST_F(ConfigFileTest, LongerKeysBeginningWithAManagedKeyAreOtherKeys) {
    std::string old = "WindowTitle=Foo\nResolutionScale 2\nAdapters 3\nStartUpperPosX=1\n"
                      "Window\t0\nResolution=1x1\nAdapter";
    EXPECT_EQ(saved(old, kAllFour),
              "WindowTitle=Foo\nResolutionScale 2\nAdapters 3\nStartUpperPosX=1\n"
              "Window 1\r\nResolution 1920x1080\r\nAdapter 0\r\nStartUpperPos 0 0\r\n");
}

TEST_F(ConfigFileTest, LinesOfKeysTheSettingsDoNotHoldAreKept) {
    // Skip mode saves the values exactly as loaded: "window" is not "Window".
    EXPECT_EQ(saved("window 0\n"), "window 0\n");
    EXPECT_EQ(saved("A 1\r\nResolution=1280x720\r\nB 2\r\n"),
              "A 1\r\nResolution 1280x720\r\nB 2\r\n");
    EXPECT_EQ(saved("adapter 3\nresolution 9\nWINDOW 0\n", {{"Resolution", "1x1"}}),
              "adapter 3\nResolution 1x1\r\nWINDOW 0\n");
}

TEST_F(ConfigFileTest, KeysAreNeverInvented) {
    EXPECT_EQ(saved("A 1\nB=2"), "A 1\nB=2");
    EXPECT_EQ(saved("A 1\n", {{"Other", "5"}, {"window", "1"}}), "A 1\n");
}

TEST_F(ConfigFileTest, AppendedLinesStartOnALineOfTheirOwn) {
    EXPECT_EQ(saved("A=1", {{"Window", "1"}, {"Adapter", "2"}}),
              "A=1\r\nWindow 1\r\nAdapter 2\r\n");
    EXPECT_EQ(saved("A=1\r", {{"Window", "1"}}), "A=1\rWindow 1\r\n");
    EXPECT_EQ(saved("", {{"Adapter", "2"}, {"Window", "1"}}), "Window 1\r\nAdapter 2\r\n");
}

// A file zero-filled by a crash: the reader stops at the first NUL, so the managed lines
// go in front of it, and every byte from the NUL on is kept.
TEST_F(ConfigFileTest, ManagedLinesGoInFrontOfTheFirstNul) {
    EXPECT_EQ(saved("A 1\r\n\0junk"s, kAllFour),
              "A 1\r\nWindow 1\r\nResolution 1920x1080\r\nAdapter 0\r\nStartUpperPos 0 0\r\n"
              "\0junk"s);
    ConfigFile again(narrow(ini));
    again.load();
    for (const auto& [key, value] : kAllFour)
        EXPECT_EQ(again.get(key), value) << key;

    EXPECT_EQ(saved("Window 0\r\nA\0B\r\nWindow 0\0\r\n"s, {{"Window", "1"}, {"Adapter", "0"}}),
              "Window 1\r\nA\r\nAdapter 0\r\n\0B\r\nWindow 0\0\r\n"s);
}

TEST_F(ConfigFileTest, ALongValueIsWrittenWhole) {
    std::string value(400, 'x');
    EXPECT_EQ(saved("Resolution 1x1\n", {{"Resolution", value.c_str()}}),
              "Resolution " + value + "\r\n");
}

TEST_F(ConfigFileTest, TwoSavesInARowGiveTheSameFile) {
    ConfigFile config = loaded("A 1\rWindow 0\rwindow 3\rB");
    config.set("Resolution", "800x600");
    config.save();
    std::string first = readFile(ini).value_or("");
    EXPECT_EQ(first, "A 1\rWindow 0\r\nB\r\nResolution 800x600\r\n");
    config.save();
    EXPECT_EQ(readFile(ini).value_or(""), first);
}

TEST_F(ConfigFileTest, SaveKeepsWhatAnotherProgramWroteSinceLoad) {
    ConfigFile config = loaded("Window 0\nA 1\n");
    config.set("Window", "1");
    ASSERT_TRUE(writeFile(ini, "B 2\nWindow 9\nA 5\n"));
    config.save();
    EXPECT_EQ(readFile(ini), "B 2\nWindow 1\r\nA 5\n");
}

TEST_F(ConfigFileTest, FirstSaveCreatesBothFoldersAndTheFile) {
    std::wstring path = dir / L"Quenmark\\Vantorra\\vantorra.ini";
    ConfigFile empty(narrow(path));
    empty.save();
    EXPECT_EQ(readFile(path), "");

    removeTree(dir / L"Quenmark");
    ConfigFile config(narrow(path));
    for (const auto& [key, value] : {std::pair{"StartUpperPos", "-1 2"},
                                     {"Adapter", "1"},
                                     {"Resolution", "1024x768"},
                                     {"Window", "0"}})
        config.set(key, value);
    config.save();
    EXPECT_EQ(readFile(path),
              "Window 0\r\nResolution 1024x768\r\nAdapter 1\r\nStartUpperPos -1 2\r\n");
}

TEST(ConfigLocation, TheFileLivesInTheRoamingFolder) {
    std::string folder = configFolder();
    const std::string tail = "\\Quenmark\\Vantorra\\";
    ASSERT_GT(folder.size(), tail.size());
    EXPECT_EQ(folder.substr(folder.size() - tail.size()), tail);
    std::string roaming = folder.substr(0, folder.size() - tail.size());
    DWORD attributes = GetFileAttributesW(wide(roaming).c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << roaming;
    EXPECT_EQ(ConfigFile().path(), folder + "vantorra.ini");
}

// A path past MAX_PATH takes a second call with the size the first one asked for.
TEST(ConfigLocation, ShortPathsOfAnyLength) {
    TempDir dir;
    std::string base = shortPathOf(dir.path().c_str());
    ASSERT_FALSE(base.empty());
    EXPECT_EQ(shortPathOf((dir / L"missing").c_str()), "");
    // Names that are their own short form.
    const std::wstring prefix = L"\\\\?\\";
    std::vector<std::wstring> made;
    std::wstring path = dir.path();
    std::string expected = base;
    while (path.size() <= 2 * MAX_PATH) {
        path += L"abcdefgh\\";
        expected += "abcdefgh\\";
        ASSERT_TRUE(CreateDirectoryW((prefix + path).c_str(), nullptr));
        made.push_back(prefix + path);
    }
    EXPECT_EQ(shortPathOf((prefix + path).c_str()), "\\\\?\\" + expected);
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
}

TEST(ConfigLocation, ParentDirectories) {
    EXPECT_EQ(parentDirectory("C:\\vantorra.ini"), std::nullopt);
    EXPECT_EQ(parentDirectory("vantorra.ini"), std::nullopt);
    EXPECT_EQ(parentDirectory("\\vantorra.ini"), std::string());
    EXPECT_EQ(parentDirectory("C:\\A\\B\\vantorra.ini"), std::string("C:\\A\\B"));
}

TEST(ConfigLocation, MissingFilesAreNotOpenedQuietly) {
    TempDir dir;
    std::string missing = narrow(dir / L"missing.ini");
    MessageBoxCatcher boxes;
    FileContent content = readWholeFile(missing);
    EXPECT_FALSE(content.opened);
    EXPECT_FALSE(content.complete);
    EXPECT_EQ(content.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(boxes.boxes().empty());
}
