#include "desktop_wallpaper.h"

#include <windows.h>

#include <string.h>

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";

struct ModeStyle {
    const char* wallpaperStyle;
    const char* tileWallpaper;
};
const ModeStyle MODE_STYLES[] = {
    {"0", "0"},  // MODE_CENTRE
    {"0", "1"},  // MODE_TILE
    {"2", "0"},  // MODE_STRETCH
    {"6", "0"},  // MODE_FIT: Windows 7 and later
    {"10", "0"}, // MODE_FILL: Windows 7 and later
};

// REG_SZ data lengths count the terminating NUL.
void setText(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
}

} // namespace

void applyWallpaper(const char* path, int mode, bool refreshDesktop) {
    if (path == nullptr) return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        setText(key, "ConvertedWallpaper", path);
        setText(key, "Wallpaper", path);
        if (mode >= MODE_CENTRE && mode <= MODE_FILL) {
            setText(key, "WallpaperStyle", MODE_STYLES[mode].wallpaperStyle);
            setText(key, "TileWallpaper", MODE_STYLES[mode].tileWallpaper);
        }
        RegCloseKey(key);
    }
    // SPIF_UPDATEINIFILE alone: no setting-change broadcast goes out.
    if (refreshDesktop)
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path), SPIF_UPDATEINIFILE);
}
