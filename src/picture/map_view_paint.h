#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/point_set.h"
#include "raster/bitmap32.h"
#include "raster/map_view_picture.h"

class QPainter;

// The view's picture (see BuildMapViewPicture) drawn with Qt's painter,
// smoothed: onto the window's surface, into a PNG through the surface, or
// onto a PDF page. Numbers need the fonts of a running QGuiApplication.

// One unit of the painter is one map pixel.
void PaintMapView(QPainter& painter, const TMapViewPicture& picture);

// The picture on the surface, sized to it; one change notification for the
// whole, as RenderMap sends.
void RenderMapView(TBitmap32& surface, const TMapViewPicture& picture);

// The start and end marks among marks, each a disc or a diamond centred
// on its place; other kinds are left out.
void PaintRouteEnds(QPainter& painter, const std::vector<TViewMark>& marks);

// Numbers over the picture already on the surface (the pixel picture).
void PaintMapLabels(TBitmap32& surface, const std::vector<TViewLabel>& labels);

// An A4 page at 96 pixels to the inch, 794 x 1123, turned to suit the
// set's proportions: the size of a PDF for printing.
struct TPageSize {
    int32_t Width = 0;
    int32_t Height = 0;
};
TPageSize PrintPageSize(const TPointArray& points);

// A PDF file's bytes: one page of the picture's size at 96 pixels to the
// inch, drawn as shapes. Empty if the writer fails.
std::string EncodeMapPdf(const TMapViewPicture& picture);
// The same with the picture shrunk (or grown) to fill a page of its own
// size.
std::string EncodeMapPdf(const TMapViewPicture& picture, const TPageSize& page);

// The long side of the picture a printed page shows, shrunk to the page.
inline constexpr int32_t PrintPictureLongSidePx = 2000;
// The picture for the page of PrintPageSize: the whole set as a picture of
// PrintPictureLongSidePx in the page's proportions would show it, so that
// its marks, lines and numbers are that picture's, not crowded onto the
// page's fewer pixels.
TMapViewPicture BuildPrintPicture(const TPointArray& points, const std::function<bool(int32_t)>& isSelected,
                                  bool numbers);
