#include "gui/ButtonPrompts.h"

#include "gui/Font.h"
#include "gui/MeasureText.h"
#include "platform/GdiObjects.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace VellGui {

namespace {

// At 96 DPI.
constexpr int kButtonSize = 17; // the disc's diameter
constexpr int kButtonGap = 4;   // from a disc to its text
constexpr int kPromptGap = 14;  // from one prompt's text to the next disc

constexpr COLORREF kPadGrey = RGB(72, 72, 72);
constexpr COLORREF kPadDark = RGB(40, 40, 40);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The face buttons' colours in the order A, B, X, Y: the Xbox pad's discs, and the
// PlayStation symbols (cross, circle, square, triangle).
constexpr COLORREF kXboxColours[] = {RGB(84, 168, 52), RGB(214, 54, 46), RGB(36, 114, 216),
                                     RGB(236, 184, 28)};
constexpr COLORREF kPlayStationColours[] = {RGB(124, 178, 232), RGB(255, 102, 102),
                                            RGB(230, 132, 214), RGB(64, 210, 160)};

// What is written on the face; null where the face shows a symbol or nothing.
const char* faceText(PadFamily family, PadInput button) {
    static const char* const kXbox[] = {"A", "B", "X", "Y"};
    // Confirm is the button labelled A, the left face button is labelled Y, the top one X.
    static const char* const kNintendo[] = {"A", "B", "Y", "X"};
    if (family == PadFamily::PlayStation)
        return button == PadInput::Menu ? "Options" : nullptr;
    if (button > PadInput::Y)
        return nullptr;
    return (family == PadFamily::Nintendo ? kNintendo : kXbox)[static_cast<int>(button)];
}

const char* buttonName(PadFamily family, PadInput button) {
    static const char* const kPlayStation[] = {"Cross", "Circle", "Square", "Triangle"};
    if (family == PadFamily::PlayStation && button <= PadInput::Y)
        return kPlayStation[static_cast<int>(button)];
    if (const char* text = faceText(family, button))
        return text;
    return family == PadFamily::Nintendo && button == PadInput::Menu ? "+" : "Menu";
}

uint32_t premultiplied(COLORREF colour, int coverage /* 0 to 255 */) {
    auto channel = [coverage](int value) {
        return static_cast<uint32_t>((value * coverage + 127) / 255);
    };
    return (static_cast<uint32_t>(coverage) << 24) | (channel(GetRValue(colour)) << 16) |
           (channel(GetGValue(colour)) << 8) | channel(GetBValue(colour));
}

bool insideTriangle(double u, double v, double scale) {
    // About its centre of gravity, apex up.
    const double cu = 0.5, cv = 0.54;
    const double corners[3][2] = {{0.5, 0.27}, {0.25, 0.68}, {0.75, 0.68}};
    int sides = 0;
    for (int i = 0; i < 3; ++i) {
        const double* a = corners[i];
        const double* b = corners[(i + 1) % 3];
        double au = cu + (a[0] - cu) * scale, av = cv + (a[1] - cv) * scale;
        double bu = cu + (b[0] - cu) * scale, bv = cv + (b[1] - cv) * scale;
        sides += (bu - au) * (v - av) - (bv - av) * (u - au) < 0 ? 1 : -1;
    }
    return std::abs(sides) == 3;
}

// The symbol at (u, v), in units of the face's height from the centre of a disc.
bool inSymbol(PadFamily family, PadInput button, double u, double v) {
    constexpr double kStroke = 0.075;
    double du = u - 0.5, dv = v - 0.5;
    if (family == PadFamily::Xbox && button == PadInput::Menu) {
        // Three bars.
        static constexpr double kRows[] = {-0.17, 0.0, 0.17};
        return std::abs(du) <= 0.22 &&
               std::any_of(std::begin(kRows), std::end(kRows),
                           [dv](double row) { return std::abs(dv - row) <= 0.05; });
    }
    if (family == PadFamily::Nintendo && button == PadInput::Menu)
        return (std::abs(du) <= kStroke && std::abs(dv) <= 0.24) ||
               (std::abs(dv) <= kStroke && std::abs(du) <= 0.24);
    if (family != PadFamily::PlayStation)
        return false;
    switch (button) {
    case PadInput::A:
        return std::abs(du) <= 0.2 && std::abs(dv) <= 0.2 &&
               (std::abs(du - dv) <= kStroke * 1.4 || std::abs(du + dv) <= kStroke * 1.4);
    case PadInput::B:
        return std::abs(std::hypot(du, dv) - 0.21) <= kStroke;
    case PadInput::X:
        return std::abs(std::max(std::abs(du), std::abs(dv)) - 0.19) <= kStroke;
    case PadInput::Y:
        return insideTriangle(u, v, 1.0) && !insideTriangle(u, v, 0.5);
    default:
        return false;
    }
}

// The face's colour at a point of it, or none outside it. (x, y) in pixels.
std::optional<COLORREF> faceAt(PadFamily family, PadInput button, double x, double y, int width,
                               int height) {
    // A disc, or a pill for a word: within half the height of the middle line.
    double radius = height / 2.0;
    double nearest = std::clamp(x, radius, width - radius);
    double dx = x - nearest, dy = y - radius;
    if (dx * dx + dy * dy > radius * radius)
        return std::nullopt;
    if (family == PadFamily::PlayStation && button <= PadInput::Y) {
        if (inSymbol(family, button, x / height, y / height))
            return kPlayStationColours[static_cast<int>(button)];
        return kPadDark;
    }
    if (inSymbol(family, button, x / height, y / height))
        return kWhite;
    if (family == PadFamily::Xbox)
        return button <= PadInput::Y ? kXboxColours[static_cast<int>(button)] : kPadGrey;
    return family == PadFamily::Nintendo ? kPadGrey : kPadDark;
}

} // namespace

