// Buttons, labels, images and groups: what each draws, how it sizes and places itself,
// and how mouse and keyboard reach it through the toolkit's routing.
#include "gui/Button.h"
#include "gui/Font.h"
#include "gui/Group.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/MeasureText.h"
#include "pictures/Picture.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <functional>
#include <vector>

using namespace gui_testing;
using testing_support::narrow;
using testing_support::testsDir;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kNormal = RGB(4, 4, 4);
constexpr COLORREF kHighlight = RGB(138, 138, 138);

// A 32-bit top-down bitmap in a memory context, filled with one colour, that a control
// draws into through its parent's WM_DRAWITEM.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill) : width_(w), height_(h) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < w * h; ++i)
            bits_[i] = RGB(GetBValue(fill), GetGValue(fill), GetRValue(fill));
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    COLORREF at(int px, int py) const {
        GdiFlush();
        DWORD bgr = bits_[py * width_ + px] & 0xFFFFFF;
        return RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr));
    }
    int count(COLORREF colour) const {
        int n = 0;
        for (int py = 0; py < height_; ++py)
            for (int px = 0; px < width_; ++px)
                n += at(px, py) == colour;
        return n;
    }

    // Asks `control` (through the window it is attached to) to draw itself here.
    LRESULT draw(VellGui::IObject& control, UINT state = 0) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_STATIC;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = control.hwnd;
        item.hDC = dc_;
        item.rcItem = {0, 0, width_, height_};
        return SendMessageW(control.parent->hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
};

// The control's window rectangle in its parent's client coordinates.
RECT placed(const VellGui::IObject& control) {
    RECT rect = {};
    GetWindowRect(control.hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(control.hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        useThisModule();
        // The picture decoder's COM objects.
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        window.setSize(400, 300);
        window.create(nullptr, "Controls", 0);
        ASSERT_NE(window.hwnd, nullptr);
    }
    void TearDown() override {
        window.close();
        drainQuit();
        CoUninitialize();
    }

    HookedWindow window;
};

} // namespace

