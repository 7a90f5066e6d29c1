// The options window over scripted displays: the lists, the per-monitor resolution
// memory, the bold markers, "Zurücksetzen", "Speichern" and every way of closing.
#include "launcher/Resources.h"
#include "screens/OptionsWindow.h"
#include "settings/ConfigFile.h"
#include "tests/display/FakeDxgi.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace fake_dxgi;
using namespace gui_testing;
using testing_support::narrow;
using testing_support::readFile;
using testing_support::writeFile;
using VellGui::ComboBox;
using VellGui::Label;

namespace {

OutputScript output(RECT desktop, std::vector<DXGI_MODE_DESC> modes, bool attached = true) {
    OutputScript script;
    script.desktop = desktop;
    script.modes = std::move(modes);
    script.attached = attached;
    return script;
}

// Adapter 0 (2048 MiB): "Primär" 1920 x 1080, an output off the desktop, then
// "Sekundär 2" 2560 x 1440 to the right. Adapter 1: "Sekundär 3", 1280 x 1024 on the left.
FactoryScript fourOutputs() {
    AdapterScript first;
    first.videoMemory = SIZE_T(2048) << 20;
    first.outputs = {
        output({0, 0, 1920, 1080}, {mode(1920, 1080), mode(1600, 900), mode(1280, 720)}),
        output({}, {mode(1920, 1080)}, false),
        output({1920, 0, 4480, 1440}, {mode(2560, 1440), mode(1920, 1080), mode(1280, 720)})};
    AdapterScript second;
    second.videoMemory = SIZE_T(4096) << 20;
    second.outputs = {output({-1280, 0, 0, 1024}, {mode(1280, 1024)})};
    FactoryScript script;
    script.adapters = {first, second};
    return script;
}

const char* const kSavedFile = "// display\r\n"
                               "Gamma 1.2\r\n"
                               "Adapter 0\r\n"
                               "Resolution 1920x1080\r\n"
                               "Window 0\r\n"
                               "Sound = on\r\n";

std::vector<std::string> texts(const ComboBox& list) {
    std::vector<std::string> result;
    for (const auto& item : list.items)
        result.push_back(item.text);
    return result;
}

bool bold(const Label& label) {
    return label.font == &fontSegoe15Bold;
}

// What the system sends when the player picks an entry from the open list.
void choose(ComboBox& list, int index) {
    SendMessageW(list.hwnd, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(list.hwnd), WM_COMMAND, MAKEWPARAM(0, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(list.hwnd));
}

// Steps run one per timer tick inside the window's own loop; the last one closes it.
std::vector<std::function<void()>> steps;
size_t nextStep = 0;
void CALLBACK runStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (nextStep < steps.size())
        steps[nextStep++]();
    else
        KillTimer(nullptr, timer);
}

class Options : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        useThisModule();
        loadResources();
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        ASSERT_TRUE(writeFile(iniPath, kSavedFile));
        settings.load();
        owner.setSize(608, 396);
        owner.create(nullptr, "Owner", VellGui::kDraggableWindow);
    }
    void TearDown() override {
        owner.close();
        drainQuit();
    }

    // Shows and runs the window; each step runs on its own tick. A window still open
    // after ten seconds is closed, and the test fails.
    void runWith(OptionsWindow& window, std::vector<std::function<void()>> script) {
        steps = std::move(script);
        nextStep = 0;
        UINT_PTR ticks = SetTimer(nullptr, 0, 150, runStep);
        HWND handle = window.hwnd;
        bool timedOut = false;
        UINT_PTR watchdog = SetTimer(owner.hwnd, 99, 10000, nullptr);
        owner.hook = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
            if (hwnd == owner.hwnd && msg == WM_TIMER && wParam == 99) {
                timedOut = true;
                PostMessageW(handle, WM_CLOSE, 0, 0);
            }
            return 0;
        };
        window.run();
        KillTimer(nullptr, ticks);
        KillTimer(owner.hwnd, watchdog);
        owner.hook = nullptr;
        EXPECT_FALSE(timedOut) << "the window did not close";
        EXPECT_EQ(window.hwnd, nullptr);
        EXPECT_EQ(nextStep, steps.size());
    }

    // Closes the window before the next one is made.
    static void reopen(OptionsWindow& previous) {
        previous.close();
        drainQuit();
    }

    void expectOwnerBack() {
        EXPECT_TRUE(owner.enabled);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
        EXPECT_EQ(GetFocus(), owner.hwnd);
    }

    void expectNothingWritten(const std::map<std::string, std::string>& valuesBefore) {
        EXPECT_EQ(readFile(iniPath), std::string(kSavedFile));
        EXPECT_EQ(settings.values(), valuesBefore);
    }

    testing_support::TempDir dir;
    std::wstring iniPath = dir / L"vantorra.ini";
    ConfigFile settings{narrow(iniPath)};
    HookedWindow owner;
};

} // namespace

