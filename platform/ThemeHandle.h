#pragma once
// Owner of the visual-style data of one theme class, closed with CloseThemeData.
#include <windows.h>

#include <uxtheme.h>

class ThemeHandle {
public:
    ThemeHandle() = default;
    explicit ThemeHandle(HTHEME theme) : theme_(theme) {}
    ~ThemeHandle() { reset(); }
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;

    HTHEME get() const { return theme_; }
    explicit operator bool() const { return theme_ != nullptr; }
    void reset(HTHEME theme = nullptr);
    HTHEME release() {
        HTHEME theme = theme_;
        theme_ = nullptr;
        return theme;
    }

private:
    HTHEME theme_ = nullptr;
};
