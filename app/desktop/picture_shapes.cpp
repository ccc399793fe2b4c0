#include "picture_shapes.h"

Shape shapeOf(int width, int height) {
    if (width > height) return SHAPE_LANDSCAPE;
    return height > width ? SHAPE_PORTRAIT : SHAPE_SQUARE;
}

Shape shapeOf(const WallpaperEntry& entry) { return shapeOf(entry.width, entry.height); }

Shape shapeOf(const imaging::ScreenRect& monitor) { return shapeOf(monitor.width, monitor.height); }

bool shapesMatter(const MonitorLayout& layout) {
    if (!matchShapes) return false;
    for (int i = 1; i < layout.count; ++i)
        if (shapeOf(layout.monitors[i]) != shapeOf(layout.monitors[0])) return true;
    return false;
}
