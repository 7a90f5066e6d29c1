#pragma once
// The launcher's own pictures and fonts, carried in its executable, decoded once at
// start-up and read by the screens' controls for the rest of the run.
#include "gui/Font.h"
#include "pictures/Picture.h"
#include "platform/DisplayScale.h"
#include "screens/Artwork.h"

// "BINARY" resources of the executable.
constexpr WORD kFontResource = 100;
constexpr WORD kBackgroundResource = 120;
constexpr WORD kFirstIconResource = 121; // four icons: 121 to 124
constexpr WORD kLogoResource = 125;
// Each picture drawn at twice the size, for screens above 96 DPI: its id plus this.
constexpr WORD kLargePictureOffset = 10;
// The icon group of the windows.
constexpr WORD kIconGroupResource = 140;

extern VellGui::Picture pictureBackground;
extern VellGui::Picture pictureIcon1;
extern VellGui::Picture pictureIcon2;
extern VellGui::Picture pictureIcon3;
extern VellGui::Picture pictureIcon4;
extern VellGui::Picture pictureLogo;
extern VellGui::Font fontImpact15;
extern VellGui::Font fontImpact25;
extern VellGui::Font fontSegoe15;
extern VellGui::Font fontSegoe15Bold;

// Starts decoding the pictures on a thread of their own and makes the fonts meanwhile.
// From here on each picture has its size; its pixels come with finishLoadingResources.
void beginLoadingResources();
// Waits for the pictures, which the picture thread first resizes for a window at `dpi`.
// One that could not be decoded ends start-up with the system's error box and the
// emergency launch, from the calling thread. Needs COM on it.
void finishLoadingResources(UINT dpi = kDefaultDpi);
// Both at once.
void loadResources();

// The loaded pictures and fonts, and the windows' icon, as the screens take them.
Artwork launcherArtwork();
