#include "platform/ThemeHandle.h"

#include "platform/SystemFunctions.h"

void ThemeHandle::reset(HTHEME theme) {
    // A theme can only have been opened when uxtheme.dll is there.
    if (theme_)
        if (auto close = systemFunctions::closeThemeData.get())
            close(theme_);
    theme_ = theme;
}
