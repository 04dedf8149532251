#pragma once

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
