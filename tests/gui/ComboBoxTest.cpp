// The drop-down list: selection rules, the player's choice of enabled and disabled
// entries, the wheel, and the face in the visual style and without one.
#include "gui/ComboBox.h"
#include "platform/SystemHooks.h"
#include "platform/GdiObjects.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <vsstyle.h>

#include <vector>

using namespace gui_testing;
using VellGui::ComboBox;
using VellGui::comboThemes;

namespace {

constexpr COLORREF kGrey = 0xAAAAAA;
// What the fake theme paints, so the face's parts can be told apart on the screen.
constexpr COLORREF kFakeButtonFace = RGB(0, 200, 0);
constexpr COLORREF kFakeArrow = RGB(0, 0, 200);
const HTHEME kFakeButtonTheme = reinterpret_cast<HTHEME>(0x1001);
const HTHEME kFakeComboTheme = reinterpret_cast<HTHEME>(0x1002);

struct ThemeCall {
    HTHEME theme;
    int part;
    int state;
    RECT rect;
};
std::vector<std::wstring> opened;
std::vector<ThemeCall> painted;

HTHEME WINAPI fakeOpen(HWND, LPCWSTR classList) {
    opened.emplace_back(classList);
    return opened.back() == L"Button" ? kFakeButtonTheme : kFakeComboTheme;
}
HTHEME WINAPI noTheme(HWND, LPCWSTR classList) {
    opened.emplace_back(classList);
    return nullptr;
}
HRESULT WINAPI fakePaint(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT*) {
    painted.push_back({theme, part, state, *rect});
    SetDCBrushColor(dc, theme == kFakeButtonTheme ? kFakeButtonFace : kFakeArrow);
    FillRect(dc, rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return S_OK;
}

// Pixels of exactly `colour` in the rectangle of the context.
int countPixels(HDC dc, const RECT& area, COLORREF colour) {
    int found = 0;
    for (int py = area.top; py < area.bottom; ++py)
        for (int px = area.left; px < area.right; ++px)
            if (GetPixel(dc, px, py) == colour)
                ++found;
    return found;
}

LRESULT cursel(const ComboBox& box) {
    return SendMessageW(box.hwnd, CB_GETCURSEL, 0, 0);
}

class ComboBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        useThisModule();
        opened.clear();
        painted.clear();
        resetThemes();
        window.setSize(300, 200);
        window.create(nullptr, "Combo", VellGui::kCaptionedWindow);
        box.setPosition(20, 20);
        box.setSize(205, 23);
        box.create(&window, nullptr);
        ASSERT_NE(box.hwnd, nullptr);
        box.onChange = [this] { ++changes; };
    }
    void TearDown() override {
        box.destroyWindow();
        window.close();
        drainQuit();
        resetThemes();
        systemHooks.openThemeData = systemOpenThemeData;
        systemHooks.drawThemeBackground = systemDrawThemeBackground;
    }
    // The fake handles must never reach CloseThemeData.
    static void resetThemes() {
        comboThemes.button.release();
        comboThemes.combo.release();
        comboThemes.usable = true;
        comboThemes.opened = false;
    }

