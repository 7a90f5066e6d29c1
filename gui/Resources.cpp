#include "gui/Resources.h"

namespace VellGui {

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

} // namespace VellGui
