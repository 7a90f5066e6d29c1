#include "settings/ConfigFile.h"
#include "settings/ConfigModel.h"
#include "tests/display/FakeDxgi.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace fake_dxgi;

namespace {

OutputScript output(RECT desktop, std::vector<DXGI_MODE_DESC> modes) {
    OutputScript script;
    script.desktop = desktop;
    script.modes = std::move(modes);
    return script;
}

// Desktop monitors: 0 a 1920 x 1080 screen at the origin, 1 one to its left offering
// only 1600 x 900 and 1280 x 720, 2 one to its right offering 2560 x 1440 and smaller.
FactoryScript threeMonitors() {
    AdapterScript adapter;
    adapter.outputs = {
        output({0, 0, 1920, 1080}, {mode(1920, 1080), mode(1600, 900), mode(1280, 720)}),
        output({-1920, 0, 0, 1080}, {mode(1600, 900), mode(1280, 720)}),
        output({1920, 0, 3840, 1080}, {mode(2560, 1440), mode(1920, 1080)})};
    FactoryScript script;
    script.adapters = {adapter};
    return script;
}

FactoryScript monitors(int count) {
    FactoryScript script = threeMonitors();
    script.adapters[0].outputs.resize(count);
    return script;
}

class Entries : public ::testing::Test {
protected:
    ConfigFile settings{"unused-vantorra.ini"};
};

} // namespace

TEST_F(Entries, EmptySettingsGiveDefaultsAndAllFourKeys) {
    ConfigModel model(settings, sourceFor(monitors(2)));
    model.readAll();
    EXPECT_EQ(model.adapterEntry().value, 0);
    EXPECT_EQ(model.resolutionEntry().value, 0);
    EXPECT_EQ(model.windowEntry().value, 1);
    EXPECT_TRUE(settings.values().empty()) << "reading inserts nothing";
    model.writeAll();
    EXPECT_EQ(settings.values(), (std::map<std::string, std::string>{{"Adapter", "0"},
                                                                     {"StartUpperPos", "0 0"},
                                                                     {"Resolution", "1920x1080"},
                                                                     {"Window", "1"}}));
}

TEST_F(Entries, WindowReadsNumbersAndFallsBackToItsDefault) {
    ConfigModel model(settings, sourceFor(monitors(1)));
    const std::pair<const char*, int> cases[] = {
        {"7", 1},
        {"-1", 1},
        {"65536", 0},
        {"1abc", 1},
        {"", 1},
        {"0", 0},
        {" \t+0", 0},
        // Neither a number nor within 32 bits: as if the key were missing.
        {"abc", 1},
        {"x0", 1},
        {"- 0", 1},
        {" ", 1},
        {"2147483648", 1},
        {"-2147483649", 1},
        {"99999999999999999999", 1},
        {"2147483647", 1},
        {"-2147483648", 0}};
    for (const auto& [text, expected] : cases) {
        settings.set("Window", text);
        model.windowEntry().value = 5;
        model.windowEntry().read();
        EXPECT_EQ(model.windowEntry().value, expected) << '"' << text << '"';
    }
}

TEST_F(Entries, AdapterIsClampedToTheDesktopMonitors) {
    ConfigModel two(settings, sourceFor(monitors(2)));
    ConfigModel one(settings, sourceFor(monitors(1)));
    const std::pair<const char*, int> cases[] = {{"3", 1}, {"-1", 1},  {"1", 1},         {"0", 0},
                                                 {"", 0},  {"one", 0}, {"4294967297", 0}};
    for (const auto& [text, expected] : cases) {
        settings.set("Adapter", text);
        two.adapterEntry().read();
        EXPECT_EQ(two.adapterEntry().value, expected) << '"' << text << '"';
    }
    settings.set("Adapter", "3");
    one.adapterEntry().read();
    EXPECT_EQ(one.adapterEntry().value, 0);
}

