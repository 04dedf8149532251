#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "raster/map_fit.h"

// The map's view beyond the pixel picture: zoom about a pixel, pan, and
// where a point lands when it is not rounded to a pixel. A view is a
// TMapFit; off is the pixel picture, one point unit to a pixel, from the
// map's top-left corner.

// The scale stays within these: a coordinate unit never covers more than
// MaxViewScale pixels, and the whole 32-bit range never shrinks below a few
// hundred pixels.
inline constexpr double MinViewScale = 1e-7;
inline constexpr double MaxViewScale = 64.0;
// One step of the wheel or of the zoom commands.
inline constexpr double ViewZoomStep = 1.25;

// view zoomed by factor about map pixel (x, y): the point under that pixel
// stays under it. A scale that comes back to 1 is 1 exactly, on whole
// pixels, so zooming in and out again returns to the pixel picture's look.
TMapFit ZoomedAbout(const TMapFit& view, double factor, int32_t x, int32_t y);
// view moved by (dx, dy) map pixels.
TMapFit Panned(const TMapFit& view, int32_t dx, int32_t dy);

// Whether the view draws the pixel picture: off, or one unit to a pixel on
// whole pixels (the picture merely moved).
bool DrawsPixelPicture(const TMapFit& view);

// Whether every point lies on a width x height map at its own coordinates.
bool PointsLieOnMap(const TPointArray& points, int32_t width, int32_t height);

// A picture size for the whole set fitted (see FitMapToPoints) with
// longSidePx on its longer side and the set's proportions; a set that is a
// line or a point gets at least an eighth of that across.
struct TPictureSize {
    int32_t Width = 0;
    int32_t Height = 0;
};
TPictureSize FittedPictureSize(const TPointArray& points, int32_t longSidePx);

// Where the view puts a point, unrounded: the centre of the pixel that
// MapX and MapY round to, so a press on that pixel stands for the point.
double ViewX(const TMapFit& view, int32_t x);
double ViewY(const TMapFit& view, int32_t y);
