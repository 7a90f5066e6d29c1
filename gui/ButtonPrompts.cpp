#include "gui/ButtonPrompts.h"

#include "gui/Font.h"
#include "gui/MeasureText.h"
#include "platform/GdiObjects.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstring>

namespace VellGui {

namespace {

// At 96 DPI.
constexpr int kButtonSize = 17; // the disc's diameter
constexpr int kButtonGap = 4;   // from a disc to its text
constexpr int kPromptGap = 14;  // from one prompt's text to the next disc

constexpr COLORREF kPadGrey = RGB(72, 72, 72);

// The colours of an Xbox-style pad.
COLORREF discColour(PadInput button) {
    switch (button) {
    case PadInput::A:
        return RGB(84, 168, 52);
    case PadInput::B:
        return RGB(214, 54, 46);
    case PadInput::X:
        return RGB(36, 114, 216);
    case PadInput::Y:
        return RGB(236, 184, 28);
    default:
        return kPadGrey;
    }
}

const char* letterOf(PadInput button) {
    switch (button) {
    case PadInput::A:
        return "A";
    case PadInput::B:
        return "B";
    case PadInput::X:
        return "X";
    case PadInput::Y:
        return "Y";
    default:
        return nullptr;
    }
}

// Dark on yellow, white on the others.
COLORREF letterColour(PadInput button) {
    return button == PadInput::Y ? RGB(40, 40, 40) : RGB(255, 255, 255);
}

uint32_t premultiplied(COLORREF colour, int coverage /* 0 to 255 */) {
    auto channel = [coverage](int value) {
        return static_cast<uint32_t>((value * coverage + 127) / 255);
    };
    return (static_cast<uint32_t>(coverage) << 24) | (channel(GetRValue(colour)) << 16) |
           (channel(GetGValue(colour)) << 8) | channel(GetBValue(colour));
}

} // namespace

std::vector<uint32_t> padButtonPixels(PadInput button, int size) {
    std::vector<uint32_t> pixels(static_cast<size_t>(std::max(size, 0)) * std::max(size, 0));
    if (size <= 0)
        return pixels;
    // Each pixel from 4 x 4 samples: the share inside the disc is its coverage.
    constexpr int kSamples = 4;
    const double radius = size / 2.0;
    const bool menu = button == PadInput::Menu;
    // The Menu button's three bars, in units of the size.
    const double barLeft = 0.28, barRight = 0.72, barHalf = 0.05;
    const double barRows[] = {0.33, 0.5, 0.67};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int inDisc = 0;
            int inBar = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    double px = x + (sx + 0.5) / kSamples;
                    double py = y + (sy + 0.5) / kSamples;
                    double dx = px - radius, dy = py - radius;
                    if (dx * dx + dy * dy > radius * radius)
                        continue;
                    ++inDisc;
                    double u = px / size, v = py / size;
                    if (menu && u >= barLeft && u <= barRight &&
                        std::any_of(std::begin(barRows), std::end(barRows),
                                    [v, barHalf](double row) {
                                        return v >= row - barHalf && v <= row + barHalf;
                                    }))
                        ++inBar;
                }
            }
            constexpr int kAll = kSamples * kSamples;
            int coverage = (inDisc * 255 + kAll / 2) / kAll;
            // The bars within the disc: white mixed with the disc's grey by their share.
            int bar = inDisc ? (inBar * 255 + inDisc / 2) / inDisc : 0;
            COLORREF colour = discColour(button);
            if (bar > 0) {
                auto mix = [bar](int a, int b) { return (a * (255 - bar) + b * bar + 127) / 255; };
                colour = RGB(mix(GetRValue(colour), 255), mix(GetGValue(colour), 255),
                             mix(GetBValue(colour), 255));
            }
            pixels[static_cast<size_t>(y) * size + x] = premultiplied(colour, coverage);
        }
    }
    return pixels;
}

void ButtonPrompts::create(IObject* parentObject, Font* textFont, Font* letterFont,
                           COLORREF textColour, std::vector<ButtonPrompt> shownPrompts) {
    font = textFont;
    letters = letterFont;
    textColor = textColour;
    prompts = std::move(shownPrompts);
    inheritDpi(parentObject);
    fit();
    // Hidden; painted after the windows beneath it, onto their pixels.
    style = WS_CHILD | SS_OWNERDRAW;
    std::string name;
    for (const ButtonPrompt& prompt : prompts) {
        const char* letter = letterOf(prompt.button);
        name +=
            (name.empty() ? "" : ", ") + std::string(letter ? letter : "Menu") + " " + prompt.text;
    }
    createWindow(parentObject, WS_EX_TRANSPARENT, "Static", name.c_str());
    attach(parentObject);
}

void ButtonPrompts::fit() {
    int widthInAll = 0;
    int tallest = scaled(kButtonSize);
    for (const ButtonPrompt& prompt : prompts) {
        SIZE text = measureText(font, prompt.text, dpi);
        widthInAll += (widthInAll ? scaled(kPromptGap) : 0) + scaled(kButtonSize) +
                      scaled(kButtonGap) + text.cx;
        tallest = std::max<int>(tallest, text.cy);
    }
    setNaturalSize(widthInAll, tallest);
}

void ButtonPrompts::show(bool on) {
    if (!hwnd || on == shown)
        return;
    shown = on;
    ShowWindow(hwnd, on ? SW_SHOWNA : SW_HIDE);
    if (!on && parent && parent->hwnd) {
        // The controls beneath draw that part again, without the parent's background first.
        RECT area = {x, y, x + width, y + height};
        RedrawWindow(parent->hwnd, &area, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

void ButtonPrompts::rescale() {
    fit();
    if (hwnd)
        MoveWindow(hwnd, x, y, width, height, TRUE);
}

LRESULT ButtonPrompts::handleMessage(HWND, UINT msg, WPARAM, LPARAM lParam) {
    if (!hwnd || msg != WM_DRAWITEM)
        return kNotHandled;
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item || item->hwndItem != hwnd)
        return kNotHandled;
    draw(*item);
    return TRUE;
}

void ButtonPrompts::draw(const DRAWITEMSTRUCT& item) const {
    if (leftToWindow(item))
        return;

    HDC dc = item.hDC;
    SetBkMode(dc, TRANSPARENT);
    const int size = scaled(kButtonSize);
    int left = 0;
    for (const ButtonPrompt& prompt : prompts) {
        drawButton(dc, prompt.button, left, (height - size) / 2);
        left += size + scaled(kButtonGap);
        SelectedObject selected(dc, font ? font->handle(dpi) : nullptr);
        SetTextColor(dc, textColor);
        SIZE text = measureText(font, prompt.text, dpi);
        RECT area = {left, 0, left + text.cx, height};
        DrawTextW(dc, toWide(prompt.text), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
        left += text.cx + scaled(kPromptGap);
    }
}

void ButtonPrompts::drawButton(HDC dc, PadInput button, int left, int top) const {
    const int size = scaled(kButtonSize);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> face(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(dc);
    if (!face || !bits || !memory)
        return;
    std::vector<uint32_t> pixels = padButtonPixels(button, size);
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    {
        SelectedObject selected(memory.get(), face.get());
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, left, top, size, size, memory.get(), 0, 0, size, size, blend);
    }
    if (const char* letter = letterOf(button)) {
        SelectedObject selected(dc, letters ? letters->handle(dpi) : nullptr);
        SetTextColor(dc, letterColour(button));
        RECT disc = {left, top, left + size, top + size};
        DrawTextW(dc, toWide(letter), -1, &disc,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOCLIP);
    }
}

} // namespace VellGui
