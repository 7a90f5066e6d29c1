// The pictures and fonts carried in the executable, decoded as the launcher does at
// start-up.
#include "platform/GdiObjects.h"
#include "gui/MeasureText.h"
#include "launcher/Resources.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>

using namespace VellGui;
using namespace testing_support;

namespace {

struct Bgra {
    unsigned b, g, r, a;
    bool operator==(const Bgra&) const = default;
};

Bgra pixel(const Picture& picture, int x, int y) {
    const auto* row = static_cast<const unsigned char*>(picture.info.bmBits) +
                      static_cast<size_t>(y) * picture.info.bmWidthBytes;
    const unsigned char* at = row + x * 4;
    return {at[0], at[1], at[2], at[3]};
}

// A resource id as "%p" writes it: as many hex digits as a pointer has.
std::string resourceIdText(const char* lastDigits) {
    return std::string(sizeof(void*) * 2 - strlen(lastDigits), '0') + lastDigits;
}

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        loadResources();
    }
    static void TearDownTestSuite() { CoUninitialize(); }
};

} // namespace

TEST_F(Resources, PicturesHaveTheirSizesAndThirtyTwoBits) {
    struct Expected {
        const Picture& picture;
        LONG width, height;
    } expected[] = {{pictureBackground, 608, 396}, {picturePlayIcon, 25, 25}, {pictureOptionsIcon, 25, 25},
                    {pictureAccountIcon, 25, 25},        {pictureQuitIcon, 25, 25}, {pictureLogo, 457, 65}};
    for (const auto& [picture, width, height] : expected) {
        ASSERT_NE(picture.bitmap, nullptr) << picture.source;
        EXPECT_EQ(picture.info.bmWidth, width) << picture.source;
        EXPECT_EQ(picture.info.bmHeight, height) << picture.source;
        EXPECT_EQ(picture.info.bmBitsPixel, 32) << picture.source;
        EXPECT_EQ(picture.info.bmWidthBytes, width * 4) << picture.source;
    }
    EXPECT_EQ(pictureBackground.source, resourceIdText("78"));
}

TEST_F(Resources, IconsAreStoredPremultipliedWithSoftEdges) {
    for (const Picture* icon : {&picturePlayIcon, &pictureOptionsIcon, &pictureAccountIcon, &pictureQuitIcon}) {
        EXPECT_EQ(pixel(*icon, 0, 0), (Bgra{0, 0, 0, 0})) << icon->source;
        int partial = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 25; ++x) {
                Bgra p = pixel(*icon, x, y);
                partial += p.a > 0 && p.a < 255;
                ASSERT_LE(std::max({p.b, p.g, p.r}), p.a)
                    << icon->source << " at " << x << "," << y;
            }
        EXPECT_GT(partial, 10) << icon->source; // anti-aliased rim
    }
}

TEST_F(Resources, FilePictureIsTopRowFirstAndPremultiplied) {
    // Rows.png, 2 x 3: opaque red; white at alpha 128; green at alpha 0.
    Picture picture;
    picture.load(narrow(testsDir() + L"Rows.png").c_str());
    ASSERT_EQ(picture.info.bmHeight, 3);
    EXPECT_EQ(pixel(picture, 1, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(pixel(picture, 1, 1), (Bgra{128, 128, 128, 128}));
    EXPECT_EQ(pixel(picture, 1, 2), (Bgra{0, 0, 0, 0}));

    // Loading again replaces the bitmap.
    HBITMAP first = picture.bitmap;
    picture.load(MAKEINTRESOURCEA(IDR_LOGO));
    EXPECT_NE(picture.bitmap, first);
    EXPECT_EQ(picture.info.bmWidth, 457);
    EXPECT_EQ(GetObjectType(first), 0u); // deleted
}

TEST_F(Resources, FontsAskedForAndTheEmbeddedFaceIsUsed) {
    EXPECT_EQ(fontImpact15.logFont.lfHeight, 15);
    EXPECT_STREQ(fontImpact15.logFont.lfFaceName, L"Impact");
    EXPECT_EQ(fontImpact25.logFont.lfHeight, 25);
    EXPECT_EQ(fontImpact15.charset, DEFAULT_CHARSET);
    EXPECT_EQ(fontImpact15.source, resourceIdText("64"));
    EXPECT_EQ(fontSegoe15.source, resourceIdText("0"));
    EXPECT_STREQ(fontSegoe15.logFont.lfFaceName, L"Segoe UI");
    EXPECT_EQ(fontSegoe15.logFont.lfWeight, 400);
    EXPECT_EQ(fontSegoe15Bold.logFont.lfWeight, 700);

    // No "Impact" is installed under Wine: the face found is the embedded one.
    WindowDC screen;
    SelectedObject selected(screen.get(), fontImpact25.font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen.get(), LF_FACESIZE, face);
    EXPECT_STREQ(face, L"Impact");
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen.get(), &metrics);
    EXPECT_EQ(metrics.tmHeight, 25);
}

TEST_F(Resources, MeasureTextGivesOneLineInTheFont) {
    SIZE caption = measureText(&fontImpact25, "EINSTELLUNGEN");
    EXPECT_EQ(caption.cy, 25);
    EXPECT_GT(caption.cx, 60);
    EXPECT_LT(caption.cx, 176); // fits the main window's buttons
    SIZE longer = measureText(&fontImpact25, "QUENMARK ACCOUNT");
    EXPECT_GT(longer.cx, caption.cx);
    EXPECT_LT(longer.cx, 176);
    EXPECT_LT(measureText(&fontImpact15, "1.0.3").cy, caption.cy);
    SIZE plain = measureText(nullptr, "Abbrechen");
    EXPECT_GT(plain.cx, 0);
    EXPECT_GT(plain.cy, 0);
    EXPECT_NE(plain.cx, measureText(&fontImpact25, "Abbrechen").cx);
}

TEST(MissingPicture, ShowsTheSystemErrorAndLaunchesTheGame) {
    // The probe loads the resources without having any.
    InstallFolder folder;
    std::wstring probe = folder.path() + L"MissingPictureProbe.exe";
    ASSERT_TRUE(copyFile(testsDir() + L"MissingPictureProbe.exe", probe));
    ChildProcess process(probe, L"", folder.path());
    auto box = closeMessageBox(process.pid(), 15000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Error");
    EXPECT_FALSE(box->text.empty());
    EXPECT_EQ(process.wait(20000), std::optional<DWORD>(1));
    auto starts = folder.gameStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(parseGameStart(starts[0]).commandLine, "\".\\Vantorra.exe\" ");
}

// The launcher's own manifest names the architecture of the build it is in: Windows may
// refuse a program whose manifest names another.
TEST(Manifest, NamesTheBuildsArchitecture) {
    HMODULE launcher = LoadLibraryExW(launcherExe().c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(launcher, nullptr);
    HRSRC found = FindResourceW(launcher, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(launcher, found)));
    ASSERT_NE(text, nullptr);
    std::string manifest(text, SizeofResource(launcher, found));
    FreeLibrary(launcher);
    const std::string own = sizeof(void*) == 8 ? "amd64" : "x86";
    EXPECT_NE(manifest.find("name=\"Quenmark.Vantorra.Launcher\" version=\"1.0.0.0\" "
                            "processorArchitecture=\"" +
                            own + "\""),
              std::string::npos)
        << manifest;
}
