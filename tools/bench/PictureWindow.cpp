// The floor for the time to the finished window in tools/bench.sh: the launcher's eight
// imports, each made real by one reference, and a pop-up of the launcher's size at the
// screen's scale that shows one picture, made before the window is shown, and nothing else.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// One function of each DLL the launcher imports, so that the loader maps and attaches
// them all as it does for the launcher.
void* volatile imports[] = {
    reinterpret_cast<void*>(&AlphaBlend),              // msimg32
    reinterpret_cast<void*>(&CoInitializeEx),          // ole32
    reinterpret_cast<void*>(&SHGetKnownFolderPath),    // shell32
    reinterpret_cast<void*>(&GetFileVersionInfoSizeW), // version
    reinterpret_cast<void*>(&std::malloc),             // msvcrt
};

HDC pictureDc = nullptr;
int width = 608;
int height = 396;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        BitBlt(dc, 0, 0, width, height, pictureDc, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    width = MulDiv(608, dpi, 96);
    height = MulDiv(396, dpi, 96);

    // A picture with some detail, so that showing it is a real copy.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!picture || !bits || !imports[0])
        return 1;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = 0xFF000000u | ((x * 255 / width) << 16) |
                                    ((y * 255 / height) << 8) | ((x ^ y) & 0x3F);
    pictureDc = CreateCompatibleDC(nullptr);
    SelectObject(pictureDc, picture);

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"PictureWindow";
    if (!RegisterClassW(&windowClass))
        return 1;
    HWND window = CreateWindowExW(0, L"PictureWindow", L"PictureWindow", WS_POPUP, 100, 100, width,
                                  height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
