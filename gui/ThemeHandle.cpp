#include "gui/ThemeHandle.h"

#include "launcher/SystemLibrary.h"

namespace VellGui {

namespace {

template <typename Procedure> Procedure themeProcedure(const char* name) {
    return reinterpret_cast<Procedure>(
        reinterpret_cast<void*>(systemProcedure(L"uxtheme.dll", name)));
}

} // namespace

HTHEME WINAPI systemOpenThemeData(HWND window, LPCWSTR classList) {
    static const auto open = themeProcedure<decltype(&OpenThemeData)>("OpenThemeData");
    return open ? open(window, classList) : nullptr;
}

HRESULT WINAPI systemDrawThemeBackground(HTHEME theme, HDC dc, int part, int state,
                                         const RECT* rect, const RECT* clip) {
    static const auto draw = themeProcedure<decltype(&DrawThemeBackground)>("DrawThemeBackground");
    return draw ? draw(theme, dc, part, state, rect, clip) : E_NOTIMPL;
}

HRESULT WINAPI systemCloseThemeData(HTHEME theme) {
    static const auto close = themeProcedure<decltype(&CloseThemeData)>("CloseThemeData");
    return close ? close(theme) : E_NOTIMPL;
}

} // namespace VellGui
