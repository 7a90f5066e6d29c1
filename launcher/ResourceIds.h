#pragma once
// The ids of the executable's resources, read by the resource script and by the code. The
// resource compiler takes only the preprocessor's lines of a header, so they are macros.

// "BINARY" resources: the display font, and the pictures, each also drawn at twice the size
// for screens above 96 DPI.
#define IDR_FONT_IMPACT 100
#define IDR_BACKGROUND 120
#define IDR_PLAY_ICON 121
#define IDR_OPTIONS_ICON 122
#define IDR_ACCOUNT_ICON 123
#define IDR_QUIT_ICON 124
#define IDR_LOGO 125
#define IDR_BACKGROUND_2X 130
#define IDR_PLAY_ICON_2X 131
#define IDR_OPTIONS_ICON_2X 132
#define IDR_ACCOUNT_ICON_2X 133
#define IDR_QUIT_ICON_2X 134
#define IDR_LOGO_2X 135

// The icon group of the windows.
#define IDI_WINDOWS 140