    void show() {
        ShowWindow(window.hwnd, SW_SHOW);
        SetForegroundWindow(window.hwnd);
        ASSERT_TRUE(testing_support::waitFor(
            [&] {
                pump();
                return GetForegroundWindow() == window.hwnd;
            },
            3000));
    }
    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    void paintNow() { RedrawWindow(box.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    RECT client() const {
        RECT rect = {};
        GetClientRect(box.hwnd, &rect);
        return rect;
    }

    HookedWindow window;
    ComboBox box;
    int changes = 0;
};

} // namespace

TEST_F(ComboBoxes, SelectionIsClampedAndEveryProgramChoiceNotifies) {
    box.addItem("Vollbild");
    box.addItem("Fenster (Rahmenlos)");
    EXPECT_EQ(box.selected, 0);
    EXPECT_EQ(cursel(box), 0);
    EXPECT_EQ(SendMessageW(box.hwnd, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(changes, 0); // the first entry is selected without a word

    box.addItem("Dritter");
    box.setSelection(7);
    EXPECT_EQ(box.selected, 2);
    EXPECT_EQ(cursel(box), 2);
    EXPECT_EQ(changes, 1);

    // The same index again: onChange runs, the system control is left alone.
    SendMessageW(box.hwnd, CB_SETCURSEL, 0, 0);
    box.setSelection(2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(cursel(box), 0);
    box.select(1);
    EXPECT_EQ(box.selected, 1);
    EXPECT_EQ(cursel(box), 1);
    EXPECT_EQ(changes, 2);

    box.clear();
    EXPECT_EQ(box.selected, 0);
    EXPECT_TRUE(box.items.empty());
    EXPECT_EQ(SendMessageW(box.hwnd, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(changes, 2);

    box.setSelection(5);
    EXPECT_EQ(box.selected, 0);
    EXPECT_EQ(changes, 3);
    box.setSelection(-4);
    EXPECT_EQ(box.selected, 0);

    // A list filled again starts at its first entry.
    box.addItem("1920 x 1080");
    box.addItem("1280 x 720");
    EXPECT_EQ(box.selected, 0);
    EXPECT_EQ(cursel(box), 0);
    box.onChange = nullptr;
    box.setSelection(1); // an empty callback is never called
    EXPECT_EQ(box.selected, 1);
}

TEST_F(ComboBoxes, EntriesAreDrawnFromTheirOwnCopyInTheirColours) {
    box.addItem("Primär");
    box.addItem("Sekundär 2", false);
    WindowDC screen;
    MemoryDC memory(screen.get());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), 205, 20));
    SelectedObject selectedBitmap(memory.get(), bitmap.get());
    RECT area = {0, 0, 205, 20};
    auto draw = [&](UINT itemId, UINT state) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_COMBOBOX;
        item.itemID = itemId;
        item.itemState = state;
        item.hwndItem = box.hwnd;
        item.hDC = memory.get();
        item.rcItem = area;
        return SendMessageW(window.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    };

    // A disabled entry stays grey on the window colour, even under the highlight.
    EXPECT_EQ(draw(1, ODS_SELECTED), 1);
    EXPECT_EQ(GetPixel(memory.get(), 1, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_GT(countPixels(memory.get(), area, kGrey), 0);
    EXPECT_EQ(countPixels(memory.get(), area, GetSysColor(COLOR_WINDOWTEXT)), 0);

    EXPECT_EQ(draw(0, ODS_SELECTED), 1);
    EXPECT_EQ(GetPixel(memory.get(), 1, 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(countPixels(memory.get(), area, GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
    EXPECT_EQ(countPixels(memory.get(), area, kGrey), 0);

    EXPECT_EQ(draw(0, 0), 1);
    EXPECT_EQ(GetPixel(memory.get(), 1, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_GT(countPixels(memory.get(), area, GetSysColor(COLOR_WINDOWTEXT)), 0);

    // While the style paints the face, the system's face drawing is turned into a repaint.
    PatBlt(memory.get(), 0, 0, 205, 20, BLACKNESS);
    EXPECT_EQ(draw(0, ODS_COMBOBOXEDIT), 1);
    EXPECT_EQ(countPixels(memory.get(), area, RGB(0, 0, 0)), 205 * 20);
    comboThemes.usable = false;
    EXPECT_EQ(draw(0, ODS_COMBOBOXEDIT), 1);
    // The face of a disabled box, drawn by the system's request.
    EXPECT_EQ(draw(0, ODS_COMBOBOXEDIT | ODS_DISABLED), 1);
    EXPECT_GT(countPixels(memory.get(), area, kGrey), 0);
    EXPECT_EQ(countPixels(memory.get(), area, GetSysColor(COLOR_WINDOWTEXT)), 0);
}

TEST_F(ComboBoxes, ThePlayersChoiceOfADisabledEntryIsRefusedAndTheWheelGoesToTheParent) {
    box.addItem("Vollbild");
    box.addItem("Gesperrt", false);
    box.addItem("Fenster (Rahmenlos)");
    std::vector<WPARAM> wheels;
    window.hook = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        if (hwnd == window.hwnd && msg == WM_MOUSEWHEEL)
            wheels.push_back(wParam);
        return 0;
    };
    show();
    auto choose = [&](int downs) {
        SendMessageW(box.hwnd, CB_SHOWDROPDOWN, TRUE, 0);
        for (int i = 0; i < downs; ++i)
            SendMessageW(box.hwnd, WM_KEYDOWN, VK_DOWN, 0);
        SendMessageW(box.hwnd, WM_KEYDOWN, VK_RETURN, 0);
        pump();
    };

    choose(1);
    EXPECT_EQ(SendMessageW(box.hwnd, CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_EQ(box.selected, 0);
    EXPECT_EQ(cursel(box), 0); // put back
    EXPECT_EQ(changes, 0);

    choose(2);
    EXPECT_EQ(box.selected, 2);
    EXPECT_EQ(cursel(box), 2);
    EXPECT_EQ(changes, 1);

    // The system control would step through the entries; the turn goes to the parent.
    for (WPARAM turn : {MAKEWPARAM(0, WHEEL_DELTA), MAKEWPARAM(0, -WHEEL_DELTA)}) {
        SendMessageW(box.hwnd, WM_MOUSEWHEEL, turn, MAKELPARAM(30, 30));
        pump();
    }
    EXPECT_EQ(wheels,
              (std::vector<WPARAM>{MAKEWPARAM(0, WHEEL_DELTA), MAKEWPARAM(0, -WHEEL_DELTA)}));
    EXPECT_EQ(box.selected, 2);
    EXPECT_EQ(cursel(box), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBoxes, TheFacePaintsInTheStyleOfItsState) {
    systemHooks.openThemeData = fakeOpen;
    systemHooks.drawThemeBackground = fakePaint;
    box.addItem("Vollbild");
    box.addItem("Fenster (Rahmenlos)");
    show();
    RECT inside = client();
    int w = inside.right;
    int h = inside.bottom;
    auto buttonState = [&] {
        painted.clear();
        paintNow();
        EXPECT_EQ(painted.size(), 2u);
        return painted.empty() ? -1 : painted[0].state;
    };

    SetFocus(window.hwnd);
    EXPECT_EQ(buttonState(), PBS_NORMAL);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[0].theme, kFakeButtonTheme);
    EXPECT_EQ(painted[0].part, BP_PUSHBUTTON);
    RECT larger = {-1, -1, w + 1, h + 1};
    EXPECT_TRUE(EqualRect(&painted[0].rect, &larger));
    EXPECT_EQ(painted[1].theme, kFakeComboTheme);
    EXPECT_EQ(painted[1].part, CP_DROPDOWNBUTTONRIGHT);
    EXPECT_EQ(painted[1].state, CBXSR_NORMAL);
    RECT arrow = {w - h, 0, w, h};
    EXPECT_TRUE(EqualRect(&painted[1].rect, &arrow));
    {
        WindowDC dc(box.hwnd);
        RECT text = {0, 0, w - h, h};
        EXPECT_GT(countPixels(dc.get(), text, GetSysColor(COLOR_WINDOWTEXT)), 0);
        EXPECT_EQ(countPixels(dc.get(), text, kGrey), 0);
    }

    SendMessageW(box.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(box.hovered);
    EXPECT_EQ(buttonState(), PBS_HOT);
    SetFocus(box.hwnd);
    EXPECT_EQ(buttonState(), PBS_DEFAULTED_ANIMATING);
    SendMessageW(box.hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(box.hovered);
    EXPECT_EQ(buttonState(), PBS_DEFAULTED);
    SendMessageW(box.hwnd, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(buttonState(), PBS_DEFAULTED_ANIMATING);
    SendMessageW(box.hwnd, CB_SHOWDROPDOWN, FALSE, 0);

    box.setEnabled(false);
    EXPECT_EQ(buttonState(), PBS_DISABLED);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[1].state, CBXSR_DISABLED);
    {
        WindowDC dc(box.hwnd);
        RECT text = {0, 0, w - h, h};
        EXPECT_GT(countPixels(dc.get(), text, kGrey), 0);
        EXPECT_EQ(countPixels(dc.get(), text, GetSysColor(COLOR_WINDOWTEXT)), 0);
        EXPECT_EQ(GetPixel(dc.get(), w - h / 2, h / 2), kFakeArrow);
    }

    // Opened once for every combo box of the run.
    ComboBox second;
    second.setPosition(20, 60);
    second.setSize(205, 23);
    second.create(&window, nullptr);
    second.addItem("Primär");
    RedrawWindow(second.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"Button", L"ComboBox"}));
}

TEST_F(ComboBoxes, WithoutAStyleTheSystemPaintsTheFaceThroughTheEntryDrawing) {
    systemHooks.openThemeData = noTheme;
    systemHooks.drawThemeBackground = fakePaint;
    box.addItem("Vollbild");
    box.setEnabled(false);
    show();
    paintNow();
    EXPECT_FALSE(comboThemes.usable);
    EXPECT_TRUE(painted.empty());
    WindowDC dc(box.hwnd);
    // The text area, inside the system's frame and left of its arrow.
    RECT inside = client();
    RECT text = {4, 4, inside.right - inside.bottom - 2, inside.bottom - 4};
    EXPECT_GT(countPixels(dc.get(), text, kGrey), 0);
    EXPECT_EQ(countPixels(dc.get(), text, GetSysColor(COLOR_WINDOWTEXT)), 0);

    // Never tried again.
    paintNow();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(painted.empty());
}
