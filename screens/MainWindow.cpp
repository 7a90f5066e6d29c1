#include "screens/MainWindow.h"

#include "launch/GameLaunch.h"
#include "platform/Text.h"
#include "platform/VisualStyles.h"
#include "screens/OptionsWindow.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigModel.h"

#include <shellapi.h>

namespace {

// At 96 DPI; the window scales them for its monitor.
constexpr int kIconX = 88;
constexpr int kFirstIconY = 148;
constexpr int kIconGap = 27;       // between one icon's bottom and the next one's top
constexpr int kButtonOffsetX = 35; // from an icon's left edge to its button's
constexpr int kButtonOffsetY = -4; // from an icon's top edge to its button's
constexpr int kButtonWidth = 176;
constexpr int kButtonHeight = 34;
constexpr int kVersionInsetX = 5;  // the version text's right edge from the window's
constexpr int kVersionInsetY = 2;  // its bottom edge from the window's
constexpr int kPromptsInsetX = 10; // the controller's prompts in the free bottom left corner
constexpr int kPromptsInsetY = 8;
constexpr COLORREF kCaptionColor = RGB(4, 4, 4);
constexpr COLORREF kCaptionHighlight = RGB(138, 138, 138);
constexpr COLORREF kVersionColor = RGB(238, 238, 238);

} // namespace

MainWindow::MainWindow(ConfigFile& settings, const Artwork& artwork, const MainWindowFacts& facts)
    : configuration(&settings), artwork(artwork) {
    setSize(artwork.background->info.bmWidth, artwork.background->info.bmHeight);
    icon = artwork.windowIcon;
    if (facts.startingWindowCentre)
        openingPoint = [found = facts.startingWindowCentre] {
            return VellGui::placementPoint(found());
        };
    create(nullptr, "Vantorra", VellGui::kDraggableWindow);
    // The controls are made in their places.
    placeControls();
    build(facts);
    bind();
    onDpiChange = [this] { relayout(); };
}

void MainWindow::build(const MainWindowFacts& facts) {
    using namespace VellGui;
    background.setAlphaBlend(false);
    background.create(this, artwork.background, false);
    for (const Row& row : rows()) {
        // Named like the button of its row, for which it is a second way to click.
        row.icon.setAlphaBlend(true);
        row.icon.create(this, row.picture, true, toUpper(row.caption));
    }
    for (const Row& row : rows()) {
        row.button.setColors(kCaptionColor, kCaptionHighlight);
        row.button.create(this, artwork.impact25, toUpper(row.caption), kHoverTextButton);
    }

    versionLabel.setHAnchor(kAnchorEnd);
    versionLabel.setVAnchor(kAnchorEnd);
    versionLabel.setColors(kVersionColor, RGB(0, 0, 0));
    versionLabel.setTransparent(true);
    versionLabel.create(this, artwork.impact15,
                        facts.gameVersion ? facts.gameVersion() : gameVersion());
}

void MainWindow::bind() {
    for (const Row& row : rows()) {
        auto handler = [this, action = row.handler] { (this->*action)(); };
        row.icon.onClick = handler;
        row.button.onClick = handler;
        row.button.hotKey = row.hotKey;
    }

    // A controller starts on "Starten": untouched, confirm starts the game and back quits.
    // The prompts say what the bindings do.
    padStart = &playButton;
    padBindings = {{PadInput::A, nullptr, toUpper("Auswählen")}, {PadInput::B, &quitButton, ""}};
    padPrompts.setVAnchor(VellGui::kAnchorEnd);
    padPrompts.create(this, artwork.impact15, artwork.impact15, kVersionColor, padBindings);
    prompts = &padPrompts;
}

void MainWindow::relayout() {
    placeControls();
    background.rescale();
    for (const Row& row : rows()) {
        row.icon.rescale();
        row.button.rescale();
    }
    versionLabel.relayout();
    padPrompts.rescale();
}

std::array<MainWindow::Row, 4> MainWindow::rows() {
    return {{
        {playIcon, artwork.playIcon, playButton, "Starten", &MainWindow::onPlay, VK_RETURN},
        {optionsIcon, artwork.optionsIcon, optionsButton, "Einstellungen", &MainWindow::onOptions,
         0},
        {accountIcon, artwork.accountIcon, accountButton, "Quenmark Account",
         &MainWindow::onAccount, 0},
        {quitIcon, artwork.quitIcon, quitButton, "Beenden", &MainWindow::onQuit, VK_ESCAPE},
    }};
}

void MainWindow::placeControls() {
    // Every edge from its place at 96 DPI, so that what meets there meets at any scale.
    background.setPosition(0, 0);
    int iconY = kFirstIconY;
    for (const Row& row : rows()) {
        row.icon.setPosition(scaled(kIconX), scaled(iconY));
        row.button.setPosition(scaled(kIconX + kButtonOffsetX), scaled(iconY + kButtonOffsetY));
        row.button.setSize(scaled(kButtonWidth), scaled(kButtonHeight));
        iconY += row.picture->info.bmHeight + kIconGap;
    }
    versionLabel.setPosition(width - scaled(kVersionInsetX), height - scaled(kVersionInsetY));
    padPrompts.setPosition(scaled(kPromptsInsetX), height - scaled(kPromptsInsetY));
}

void MainWindow::onPlay() {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    {
        // Enumerates the displays; each managed value is brought within what this machine
        // offers before the game reads it.
        ConfigModel model(*configuration);
        model.readAll();
        model.writeAll();
        configuration->save();
        if (launchGame(commandLine))
            close();
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void MainWindow::onOptions() {
    VisualStyles styles;
    // Modal: creating it disables this window, closing it enables and focuses this one.
    OptionsWindow options(*this, *configuration, artwork);
    options.loadValues();
    options.run();
}

void MainWindow::onAccount() {
    ShellExecuteW(nullptr, nullptr, toWide(kAccountPageAddress), nullptr, nullptr, SW_SHOW);
}

void MainWindow::onQuit() {
    close();
}
