#pragma once

#include <cstdint>
#include <optional>

#include "core/point_set.h"
#include "raster/map_fit.h"

// How the map chooses its view at each drawing.
enum class TMapViewMode {
    Pixels,  // the pixel picture
    Fitted,  // the set fitted to the window, "Dopasuj mapę do okna"
    Free,    // zoomed or moved by the user
};

// What a look at a replaced set did to the view.
struct TMapLook {
    // The view is another than before.
    bool Changed = false;
    // The set came from outside and the user's zoom or the map's own fit
    // gave way to the pixel picture: the map's note goes.
    bool BackToPixels = false;
    // The set would not be seen whole at 1:1, so the map fitted it itself.
    bool FittedByMap = false;
};

// The map's view as plain data: its size, the mode, the user's zoom and
// moves, and what a replaced set waits for. The map's controller keeps one
// and draws with it; nothing here knows a widget.
struct TMapViewState {
    // The map's drawing area in pixels: 0 before the window's first showing.
    int32_t Width = 0;
    int32_t Height = 0;
    TMapViewMode Mode = TMapViewMode::Pixels;
    // The view of the user's zoom and moves.
    TMapFit FreeView;
    // The view of the last drawing, so a press maps back to the points.
    TMapFit Shown;
    // Ctrl+0 asked for the pixel picture: steps of the history keep it.
    bool PixelsChosen = false;
    // The map fitted the set itself, not the user: the next set that lies
    // on the map is shown at its own coordinates again.
    bool FittedByMap = false;
    // A replaced set waits to be looked at; FromOutside: opened or new.
    bool ReplacedDue = false;
    bool ReplacedFromOutside = false;
    // The extent of the set last looked at: a search's start replaces the
    // set with the same points.
    std::optional<TPointExtent> Extent;

    // The view a drawing of points on a width x height map uses now.
    TMapFit Next(const TPointArray& points, int32_t width, int32_t height) const;
    // The check mark of "Dopasuj mapę do okna", the user's word too.
    void FollowFitCheck(bool checked);
    void SetMode(TMapViewMode mode);

    // A set opened anew is looked at anew, also when it has the extent of
    // the one before (the same file read again).
    void NoteOpened();
    // The set was replaced (fromOutside: not by a step of the history);
    // true when it waits to be looked at (its extent changed).
    bool NoteReplaced(const TPointArray& points, bool fromOutside);
    // Looks at the replaced set on a width x height map.
    TMapLook LookAtSet(const TPointArray& points, int32_t width, int32_t height);

    // Zooms by factor about map pixel (x, y) of the shown view.
    void ZoomAbout(double factor, int32_t x, int32_t y);
    // Moves the shown view by (dx, dy) pixels.
    void Pan(int32_t dx, int32_t dy);
    // Ctrl+0.
    void ToPixels();
};
