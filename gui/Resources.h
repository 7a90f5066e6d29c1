#pragma once
// The launcher's pictures and fonts, decoded once at start-up and read by the screens'
// controls for the rest of the run.
#include "gui/Font.h"
#include "gui/Picture.h"

namespace VellGui {

// "BINARY" resources of the executable.
constexpr WORD kFontResource = 100;
constexpr WORD kBackgroundResource = 120;
constexpr WORD kFirstIconResource = 121; // four icons: 121 to 124
constexpr WORD kLogoResource = 125;
// The icon group of the window class.
constexpr WORD kIconGroupResource = 140;

extern Picture pictureBackground;
extern Picture pictureIcon1;
extern Picture pictureIcon2;
extern Picture pictureIcon3;
extern Picture pictureIcon4;
extern Picture pictureLogo;
extern Font fontImpact15;
extern Font fontImpact25;
extern Font fontSegoe15;
extern Font fontSegoe15Bold;

// Needs COM on this thread. A picture that cannot be decoded ends start-up with the
// system's error box and the emergency launch.
void loadResources();

} // namespace VellGui
