#include "gui/ComboBox.h"

#include "gui/Font.h"
#include "platform/GdiObjects.h"
#include "platform/SystemHooks.h"
#include "platform/Text.h"

#include <vssym32.h>

#include <algorithm>

namespace VellGui {

namespace {

// Grey of disabled text, the same in every control of the toolkit.
constexpr COLORREF kDisabledText = 0xAAAAAA;
constexpr UINT kTextFormat = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER;
// The focus rectangle's distance from the face's edges.
constexpr int kFocusInset = 3;
// Set rather than left to the system's font, which does not follow the window to a
// monitor of another DPI: the closed face's text field, within the frame the system adds
// (24 pixels in all at 96 DPI), and each entry of the open list.
constexpr int kFaceItemHeight = 18;
constexpr int kListItemHeight = 20;

// Both classes or neither: a face half in the visual style would look broken.
bool openThemes(HWND window) {
    if (!comboThemes.opened) {
        comboThemes.opened = true;
        comboThemes.button.reset(systemHooks.openThemeData(window, L"Button"));
        comboThemes.combo.reset(systemHooks.openThemeData(window, L"ComboBox"));
        if (!comboThemes.button || !comboThemes.combo) {
            comboThemes.button.reset();
            comboThemes.combo.reset();
            comboThemes.usable = false;
        }
    }
    return comboThemes.usable;
}

} // namespace

void ComboBox::create(IObject* parentObject, Font* textFont) {
    font = textFont;
    // The system control keeps the texts (CBS_HASSTRINGS), so that screen readers and the
    // standard list messages read them; the drawing stays ours.
    style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    createWindow(parentObject, 0, "ComboBox", nullptr);
    attach(parentObject);
    setItemHeights();
}

void ComboBox::rescale() {
    if (!hwnd)
        return;
    MoveWindow(hwnd, x, y, width, height, TRUE);
    setItemHeights();
}

// https://learn.microsoft.com/windows/win32/controls/cb-setitemheight
void ComboBox::setItemHeights() {
    if (!hwnd)
        return;
    SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), scaled(kFaceItemHeight));
    SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, scaled(kListItemHeight));
}

void ComboBox::addItem(const std::string& text, bool enabled) {
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(text)));
    if (items.empty())
        select(0);
    items.push_back({text, enabled});
}

void ComboBox::clear() {
    SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
    items.clear();
    selected = 0;
}

void ComboBox::select(int index) {
    // One repaint instead of the system's own plus ours.
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd, CB_SETCURSEL, index, 0);
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    selected = index;
    redraw();
}

void ComboBox::setSelection(int index) {
    if (index >= count())
        index = std::max(count(), 1) - 1;
    if (index < 0)
        index = 0;
    if (index != selected)
        select(index);
    if (onChange)
        onChange();
}

// https://learn.microsoft.com/windows/win32/controls/bumper-combobox-control-reference-notifications
LRESULT ComboBox::handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return kNotHandled;
    switch (msg) {
    case WM_PAINT:
        if (window == hwnd && comboThemes.usable)
            return paintFace();
        break;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == hwnd)
            notified(HIWORD(wParam));
        break;
    case WM_MOUSEMOVE:
        if (window == hwnd) {
            hovered = true;
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        if (window == hwnd)
            hovered = false;
        break;
    case WM_MOUSEWHEEL:
        // A turn of the wheel over a list the player is not looking at must not change a
        // setting; the parent may scroll instead.
        if (window == hwnd) {
            HWND parentWindow = parent && parent->hwnd ? parent->hwnd : GetParent(hwnd);
            if (parentWindow)
                SendMessageW(parentWindow, WM_MOUSEWHEEL, wParam, lParam);
            return kHandled;
        }
        break;
    }
    return kNotHandled;
}

// https://learn.microsoft.com/windows/win32/controls/theme-subclasses
LRESULT ComboBox::paintFace() {
    if (!openThemes(hwnd))
        return kNotHandled; // the system paints this face and every later one
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (dc)
        drawFace(dc);
    EndPaint(hwnd, &paint);
    return 1;
}

