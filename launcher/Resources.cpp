#include "launcher/Resources.h"

#include "pictures/PictureBatch.h"
#include "platform/Files.h"
#include "platform/Fnv.h"
#include "platform/StartupValues.h"
#include "platform/SystemError.h"

#include <cstdint>
#include <string>

using VellGui::Font;
using VellGui::Picture;

Picture pictureBackground;
Picture picturePlayIcon;
Picture pictureOptionsIcon;
Picture pictureAccountIcon;
Picture pictureQuitIcon;
Picture pictureLogo;
Font fontImpact15;
Font fontImpact25;
Font fontSegoe15;
Font fontSegoe15Bold;

namespace {

VellGui::PictureBatch pictures;

// Where the pictures, as decoded and as resized for other scales, are kept between starts:
// the player's local (not roaming) application data. Empty when there is none.
std::wstring keptPicturesFolder() {
    const std::wstring& local = localAppDataFolder();
    return local.empty() ? std::wstring() : local + L"\\Quenmark\\Vantorra\\Launcher\\";
}

// Names this very executable, whose pictures the kept ones are: its size, its time and
// its link time, and its bitness (both builds share the folder).
std::uint64_t executableKey() {
    Fnv1a key;
    auto mix = [&key](std::uint64_t value) {
        for (int byte = 0; byte < 8; ++byte, value >>= 8)
            key.add(value & 0xFF);
    };
    wchar_t path[MAX_PATH] = {};
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH &&
        GetFileAttributesExW(path, GetFileExInfoStandard, &file)) {
        mix((std::uint64_t(file.nFileSizeHigh) << 32) | file.nFileSizeLow);
        mix((std::uint64_t(file.ftLastWriteTime.dwHighDateTime) << 32) |
            file.ftLastWriteTime.dwLowDateTime);
    }
    const auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    mix(nt->FileHeader.TimeDateStamp);
    mix(sizeof(void*));
    return key.value;
}

void addPicture(Picture& picture, WORD id, WORD largeId) {
    pictures.add(picture, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(largeId));
}

} // namespace

void beginLoadingResources() {
    addPicture(pictureBackground, IDR_BACKGROUND, IDR_BACKGROUND_2X);
    addPicture(picturePlayIcon, IDR_PLAY_ICON, IDR_PLAY_ICON_2X);
    addPicture(pictureOptionsIcon, IDR_OPTIONS_ICON, IDR_OPTIONS_ICON_2X);
    addPicture(pictureAccountIcon, IDR_ACCOUNT_ICON, IDR_ACCOUNT_ICON_2X);
    addPicture(pictureQuitIcon, IDR_QUIT_ICON, IDR_QUIT_ICON_2X);
    addPicture(pictureLogo, IDR_LOGO, IDR_LOGO_2X);
    pictures.keepIn(keptPicturesFolder(), executableKey());
    pictures.start();
    fontImpact15.load(MAKEINTRESOURCEA(IDR_FONT_IMPACT), "Impact", 15, FW_NORMAL);
    fontImpact25.load(MAKEINTRESOURCEA(IDR_FONT_IMPACT), "Impact", 25, FW_NORMAL);
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
    artwork.playIcon = &picturePlayIcon;
    artwork.optionsIcon = &pictureOptionsIcon;
    artwork.accountIcon = &pictureAccountIcon;
    artwork.quitIcon = &pictureQuitIcon;
    artwork.logo = &pictureLogo;
    artwork.impact15 = &fontImpact15;
    artwork.impact25 = &fontImpact25;
    artwork.segoe15 = &fontSegoe15;
    artwork.segoe15Bold = &fontSegoe15Bold;
    // A shared icon of the executable: never destroyed, so loading it again is free.
    artwork.windowIcon = LoadIconW(startup::instance, MAKEINTRESOURCEW(IDI_WINDOWS));
    return artwork;
}
