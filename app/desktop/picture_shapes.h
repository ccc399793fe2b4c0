// The shapes of pictures and monitors, so that a portrait monitor beside landscape ones gets
// portrait pictures, and a landscape one landscape pictures.
#ifndef MURALTO_PICTURE_SHAPES_H
#define MURALTO_PICTURE_SHAPES_H

#include "monitor_shows.h"
#include "wallpaper_table.h"

enum Shape { SHAPE_SQUARE, SHAPE_LANDSCAPE, SHAPE_PORTRAIT };

// Wider than high: landscape; higher than wide: portrait; else square.
Shape shapeOf(int width, int height);
// A picture's shape once upright, from its size in the table.
Shape shapeOf(const WallpaperEntry& entry);
Shape shapeOf(const imaging::ScreenRect& monitor);

// Whether each monitor takes pictures of its own shape: matchShapes is set and the layout has
// monitors of two shapes or more. With one monitor, or monitors all of one shape, the sequence
// is the table's whole.
bool shapesMatter(const MonitorLayout& layout);

#endif
