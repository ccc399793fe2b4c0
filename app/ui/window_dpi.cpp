#include "window_dpi.h"

namespace {

typedef UINT(WINAPI* DpiForWindow)(HWND);

// Looked up at run time: Windows 7 and 8 have no GetDpiForWindow, and a program that imported
// it would not start there.
DpiForWindow dpiForWindow() {
    static bool looked = false;
    static DpiForWindow function = nullptr;
    if (!looked) {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        if (user32 != nullptr)
            function = reinterpret_cast<DpiForWindow>(
                reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")));
        looked = true;
    }
    return function;
}

} // namespace

UINT windowDpi(HWND window) {
    DpiForWindow function = dpiForWindow();
    UINT dpi = function != nullptr ? function(window) : 0;
    if (dpi != 0) return dpi;
    HDC screen = GetDC(nullptr);
    int pixels = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return pixels > 0 ? static_cast<UINT>(pixels) : static_cast<UINT>(BASE_DPI);
}

int scaledForDpi(int pixelsAt96, UINT dpi) {
    return MulDiv(pixelsAt96, static_cast<int>(dpi), BASE_DPI);
}