void ComboBox::drawFace(HDC dc) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    int w = client.right;
    int h = client.bottom;

    bool focused = GetFocus() == hwnd;
    bool dropped = SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
    int state = PBS_NORMAL;
    if (!enabled)
        state = PBS_DISABLED;
    else if (dropped || (focused && hovered))
        state = PBS_DEFAULTED_ANIMATING;
    else if (focused)
        state = PBS_DEFAULTED;
    else if (hovered)
        state = PBS_HOT;

    // One pixel larger on every side, so the button's outer frame line falls outside.
    RECT face = {-1, -1, w + 1, h + 1};
    if (FAILED(systemHooks.drawThemeBackground(comboThemes.button.get(), dc, BP_PUSHBUTTON, state,
                                               &face, nullptr))) {
        RECT whole = {0, 0, w, h};
        DrawFrameControl(dc, &whole, DFC_BUTTON, DFCS_BUTTONPUSH | (enabled ? 0 : DFCS_INACTIVE));
    }

    if (!items.empty()) {
        SelectedObject selectedFont(dc, font ? font->handle(dpi) : nullptr);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, enabled ? GetSysColor(COLOR_WINDOWTEXT) : kDisabledText);
        RECT text = {0, 0, w, h};
        const Item& shown = items[std::clamp(selected, 0, count() - 1)];
        DrawTextW(dc, toWide(shown.text), -1, &text, kTextFormat);
    }
    // Not every visual style shows the focus in the button's face (Wine's does not): the
    // dotted rectangle always does.
    if (focused && !dropped) {
        int inset = scaled(kFocusInset);
        RECT marker = {inset, inset, w - h - 1, h - inset};
        DrawFocusRect(dc, &marker);
    }

    RECT arrow = {w - h, 0, w, h};
    if (FAILED(systemHooks.drawThemeBackground(comboThemes.combo.get(), dc, CP_DROPDOWNBUTTONRIGHT,
                                               enabled ? CBXSR_NORMAL : CBXSR_DISABLED, &arrow,
                                               nullptr)))
        DrawFrameControl(dc, &arrow, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (enabled ? 0 : DFCS_INACTIVE));
}

// https://learn.microsoft.com/windows/win32/controls/wm-drawitem
void ComboBox::printClient(HDC dc) {
    if (hwnd && openThemes(hwnd))
        drawFace(dc);
    else
        IObject::printClient(dc);
}

void ComboBox::draw(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1) || items.empty())
        return;
    if ((item.itemState & ODS_COMBOBOXEDIT) && comboThemes.usable) {
        // The system wants to redraw the closed face: let WM_PAINT do it in the style.
        redraw();
        return;
    }
    const Item& entry = items[std::min<size_t>(item.itemID, items.size() - 1)];
    // The face of a disabled box comes here too when the system paints it.
    bool grey = !entry.enabled || (item.itemState & ODS_DISABLED);
    COLORREF background = GetSysColor(COLOR_WINDOW);
    COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT);
    if (grey)
        textColor = kDisabledText;
    else if (item.itemState & (ODS_SELECTED | ODS_FOCUS)) {
        background = GetSysColor(COLOR_HIGHLIGHT);
        textColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }

    SelectedObject selectedFont(item.hDC, font ? font->handle(dpi) : nullptr);
    SetBkMode(item.hDC, TRANSPARENT);
    SetDCBrushColor(item.hDC, background);
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetTextColor(item.hDC, textColor);
    RECT text = item.rcItem;
    DrawTextW(item.hDC, toWide(entry.text), -1, &text, kTextFormat);
}

void ComboBox::notified(WORD code) {
    switch (code) {
    case CBN_SETFOCUS:
    case CBN_KILLFOCUS:
        // The face shows the focus: repaint all of it now, not only the text the system
        // marks.
        redraw();
        UpdateWindow(hwnd);
        break;
    case CBN_SELENDCANCEL:
        // The list closed without a choice: the system's selection is the one shown.
        if (!items.empty() && SendMessageW(hwnd, CB_GETCURSEL, 0, 0) != selected)
            select(selected);
        break;
    case CBN_SELENDOK: {
        auto chosen = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        if (chosen < 0 || chosen >= count())
            break;
        if (items[chosen].enabled) {
            selected = chosen;
            redraw();
            if (onChange)
                onChange();
        } else if (selected < count() && items[selected].enabled) {
            // Refused: put the system's selection back, without telling anyone.
            select(selected);
        }
        break;
    }
    }
}

} // namespace VellGui
