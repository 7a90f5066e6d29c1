#pragma once
// Owner of the visual-style data of one theme class, closed with CloseThemeData.
#include <windows.h>

#include <uxtheme.h>

namespace VellGui {

// The visual-style calls from uxtheme.dll, loaded on first use: imported, it would start
// the display machinery at every start of the launcher, skip mode included. Without the
// DLL, no theme opens and the system paints the controls.
HTHEME WINAPI systemOpenThemeData(HWND window, LPCWSTR classList);
HRESULT WINAPI systemDrawThemeBackground(HTHEME theme, HDC dc, int part, int state,
                                         const RECT* rect, const RECT* clip);
HRESULT WINAPI systemCloseThemeData(HTHEME theme);

class ThemeHandle {
public:
    ThemeHandle() = default;
    explicit ThemeHandle(HTHEME theme) : theme_(theme) {}
    ~ThemeHandle() { reset(); }
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;

    HTHEME get() const { return theme_; }
    explicit operator bool() const { return theme_ != nullptr; }
    void reset(HTHEME theme = nullptr) {
        if (theme_)
            systemCloseThemeData(theme_);
        theme_ = theme;
    }
    HTHEME release() {
        HTHEME theme = theme_;
        theme_ = nullptr;
        return theme;
    }

private:
    HTHEME theme_ = nullptr;
};

} // namespace VellGui
