#include "launcher/Resources.h"

#include "gui/PictureBatch.h"
#include "platform/StartupValues.h"
#include "platform/SystemError.h"

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

namespace {

VellGui::PictureBatch pictures;

void addPicture(Picture& picture, WORD id) {
    pictures.add(picture, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(id + kLargePictureOffset));
}

} // namespace

void beginLoadingResources() {
    addPicture(pictureBackground, kBackgroundResource);
    addPicture(pictureIcon1, kFirstIconResource);
    addPicture(pictureIcon2, kFirstIconResource + 1);
    addPicture(pictureIcon3, kFirstIconResource + 2);
    addPicture(pictureIcon4, kFirstIconResource + 3);
    addPicture(pictureLogo, kLogoResource);
    pictures.start();
    fontImpact15.load(MAKEINTRESOURCEA(kFontResource), "Impact", 15, FW_NORMAL);
    fontImpact25.load(MAKEINTRESOURCEA(kFontResource), "Impact", 25, FW_NORMAL);
    fontSegoe15.load(nullptr, "Segoe UI", 15, FW_NORMAL);
    fontSegoe15Bold.load(nullptr, "Segoe UI", 15, FW_BOLD);
}

void finishLoadingResources(UINT dpi) {
    DWORD error = ERROR_SUCCESS;
    if (!pictures.finish(error, dpi)) {
        // Imaging failures carry no last error of their own; the system has texts for most.
        SetLastError(error);
        showSystemError("", true);
    }
}

void loadResources() {
    beginLoadingResources();
    finishLoadingResources();
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
