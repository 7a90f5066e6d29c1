#pragma once
// The pictures, fonts and icon the two screens are drawn with. The launcher decodes them
// from its own resources once at start-up and hands them to each screen; they outlive
// both screens.
#include "gui/Font.h"
#include "pictures/Picture.h"

struct Artwork {
    VellGui::Picture* background = nullptr;
    VellGui::Picture* playIcon = nullptr;
    VellGui::Picture* optionsIcon = nullptr;
    VellGui::Picture* accountIcon = nullptr;
    VellGui::Picture* quitIcon = nullptr;
    VellGui::Picture* logo = nullptr;
    VellGui::Font* impact15 = nullptr; // the version
    VellGui::Font* impact25 = nullptr; // the main screen's captions
    VellGui::Font* segoe15 = nullptr;  // the options window
    VellGui::Font* segoe15Bold = nullptr;
    HICON windowIcon = nullptr;
};
