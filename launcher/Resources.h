#pragma once
// The launcher's own pictures and fonts, carried in its executable, decoded once at
// start-up and read by the screens' controls for the rest of the run.
#include "gui/Font.h"
#include "launcher/ResourceIds.h"
#include "pictures/Picture.h"
#include "platform/DisplayScale.h"
#include "screens/Artwork.h"

extern VellGui::Picture pictureBackground;
extern VellGui::Picture picturePlayIcon;
extern VellGui::Picture pictureOptionsIcon;
extern VellGui::Picture pictureAccountIcon;
extern VellGui::Picture pictureQuitIcon;
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