TEST_F(Options, LayoutFollowsTheFontsAndTheSavedValuesAreSelected) {
    OptionsWindow window(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(GetWindow(window.hwnd, GW_OWNER), owner.hwnd);
    RECT client = {};
    GetClientRect(window.hwnd, &client);
    EXPECT_EQ(client.right, 477);
    EXPECT_EQ(client.bottom, 265);
    wchar_t title[32] = {};
    GetWindowTextW(window.hwnd, title, 32);
    EXPECT_STREQ(title, L"Einstellungen");

    // Save and cancel share the larger size at the bottom right; reset keeps its own.
    EXPECT_EQ(window.saveButton.width, window.cancelButton.width);
    EXPECT_EQ(window.saveButton.height, window.cancelButton.height);
    EXPECT_EQ(window.cancelButton.x + window.cancelButton.width, 467);
    EXPECT_EQ(window.cancelButton.y + window.cancelButton.height, 255);
    EXPECT_LE(window.saveButton.x + window.saveButton.width, window.cancelButton.x - 10);
    EXPECT_EQ(window.resetButton.x, 10);
    EXPECT_EQ(window.resetButton.y + window.resetButton.height, 255);
    int buttonHeight = window.saveButton.height;
    EXPECT_EQ(window.panel.x, 10);
    EXPECT_EQ(window.panel.y, 85);
    EXPECT_EQ(window.panel.width, 457);
    EXPECT_EQ(window.panel.height, 160 - buttonHeight);
    EXPECT_EQ(window.monitorList.x, 444 - 205);
    EXPECT_EQ(window.resolutionList.y, window.resolutionLabel.y);
    EXPECT_EQ(window.resolutionLabel.y, 67);
    EXPECT_EQ(window.modeLabel.height, 23);
    EXPECT_EQ(GetParent(window.modeList.hwnd), window.panel.hwnd);
    EXPECT_EQ(texts(window.modeList),
              (std::vector<std::string>{"Vollbild", "Fenster (Rahmenlos)"}));

    window.loadValues();
    EXPECT_EQ(texts(window.monitorList),
              (std::vector<std::string>{"Primär", "Sekundär 2", "Sekundär 3"}));
    EXPECT_EQ(texts(window.resolutionList),
              (std::vector<std::string>{"1920 x 1080", "1600 x 900", "1280 x 720"}));
    EXPECT_EQ(window.monitorList.selected, 0);
    EXPECT_EQ(window.resolutionList.selected, 0);
    EXPECT_EQ(window.modeList.selected, 0);
    EXPECT_TRUE(window.ready);
    for (const Label* label : {&window.monitorLabel, &window.modeLabel, &window.resolutionLabel})
        EXPECT_EQ(label->font, &fontSegoe15) << label->text;

    // One options window at a time, as the main window opens them: each registers the
    // class named after its title.
    reopen(window);

    // Saved on the second desktop monitor ("Adapter" counts desktop monitors only), with
    // its middle mode.
    settings.set("Adapter", "1");
    settings.set("Resolution", "1920x1080");
    settings.set("Window", "1");
    OptionsWindow third(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    third.loadValues();
    EXPECT_EQ(third.monitorList.selected, 1);
    EXPECT_EQ(texts(third.resolutionList),
              (std::vector<std::string>{"2560 x 1440", "1920 x 1080", "1280 x 720"}));
    EXPECT_EQ(third.resolutionList.selected, 1);
    EXPECT_EQ(third.modeList.selected, 1);
    EXPECT_FALSE(bold(third.monitorLabel) || bold(third.modeLabel) || bold(third.resolutionLabel));

    reopen(third);

    // A size the saved monitor does not offer reads as its first mode.
    settings.set("Adapter", "0");
    settings.set("Resolution", "1366x768");
    OptionsWindow unknown(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    unknown.loadValues();
    EXPECT_EQ(unknown.resolutionList.selected, 0);
    EXPECT_FALSE(bold(unknown.monitorLabel) || bold(unknown.modeLabel) ||
                 bold(unknown.resolutionLabel));

    reopen(unknown);

    // Only monitors on the desktop are listed, numbered over all outputs.
    FactoryScript noPrimary = fourOutputs();
    noPrimary.adapters[0].outputs[0].attached = false;
    OptionsWindow secondaries(owner, settings, launcherArtwork(), sourceFor(noPrimary));
    secondaries.loadValues();
    EXPECT_EQ(texts(secondaries.monitorList),
              (std::vector<std::string>{"Sekundär 2", "Sekundär 3"}));
    reopen(secondaries);
    // Without any output the placeholders.
    OptionsWindow empty(owner, settings, launcherArtwork(), sourceFor(FactoryScript{}));
    empty.loadValues();
    EXPECT_EQ(texts(empty.monitorList), (std::vector<std::string>{"Primär"}));
    EXPECT_EQ(texts(empty.resolutionList), (std::vector<std::string>{"Default"}));
}

TEST_F(Options, EachMonitorKeepsItsResolutionAndChangedRowsTurnBold) {
    OptionsWindow window(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    window.loadValues();
    int regularWidth = window.resolutionLabel.width;

    choose(window.resolutionList, 2);
    EXPECT_TRUE(bold(window.resolutionLabel));
    EXPECT_FALSE(bold(window.monitorLabel));
    EXPECT_FALSE(bold(window.modeLabel));
    // The label took the width of its bold text.
    EXPECT_GT(window.resolutionLabel.width, regularWidth);
    RECT labelRect = {};
    GetWindowRect(window.resolutionLabel.hwnd, &labelRect);
    EXPECT_EQ(labelRect.right - labelRect.left, window.resolutionLabel.width);

    // A monitor not visited yet starts at its widest mode.
    choose(window.monitorList, 1);
    EXPECT_EQ(texts(window.resolutionList),
              (std::vector<std::string>{"2560 x 1440", "1920 x 1080", "1280 x 720"}));
    EXPECT_EQ(window.resolutionList.selected, 0);
    EXPECT_TRUE(bold(window.monitorLabel));
    EXPECT_TRUE(bold(window.resolutionLabel));

    // The saved size on another monitor counts as the same resolution.
    choose(window.resolutionList, 1);
    EXPECT_TRUE(bold(window.monitorLabel));
    EXPECT_FALSE(bold(window.resolutionLabel));
    EXPECT_FALSE(bold(window.modeLabel));

    choose(window.monitorList, 0);
    EXPECT_EQ(window.resolutionList.selected, 2);
    EXPECT_EQ(texts(window.resolutionList)[2], "1280 x 720");
    EXPECT_FALSE(bold(window.monitorLabel));
    EXPECT_TRUE(bold(window.resolutionLabel));

    choose(window.monitorList, 1);
    EXPECT_EQ(window.resolutionList.selected, 1);
    choose(window.monitorList, 2);
    EXPECT_EQ(texts(window.resolutionList), (std::vector<std::string>{"1280 x 1024"}));
    EXPECT_EQ(window.resolutionByMonitor, (std::map<int, int>{{0, 2}, {1, 1}, {2, 0}}));

    choose(window.modeList, 1);
    EXPECT_TRUE(bold(window.modeLabel));
    choose(window.modeList, 0);
    EXPECT_FALSE(bold(window.modeLabel));

    choose(window.monitorList, 0);
    choose(window.resolutionList, 0);
    EXPECT_FALSE(bold(window.monitorLabel) || bold(window.modeLabel) ||
                 bold(window.resolutionLabel));
    EXPECT_EQ(window.resolutionLabel.width, regularWidth);

    // Nothing of this survives into the next opening.
    reopen(window);
    OptionsWindow again(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    again.loadValues();
    choose(again.monitorList, 1);
    EXPECT_EQ(again.resolutionList.selected, 0);
}

TEST_F(Options, ResetProposesTheRecommendedValuesAndWritesNothing) {
    auto before = settings.values();
    OptionsWindow window(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    window.loadValues();
    SendMessageW(window.resetButton.hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(window.monitorList.selected, 0);
    EXPECT_EQ(texts(window.resolutionList)[window.resolutionList.selected], "1280 x 720");
    EXPECT_EQ(window.modeList.selected, 1); // "Fenster (Rahmenlos)"
    EXPECT_TRUE(bold(window.resolutionLabel));
    EXPECT_TRUE(bold(window.modeLabel));
    EXPECT_FALSE(bold(window.monitorLabel));
    EXPECT_EQ(window.resolutionByMonitor[0], window.resolutionList.selected);
    expectNothingWritten(before);

    // On the 2560 x 1440 monitor the first adapter's 2048 MiB still limit it to 1280.
    choose(window.monitorList, 1);
    SendMessageW(window.resetButton.hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(window.monitorList.selected, 1);
    EXPECT_EQ(texts(window.resolutionList)[window.resolutionList.selected], "1280 x 720");
    expectNothingWritten(before);
}

TEST_F(Options, SaveWritesTheFourKeysAndKeepsEveryOtherLine) {
    ShowWindow(owner.hwnd, SW_SHOW);
    OptionsWindow window(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
    window.loadValues();
    runWith(window, {[&] {
                         choose(window.monitorList, 1);
                         choose(window.resolutionList, 1);
                         choose(window.modeList, 1);
                     },
                     [&] { SendMessageW(window.saveButton.hwnd, BM_CLICK, 0, 0); }});
    expectOwnerBack();
    EXPECT_EQ(readFile(iniPath), std::string("// display\r\n"
                                             "Gamma 1.2\r\n"
                                             "Adapter 1\r\n"
                                             "Resolution 1920x1080\r\n"
                                             "Window 1\r\n"
                                             "Sound = on\r\n"
                                             "StartUpperPos 2240 180\r\n"));
    EXPECT_EQ(settings.get("Adapter"), "1");
    EXPECT_EQ(settings.get("StartUpperPos"), "2240 180");
}

TEST_F(Options, EscapeCancelAndTheCloseBoxWriteNothing) {
    ShowWindow(owner.hwnd, SW_SHOW);
    auto before = settings.values();
    const char* ways[] = {"Escape", "Abbrechen", "close box"};
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(ways[way]);
        OptionsWindow window(owner, settings, launcherArtwork(), sourceFor(fourOutputs()));
        window.loadValues();
        std::vector<std::function<void()>> script = {[&] {
            choose(window.monitorList, 2);
            choose(window.modeList, 1);
            ASSERT_TRUE(bold(window.monitorLabel));
        }};
        if (way == 0) {
            // Escape reaching a list through the loop, after the key is already up again:
            // a short press while the list has the focus.
            script.push_back([&] {
                SetFocus(window.modeList.hwnd);
                PostMessageW(window.modeList.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
            });
        } else if (way == 1) {
            script.push_back([&] { SendMessageW(window.cancelButton.hwnd, BM_CLICK, 0, 0); });
        } else {
            script.push_back([&] { SendMessageW(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); });
        }
        runWith(window, script);
        expectOwnerBack();
        expectNothingWritten(before);
    }
}

// Moved onto a monitor of 144 DPI and back: the window takes each suggested rectangle and
// lays itself out for the scale; back at 96 DPI it looks exactly like one that never left.
TEST_F(Options, FollowsTheScaleOfItsMonitorThereAndBack) {
    using testing_support::windowPixels;
    auto open = [&] {
        auto window = std::make_unique<OptionsWindow>(owner, settings, launcherArtwork(),
                                                      sourceFor(fourOutputs()));
        window->loadValues();
        choose(window->modeList, 1); // a bold label and a focus of its own
        SetFocus(window->modeList.hwnd);
        return window;
    };
    auto fresh = open();
    testing_support::ScreenPixels look = windowPixels(fresh->hwnd);
    ASSERT_FALSE(look.bgra.empty());
    reopen(*fresh);
    fresh.reset();

    auto window = open();
    windowPixels(window->hwnd);
    RECT home = {};
    GetWindowRect(window->hwnd, &home);
    RECT client = {};
    GetClientRect(window->hwnd, &client);
    const int frameWidth = (home.right - home.left) - client.right;
    RECT there = home;
    there.right = there.left + 716 + frameWidth + 2;
    there.bottom = there.top + 398 + (home.bottom - home.top) - client.bottom + 2;
    // The rectangle is 2 pixels larger each way than the frame needs, as where the system
    // scales the frame too: the window is laid out for the client area it got, its buttons
    // at the bottom right as far in as ever, neither cut nor with room beneath.
    SendMessageW(window->hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&there));
    RECT now = {};
    GetWindowRect(window->hwnd, &now);
    EXPECT_EQ(now.right - now.left, there.right - there.left);
    EXPECT_EQ(now.bottom - now.top, there.bottom - there.top);
    EXPECT_EQ(window->width, 718);
    EXPECT_EQ(window->height, 400);
    EXPECT_EQ(window->logo.x, 15);
    EXPECT_EQ(window->logo.width, 686);
    EXPECT_EQ(window->logo.height, 98);
    EXPECT_EQ(window->cancelButton.x + window->cancelButton.width, 718 - 15);
    EXPECT_EQ(window->cancelButton.y + window->cancelButton.height, 400 - 15);
    EXPECT_EQ(window->panel.y, 15 + 98 + 15);
    EXPECT_EQ(window->resolutionLabel.y, 101);
    EXPECT_EQ(window->resolutionLabel.height, 35);
    EXPECT_EQ(window->resolutionList.width, 308);
    EXPECT_EQ(window->resolutionList.x + window->resolutionList.width, window->panel.width - 20);
    EXPECT_TRUE(bold(window->modeLabel));

    SendMessageW(window->hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&home));
    RECT back = {};
    GetWindowRect(window->hwnd, &back);
    EXPECT_EQ(back.left, home.left);
    EXPECT_EQ(back.right, home.right);
    EXPECT_EQ(back.bottom, home.bottom);
    EXPECT_TRUE(windowPixels(window->hwnd) == look);
    reopen(*window);
}