TEST_F(Entries, ResolutionIsMatchedAgainstTheChosenMonitor) {
    ConfigModel model(settings, sourceFor(threeMonitors()));
    const std::tuple<const char*, const char*, int> cases[] = {
        {"0", "1280x720", 2},
        {"0", "1280X720", 0},
        {"0", "1280", 0},
        {"0", " 1600x900 60Hz", 1},
        {"0", "67136x900", 1}, // 16-bit cut: 67136 - 65536 = 1600
        {"0", "x720", 0},
        {"0", "1280x", 0},
        {"1", "1280x720", 1},
        {"1", "1920x1080", 0}, // another monitor's size
        {"2", "1920x1080", 1},
        // Beyond 32 bits: the first mode rather than the end of the launcher.
        {"0", "99999999999x720", 0},
        {"0", "1280x99999999999", 0},
        {"2", "1920x1080x4294967296", 1}, // the height text stops at the second x
    };
    for (const auto& [adapter, text, expected] : cases) {
        settings.set("Adapter", adapter);
        settings.set("Resolution", text);
        model.resolutionEntry().value = 9;
        model.readAll();
        EXPECT_EQ(model.resolutionEntry().value, expected) << adapter << ": \"" << text << '"';
    }
}

TEST_F(Entries, StartPositionCentresTheModeOnTheChosenMonitor) {
    ConfigModel model(settings, sourceFor(threeMonitors()));
    model.readAll();
    model.adapterEntry().value = 1;
    model.resolutionEntry().value = 1;
    model.writeAll();
    EXPECT_EQ(settings.get("StartUpperPos"), "-1600 180");
    EXPECT_EQ(settings.get("Resolution"), "1280x720");
    EXPECT_EQ(settings.get("Adapter"), "1");

    // Larger than the monitor: its top-left corner.
    model.adapterEntry().value = 2;
    model.resolutionEntry().value = 0;
    model.writeAll();
    EXPECT_EQ(settings.get("StartUpperPos"), "1920 0");
    EXPECT_EQ(settings.get("Resolution"), "2560x1440");
}

TEST_F(Entries, StaleResolutionIndexIsBoundedToTheChosenMonitor) {
    ConfigModel model(settings, sourceFor(threeMonitors()));
    model.readAll();
    // An index from a monitor with more modes than the chosen one has.
    model.adapterEntry().value = 1;
    model.resolutionEntry().value = 2;
    model.writeAll();
    EXPECT_EQ(settings.get("StartUpperPos"), "-1600 180") << "centred for its last mode";
    EXPECT_EQ(settings.get("Resolution"), "1280x720");
    EXPECT_EQ(model.resolutionEntry().value, 1);

    model.adapterEntry().value = 0;
    model.resolutionEntry().value = 60000;
    model.writeAll();
    EXPECT_EQ(settings.get("StartUpperPos"), "320 180");
    EXPECT_EQ(settings.get("Resolution"), "1280x720");
}

// A file held by another program when the launcher started and still when the options
// window opened: the window shows defaults. Saving must not put them over the player's
// lines: only what the player changed is written, into the file as it is once free.
TEST(EntriesAfterAFailedLoad, OnlyThePlayersChangesAreWritten) {
    testing_support::TempDir dir;
    const std::wstring ini = dir / L"vantorra.ini";
    const std::string players = "Window 0\r\nResolution 1600x900\r\nAdapter 1\r\n"
                                "StartUpperPos -1760 90\r\nGamma 1.2\r\n";
    for (bool resolutionChosen : {false, true}) {
        SCOPED_TRACE(resolutionChosen ? "a resolution chosen" : "nothing changed");
        ASSERT_TRUE(testing_support::writeFile(ini, players));
        ConfigFile settings(testing_support::narrow(ini));
        {
            testing_support::HeldFile held(ini, false);
            ASSERT_TRUE(held.held());
            settings.load();
            ConfigModel model(settings, sourceFor(threeMonitors()));
            model.readAll();
            ASSERT_EQ(model.windowEntry().value, 1) << "the default";
            if (resolutionChosen)
                model.resolutionEntry().value = 2;
            model.writeAll();
        }
        EXPECT_TRUE(settings.save());
        std::string expected = players;
        if (resolutionChosen)
            expected.replace(expected.find("1600x900"), 8, "1280x720");
        EXPECT_EQ(testing_support::readFile(ini), expected);
    }
}