std::vector<uint32_t> padButtonPixels(PadFamily family, PadInput button, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    // Each pixel from 4 x 4 samples: its colour is theirs, its coverage the share inside.
    constexpr int kSamples = 4;
    constexpr int kAll = kSamples * kSamples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int inside = 0, red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    auto colour = faceAt(family, button, x + (sx + 0.5) / kSamples,
                                         y + (sy + 0.5) / kSamples, width, height);
                    if (!colour)
                        continue;
                    ++inside;
                    red += GetRValue(*colour);
                    green += GetGValue(*colour);
                    blue += GetBValue(*colour);
                }
            }
            if (inside == 0)
                continue;
            COLORREF mean = RGB((red + inside / 2) / inside, (green + inside / 2) / inside,
                                (blue + inside / 2) / inside);
            pixels[static_cast<size_t>(y) * width + x] =
                premultiplied(mean, (inside * 255 + kAll / 2) / kAll);
        }
    }
    return pixels;
}

void ButtonPrompts::create(IObject* parentObject, Font* textFont, Font* letterFont,
                           COLORREF textColour, const std::vector<PadBinding>& bindings) {
    font = textFont;
    letters = letterFont;
    textColor = textColour;
    prompts.clear();
    for (const PadBinding& binding : bindings) {
        // A control's prompt says what the control says.
        std::string text = binding.caption;
        if (text.empty() && binding.control && binding.control->hwnd) {
            wchar_t caption[128] = {};
            GetWindowTextW(binding.control->hwnd, caption, 128);
            text = toNarrowString(caption);
        }
        prompts.push_back({binding.action, text});
    }
    inheritDpi(parentObject);
    fit();
    // Hidden; painted after the windows beneath it, onto their pixels.
    style = WS_CHILD | SS_OWNERDRAW;
    createWindow(parentObject, WS_EX_TRANSPARENT, "Static", "");
    name();
    attach(parentObject);
}

void ButtonPrompts::name() {
    std::string text;
    for (const ButtonPrompt& prompt : prompts)
        text += (text.empty() ? "" : ", ") + std::string(buttonName(family, prompt.button)) + " " +
                prompt.text;
    if (hwnd)
        SetWindowTextW(hwnd, toWide(text));
}

int ButtonPrompts::faceWidth(PadInput button) const {
    const char* text = faceText(family, button);
    // A word on a pill, with half a disc's room at each end.
    if (text && text[1] != '\0')
        return measureText(letters, text, dpi).cx + scaled(kButtonSize);
    return scaled(kButtonSize);
}

void ButtonPrompts::fit() {
    int widthInAll = 0;
    int tallest = scaled(kButtonSize);
    for (const ButtonPrompt& prompt : prompts) {
        SIZE text = measureText(font, prompt.text, dpi);
        widthInAll += (widthInAll ? scaled(kPromptGap) : 0) + faceWidth(prompt.button) +
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

void ButtonPrompts::setFamily(PadFamily shownFamily) {
    if (shownFamily == family)
        return;
    bool wasShown = shown;
    show(false);
    family = shownFamily;
    rescale();
    name();
    show(wasShown);
}

void ButtonPrompts::rescale() {
    fit();
    if (hwnd)
        MoveWindow(hwnd, x, y, width, height, TRUE);
}

LRESULT ButtonPrompts::handleMessage(HWND, UINT, WPARAM, LPARAM) {
    return kNotHandled;
}

void ButtonPrompts::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    SetBkMode(dc, TRANSPARENT);
    const int size = scaled(kButtonSize);
    int left = 0;
    for (const ButtonPrompt& prompt : prompts) {
        drawButton(dc, prompt.button, left, (height - size) / 2);
        left += faceWidth(prompt.button) + scaled(kButtonGap);
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
    const int faceW = faceWidth(button);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = faceW;
    info.bmiHeader.biHeight = -size; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> face(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(dc);
    if (!face || !bits || !memory)
        return;
    std::vector<uint32_t> pixels = padButtonPixels(family, button, faceW, size);
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    {
        SelectedObject selected(memory.get(), face.get());
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, left, top, faceW, size, memory.get(), 0, 0, faceW, size, blend);
    }
    if (const char* text = faceText(family, button)) {
        SelectedObject selected(dc, letters ? letters->handle(dpi) : nullptr);
        // Dark on the Xbox pad's yellow, white on the others.
        bool dark = family == PadFamily::Xbox && button == PadInput::Y;
        SetTextColor(dc, dark ? RGB(40, 40, 40) : kWhite);
        RECT disc = {left, top, left + faceW, top + size};
        DrawTextW(dc, toWide(text), -1, &disc, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOCLIP);
    }
}

} // namespace VellGui
