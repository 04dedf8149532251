#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"
#include "raster/bitmap32.h"
#include "raster/map_fit.h"

// The map as the view draws it once it is no longer the pixel picture
// (zoomed, fitted, exported at a size): shapes at unrounded places, sized
// by how densely the points lie, so that thousands of points and their
// route stay readable. Built here once and drawn by whichever painter (the
// window, PNG, PDF) or writer (SVG) needs it.

inline constexpr TColor32 MapStartColor = 0xFF00A040u;
inline constexpr TColor32 MapEndColor = 0xFF1060E0u;
inline constexpr TColor32 MapLabelColor = 0xFF303030u;
// The numbers' type, in pixels, and the room a digit takes in it (Arial).
inline constexpr double MapLabelFontPx = 10.0;
inline constexpr double MapLabelDigitPx = 5.6;

struct TViewPlace {
    double X = 0.0;
    double Y = 0.0;
};

enum class TViewMarkKind : uint8_t {
    Point,
    Selected,
    // The first and the last point of a stretch of links (of the route).
    Start,
    End,
};

// A point's mark, centred on its place; Size is the side of its square (or
// the diameter of a start's disc).
struct TViewMark {
    double X = 0.0;
    double Y = 0.0;
    double Size = 0.0;
    TViewMarkKind Kind = TViewMarkKind::Point;
    int32_t Point = -1;
};

// A point's number: the text's left edge and vertical centre.
struct TViewLabel {
    double X = 0.0;
    double Y = 0.0;
    int32_t Point = -1;
};

struct TMapViewStyle {
    double MarkPx = 4.0;
    double SelectedMarkPx = 6.0;
    double EndMarkPx = 7.0;
    double LinkPx = 1.0;
};

struct TMapViewPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    TMapViewStyle Style;
    // The links as polylines, each link once, cut to the map (and a little
    // around it).
    std::vector<std::vector<TViewPlace>> Paths;
    // Marks in drawing order: points, then starts and ends, then the
    // selected points on top.
    std::vector<TViewMark> Marks;
    std::vector<TViewLabel> Labels;
};

// The style for this many points shown on a width x height map.
TMapViewStyle ChooseMapViewStyle(int64_t shownPoints, int32_t width, int32_t height);

// The picture of the points under view (on, or off for the pixel scale) at
// width x height, with the numbers that fit when numbers is set.
TMapViewPicture BuildMapViewPicture(const TPointArray& points, const std::function<bool(int32_t)>& isSelected,
                                    int32_t width, int32_t height, const TMapFit& view, bool numbers);

// A number's box: width and height of its text.
double LabelWidth(int32_t point);
inline constexpr double MapLabelHeightPx = 11.0;

// The numbers of the points whose marks are given, each right of its
// point's largest mark (left of it at the map's right edge), in index order: a number goes only where it
// overlaps no other number and no mark and lies on the map, and none go
// on a map too crowded for numbers to say anything.
std::vector<TViewLabel> PlaceLabels(const std::vector<TViewMark>& marks, int32_t width, int32_t height);

// The squares of the pixel picture (see DrawMapShapes) as marks, for the
// numbers over it: those of points near the width x height map.
std::vector<TViewMark> PixelPictureMarks(const TPointArray& points, const std::function<bool(int32_t)>& isSelected,
                                         const TMapFit& fit, int32_t width, int32_t height);

// The start and end marks of the links' stretches over the pixel picture,
// centred on their points' squares, for those near the width x height map.
std::vector<TViewMark> PixelPictureEnds(const TPointArray& points, const TMapFit& fit, int32_t width, int32_t height);

// The point whose mark lies under (x, y), the one drawn on top where marks
// overlap; a mark smaller than grabPx is found within grabPx of its centre.
// -1 when none.
int32_t MarkAt(const TMapViewPicture& picture, double x, double y, double grabPx);
