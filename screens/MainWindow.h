#pragma once
// The launcher's main screen: the background picture, four rows of an icon and a text
// button (Play, Options, account page, Quit) and the game's version in the bottom right
// corner, in a borderless window that is dragged by its background.
#include "gui/Button.h"
#include "gui/ButtonPrompts.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/Window.h"
#include "screens/Artwork.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class ConfigFile;

// The player's account page, opened in the default browser.
constexpr const char* kAccountPageAddress = "https://account.example.com/vantorra";

// What the start-up finds out for the main window on a thread of its own while the window
// is built; each is asked for only when the window needs it. Where one is empty, the window
// finds it out itself.
struct MainWindowFacts {
    // The centre of the window the player started the launcher from, when it is in front.
    std::function<std::optional<POINT>()> startingWindowCentre;
    // The game's version text.
    std::function<std::string()> gameVersion;
};

class MainWindow : public VellGui::Window {
public:
    // Creates the window and its controls, hidden; run shows it.
    MainWindow(ConfigFile& settings, const Artwork& artwork, const MainWindowFacts& facts = {});
    ~MainWindow() override = default;

    // Validates and saves the managed settings, then starts the game; the window closes
    // unless the game executable is missing.
    void onPlay();
    void onOptions();
    void onAccount();
    void onQuit();

    VellGui::Image background;
    VellGui::Image playIcon;
    VellGui::Image optionsIcon;
    VellGui::Image accountIcon;
    VellGui::Image quitIcon;
    VellGui::Button playButton;
    VellGui::Button optionsButton;
    VellGui::Button accountButton;
    VellGui::Button quitButton;
    VellGui::Label versionLabel;
    // What A and B do, while the player uses a controller.
    VellGui::ButtonPrompts padPrompts;
    // The game's arguments; set once, right after construction.
    std::string commandLine;

private:
    // One row of the menu: its icon and button, the action of both and its key.
    struct Row {
        VellGui::Image& icon;
        VellGui::Picture* picture;
        VellGui::Button& button;
        const char* caption;
        void (MainWindow::*handler)();
        uint8_t hotKey;
    };
    std::array<Row, 4> rows();
    // The controls, made where placeControls put them.
    void build(const MainWindowFacts& facts);
    // What the rows, their keys and the controller's buttons do.
    void bind();
    // The places and fixed sizes of the controls at the window's DPI.
    void placeControls();
    // After a change of DPI: every control placed and sized anew.
    void relayout();

    ConfigFile* configuration;
    Artwork artwork;
};
