#include "launcher/Resources.h"

#include "platform/StartupValues.h"

using VellGui::Font;
using VellGui::Picture;

Picture pictureBackground;
Picture pictureIcon1;
Picture pictureIcon2;
Picture pictureIcon3;
Picture pictureIcon4;
Picture pictureLogo;
Font fontImpact15;
Font fontImpact25;
Font fontSegoe15;
Font fontSegoe15Bold;

void loadResources() {
    pictureBackground.load(MAKEINTRESOURCEA(kBackgroundResource));
    pictureIcon1.load(MAKEINTRESOURCEA(kFirstIconResource));
    pictureIcon2.load(MAKEINTRESOURCEA(kFirstIconResource + 1));
    pictureIcon3.load(MAKEINTRESOURCEA(kFirstIconResource + 2));
    pictureIcon4.load(MAKEINTRESOURCEA(kFirstIconResource + 3));
    pictureLogo.load(MAKEINTRESOURCEA(kLogoResource));
    fontImpact15.load(MAKEINTRESOURCEA(kFontResource), "Impact", 15, FW_NORMAL);
    fontImpact25.load(MAKEINTRESOURCEA(kFontResource), "Impact", 25, FW_NORMAL);
    fontSegoe15.load(nullptr, "Segoe UI", 15, FW_NORMAL);
    fontSegoe15Bold.load(nullptr, "Segoe UI", 15, FW_BOLD);
}

Artwork launcherArtwork() {
    Artwork artwork;
    artwork.background = &pictureBackground;
    artwork.playIcon = &pictureIcon1;
    artwork.optionsIcon = &pictureIcon2;
    artwork.accountIcon = &pictureIcon3;
    artwork.quitIcon = &pictureIcon4;
    artwork.logo = &pictureLogo;
    artwork.impact15 = &fontImpact15;
    artwork.impact25 = &fontImpact25;
    artwork.segoe15 = &fontSegoe15;
    artwork.segoe15Bold = &fontSegoe15Bold;
    // A shared icon of the executable: never destroyed, so loading it again is free.
    artwork.windowIcon = LoadIconW(startup::instance, MAKEINTRESOURCEW(kIconGroupResource));
    return artwork;
}