TEST_F(Controls, ButtonSizesFromCaptionUnlessFixed) {
    VellGui::Font font;
    font.load(nullptr, "Segoe UI", 15, 400);
    SIZE text = VellGui::measureText(&font, "Speichern");
    ASSERT_GT(text.cx, 0);

    VellGui::Button push;
    push.create(&window, &font, "Speichern", VellGui::kPushButton);
    EXPECT_EQ(push.width, text.cx + 30);
    EXPECT_EQ(push.height, text.cy + 10);
    RECT rect = placed(push);
    EXPECT_EQ(rect.right - rect.left, text.cx + 30);
    EXPECT_EQ(rect.bottom - rect.top, text.cy + 10);
    EXPECT_EQ(GetWindowLongW(push.hwnd, GWL_STYLE) & BS_TYPEMASK, 0); // system-drawn
    EXPECT_EQ(SendMessageW(push.hwnd, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font.font));

    VellGui::Button fixed;
    fixed.setPosition(123, 144);
    fixed.setSize(176, 34);
    fixed.create(&window, &font, "A much longer caption than fits in there",
                 VellGui::kHoverTextButton);
    rect = placed(fixed);
    EXPECT_EQ(rect.left, 123);
    EXPECT_EQ(rect.top, 144);
    EXPECT_EQ(rect.right - rect.left, 176);
    EXPECT_EQ(rect.bottom - rect.top, 34);
    EXPECT_EQ(GetWindowLongW(fixed.hwnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    // Only one axis fixed: the other follows the caption, margin included.
    VellGui::Button half;
    half.setSize(0, 40);
    half.create(&window, &font, "Speichern", VellGui::kPushButton);
    EXPECT_EQ(half.width, text.cx + 30);
    EXPECT_EQ(half.height, 40);
}

TEST_F(Controls, OwnerDrawnCaptionColours) {
    VellGui::Button button;
    button.setSize(120, 30);
    button.setColors(kNormal, kHighlight);
    button.create(&window, nullptr, "WWW", 0);

    // At rest only the normal colour; pressed, focused or hovered only the highlight.
    struct Case {
        UINT state;
        bool hovered;
        COLORREF shown;
        COLORREF absent;
    };
    for (Case c :
         {Case{0, false, kNormal, kHighlight}, Case{ODS_SELECTED, false, kHighlight, kNormal},
          Case{ODS_FOCUS, false, kHighlight, kNormal}, Case{0, true, kHighlight, kNormal}}) {
        button.hovered = c.hovered;
        Canvas canvas(120, 30, kBlue);
        EXPECT_EQ(canvas.draw(button, c.state), TRUE);
        EXPECT_GT(canvas.count(c.shown), 0) << c.state << " " << c.hovered;
        EXPECT_EQ(canvas.count(c.absent), 0) << c.state << " " << c.hovered;
        // Nothing but the caption: the corners keep what was beneath.
        EXPECT_EQ(canvas.at(0, 0), kBlue);
        EXPECT_EQ(canvas.at(119, 29), kBlue);
    }

    // A drawing request for another window is not this button's.
    DRAWITEMSTRUCT item = {};
    item.hwndItem = window.hwnd;
    item.rcItem = {0, 0, 120, 30};
    EXPECT_EQ(SendMessageW(window.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);

    // No button fills its background.
    EXPECT_EQ(SendMessageW(window.hwnd, WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(button.hwnd)),
              reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
}

TEST_F(Controls, ClicksComeOnlyFromTheButtonsOwnWindow) {
    int clicks = 0;
    int otherClicks = 0;
    VellGui::Button button, other;
    button.onClick = [&] { ++clicks; };
    other.onClick = [&] { ++otherClicks; };
    button.create(&window, nullptr, "One", VellGui::kPushButton);
    other.create(&window, nullptr, "Two", VellGui::kPushButton);

    auto command = [&](WORD code, HWND from) {
        SendMessageW(window.hwnd, WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(from));
    };
    command(BN_CLICKED, other.hwnd);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(otherClicks, 1);
    command(BN_DOUBLECLICKED, button.hwnd);
    EXPECT_EQ(clicks, 1);
    command(BN_CLICKED, nullptr); // what the dialog handling sends for Return (IDOK)
    EXPECT_EQ(clicks + otherClicks, 2);

    // The system's own click notification.
    SendMessageW(button.hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(otherClicks, 1);

    // Without a callback a click does nothing.
    button.onClick = nullptr;
    SendMessageW(button.hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Controls, TransparentLabelKeepsRightAndBottomEdgesWhenTextGrows) {
    VellGui::Label label;
    label.setPosition(303, 294);
    label.setHAnchor(VellGui::kAnchorEnd);
    label.setVAnchor(VellGui::kAnchorEnd);
    label.create(&window, nullptr, "1.0");
    ASSERT_NE(label.hwnd, nullptr);
    EXPECT_EQ(GetWindowLongW(label.hwnd, GWL_STYLE) & SS_NOTIFY, 0); // the mouse goes through
    RECT before = placed(label);
    EXPECT_EQ(before.right, 303);
    EXPECT_EQ(before.bottom, 294);

    HWND first = label.hwnd;
    label.setText("1.0");
    EXPECT_EQ(label.hwnd, first); // the same text changes nothing

    label.setText("12.345.6789");
    RECT after = placed(label);
    EXPECT_EQ(after.right, 303);
    EXPECT_EQ(after.bottom, 294);
    EXPECT_LT(after.left, before.left);
    EXPECT_EQ(label.x, after.left);
    EXPECT_EQ(label.parent, &window);
    EXPECT_TRUE(IsWindow(label.hwnd));
    EXPECT_FALSE(IsWindow(first)); // made anew, so the parent repaints under the old text
}

TEST_F(Controls, OpaqueLabelKeepsItsCornerAndFillsItsBackground) {
    VellGui::Label label;
    label.setPosition(200, 100);
    label.setHAnchor(VellGui::kAnchorEnd);
    label.setTransparent(false);
    label.setColors(kRed, RGB(0, 255, 0));
    label.create(&window, nullptr, "ab");
    RECT before = placed(label);
    HWND first = label.hwnd;

    label.setText("abcdefgh");
    RECT after = placed(label);
    EXPECT_EQ(label.hwnd, first);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.right - after.left, label.width);
    EXPECT_EQ(label.x + label.width, 200); // the stored place still follows the anchor

    Canvas canvas(label.width, label.height, kBlue);
    EXPECT_EQ(canvas.draw(label), TRUE);
    EXPECT_EQ(canvas.count(kBlue), 0);
    EXPECT_EQ(canvas.at(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(canvas.at(label.width - 1, label.height - 1), RGB(0, 255, 0));
    EXPECT_GT(canvas.count(kRed), 0);
}

TEST_F(Controls, DisabledLabelsDrawGrey) {
    for (bool transparent : {true, false}) {
        VellGui::Label label;
        label.setTransparent(transparent);
        label.setColors(kRed, RGB(255, 255, 255));
        label.create(&window, nullptr, "Grey");
        int width = label.width;
        int height = label.height;

        label.setEnabled(false);
        ASSERT_NE(label.hwnd, nullptr) << transparent;
        Canvas grey(width, height, kBlue);
        grey.draw(label);
        EXPECT_GT(grey.count(VellGui::kDisabledTextColor), 0) << transparent;
        EXPECT_EQ(grey.count(kRed), 0) << transparent;

        label.setEnabled(true);
        Canvas red(width, height, kBlue);
        red.draw(label);
        EXPECT_GT(red.count(kRed), 0) << transparent;
        EXPECT_EQ(red.count(VellGui::kDisabledTextColor), 0) << transparent;
        if (transparent) {
            EXPECT_EQ(red.at(0, 0), kBlue);
        }
    }
}

TEST_F(Controls, ImagesBlendOrCopyTheirPicture) {
    // Rows.png, 2 x 3: opaque red; white at alpha 128; green at alpha 0.
    VellGui::Picture rows;
    rows.load(narrow(testsDir() + L"Rows.png").c_str());

    VellGui::Image image;
    image.setSize(4, 6); // stretched: two pixels per picture pixel
    image.create(&window, &rows, false);
    EXPECT_EQ(GetWindowLongW(image.hwnd, GWL_STYLE) & SS_NOTIFY, 0);
    Canvas blended(4, 6, kBlue);
    EXPECT_EQ(blended.draw(image), TRUE);
    EXPECT_EQ(blended.at(3, 1), kRed);
    EXPECT_EQ(blended.at(3, 5), kBlue); // fully transparent
    COLORREF half = blended.at(3, 3);
    EXPECT_NEAR(GetRValue(half), 128, 2);
    EXPECT_NEAR(GetBValue(half), 255, 2);

    image.setAlphaBlend(false);
    VellGui::Image natural;
    natural.setAlphaBlend(false);
    natural.create(&window, &rows, true);
    EXPECT_EQ(natural.width, 2);
    EXPECT_EQ(natural.height, 3);
    EXPECT_NE(GetWindowLongW(natural.hwnd, GWL_STYLE) & SS_NOTIFY, 0);
    Canvas copied(2, 3, kBlue);
    copied.draw(natural);
    EXPECT_EQ(copied.at(0, 0), kRed);
    EXPECT_EQ(copied.at(1, 2), RGB(0, 0, 0)); // the alpha is ignored
}

TEST_F(Controls, GroupPaintsWhiteInsideASystemBorder) {
    VellGui::Group group;
    group.setPosition(10, 10);
    group.setSize(100, 50);
    group.create(&window);
    EXPECT_NE(GetWindowLongW(group.hwnd, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_NE(GetWindowLongW(group.hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
    Canvas canvas(98, 48, kBlue);
    EXPECT_EQ(canvas.draw(group), TRUE);
    EXPECT_EQ(canvas.count(RGB(255, 255, 255)), 98 * 48);

    // What is created in the group draws through the group.
    VellGui::Label inside;
    inside.setTransparent(false);
    inside.create(&group, nullptr, "In");
    EXPECT_EQ(GetParent(inside.hwnd), group.hwnd);
    Canvas label(inside.width, inside.height, kBlue);
    EXPECT_EQ(label.draw(inside), TRUE);
    EXPECT_EQ(label.at(0, 0), RGB(255, 255, 255));
}

// Real keys and mouse through the window's own message loop.
TEST_F(Controls, KeysAndMouseInTheLoop) {
    VellGui::Button play, quit, plain;
    int playClicks = 0, quitClicks = 0, plainClicks = 0;
    play.onClick = [&] { ++playClicks; };
    quit.onClick = [&] { ++quitClicks; };
    plain.onClick = [&] { ++plainClicks; };
    play.hotKey = VK_RETURN;
    quit.hotKey = VK_ESCAPE;
    for (auto* button : {&play, &quit, &plain})
        button->setSize(120, 30);
    play.setPosition(10, 10);
    quit.setPosition(10, 50);
    plain.setPosition(10, 90);
    play.create(&window, nullptr, "Play", VellGui::kHoverTextButton);
    quit.create(&window, nullptr, "Quit", VellGui::kHoverTextButton);
    plain.create(&window, nullptr, "Plain", 3); // owner-drawn, no hover

    VellGui::Picture rows;
    rows.load(narrow(testsDir() + L"Rows.png").c_str());
    VellGui::Image clickable, still;
    int clickableClicks = 0, stillClicks = 0, hovers = 0;
    clickable.onClick = [&] { ++clickableClicks; };
    clickable.onHover = [&] { ++hovers; };
    still.onClick = [&] { ++stillClicks; };
    clickable.setPosition(200, 10);
    clickable.setSize(40, 40);
    clickable.create(&window, &rows, true);
    still.setPosition(200, 80);
    still.setSize(40, 40);
    still.create(&window, &rows, false);

    VellGui::Group group;
    group.setPosition(150, 150);
    group.setSize(200, 100);
    group.create(&window);
    VellGui::Button inner1, inner2;
    inner1.setPosition(10, 10);
    inner2.setPosition(10, 50);
    inner1.create(&group, nullptr, "Inner 1", VellGui::kPushButton);
    inner2.create(&group, nullptr, "Inner 2", VellGui::kPushButton);

    std::vector<POINT> windowClicks;
    auto moveTo = [&](int cx, int cy) {
        POINT point = {cx, cy};
        ClientToScreen(window.hwnd, &point);
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(INPUT));
    };
    auto click = [&](int cx, int cy) {
        moveTo(cx, cy);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
    };

    std::vector<std::function<void()>> steps = {
        [&] {
            SetForegroundWindow(window.hwnd);
            SetFocus(window.hwnd);
            testing_support::pressKey(VK_RETURN);
        },
        [&] {
            // From the top-level window the key reaches the one button it belongs to, once.
            EXPECT_EQ(playClicks, 1);
            EXPECT_EQ(quitClicks + plainClicks, 0);
            SetFocus(plain.hwnd);
            testing_support::pressKey(VK_RETURN);
        },
        [&] {
            // On a button without that accelerator, Return clicks nothing.
            EXPECT_EQ(playClicks, 1);
            EXPECT_EQ(plainClicks, 0);
            testing_support::pressKey(VK_TAB);
        },
        [&] {
            EXPECT_EQ(GetFocus(), inner1.hwnd) << "Tab did not enter the group";
            moveTo(60, 25);
        },
        [&] {
            EXPECT_TRUE(play.hovered);
            EXPECT_FALSE(quit.hovered);
            moveTo(60, 65);
        },
        [&] {
            EXPECT_FALSE(play.hovered);
            EXPECT_TRUE(quit.hovered);
            moveTo(60, 105);
        },
        [&] {
            EXPECT_FALSE(quit.hovered);
            EXPECT_FALSE(plain.hovered);
            moveTo(60, 65);
        },
        [&] {
            EXPECT_TRUE(quit.hovered);
            moveTo(380, 20); // the window's own background
        },
        [&] {
            EXPECT_FALSE(quit.hovered);
            EXPECT_FALSE(play.hovered);
            click(220, 100);
        },
        [&] {
            EXPECT_EQ(stillClicks, 0);
            ASSERT_EQ(windowClicks.size(), 1u) << "the click did not reach the window beneath";
            EXPECT_EQ(windowClicks[0].x, 220);
            EXPECT_EQ(windowClicks[0].y, 100);
            EXPECT_EQ(hovers, 0);
            click(220, 30);
        },
        [&] {
            EXPECT_EQ(clickableClicks, 1);
            EXPECT_GT(hovers, 0);
            EXPECT_EQ(windowClicks.size(), 1u);
        },
    };

    constexpr UINT_PTR kStep = 41;
    size_t next = 0;
    window.hook = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (hwnd != window.hwnd)
            return 0;
        if (msg == WM_LBUTTONDOWN)
            windowClicks.push_back({LOWORD(lParam), HIWORD(lParam)});
        if (msg == WM_TIMER && wParam == kStep) {
            if (next < steps.size())
                steps[next++]();
            else
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    };
    SetTimer(window.hwnd, kStep, 250, nullptr);
    EXPECT_EQ(window.run(), 0);
    EXPECT_EQ(next, steps.size());
}
