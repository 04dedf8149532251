#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"
#include "raster/map_fit.h"
#include "raster/map_view_picture.h"

class TImage32;

// The picture of the points on the map's surface, and the mark under a
// pixel of the last picture: the pixel picture at 1:1, or the view's own
// picture (scaled marks, numbers placed) for any other view.
class TMapPainter {
public:
    // Paints points (selected: one flag per row) with fit on the view's
    // whole surface; numbers: "Numery punktów". The links hold a route of
    // kind: a round trip is drawn with its way back (see map_round_trip.h).
    void Paint(TImage32& view, const TPointArray& points, const std::vector<char>& selected, const TMapFit& fit,
               bool numbers, const TRouteKind& kind = {});
    // Whether the last picture was the pixel picture.
    bool DrewPixels() const { return FDrewPixels; }
    // The point whose mark covers map pixel (x, y) in the last picture of
    // points, the top one where marks overlap; -1 when none.
    int32_t MarkAt(const TPointArray& points, const std::vector<char>& selected, const TMapFit& fit, int32_t x,
                   int32_t y) const;

private:
    bool FDrewPixels = true;
    // The marks of the last picture when it was not the pixel picture.
    TMapViewPicture FPicture;
};
