#include "ui/map_round_trip.h"

#include <algorithm>
#include <optional>

#include "core/route_links.h"

TClosedRoute CloseRoundTrip(const TPointArray& points, const TRouteKind& kind)
{
    TClosedRoute closed;
    closed.Points = points;
    if (!kind.RoundTrip)
        return closed;
    const std::optional<TSpecimen> route = RouteFromLinks(points);
    if (!route || route->size() < 2)
        return closed;
    closed.Points[static_cast<size_t>(route->back())].Next = route->front();
    closed.First = route->front();
    return closed;
}

void MarkRoundTripStart(TMapViewPicture& picture, int32_t first, bool numbers)
{
    std::vector<TViewMark>& marks = picture.Marks;
    const auto plain = std::find_if(marks.begin(), marks.end(), [first](const TViewMark& mark) {
        return mark.Point == first && mark.Kind == TViewMarkKind::Point;
    });
    if (plain == marks.end())
        return;
    TViewMark start = *plain;
    start.Kind = TViewMarkKind::Start;
    start.Size = picture.Style.EndMarkPx;
    marks.erase(plain);
    // Above the points, below the selected ones, as the picture orders them.
    const auto selected = std::find_if(marks.begin(), marks.end(),
                                       [](const TViewMark& mark) { return mark.Kind == TViewMarkKind::Selected; });
    marks.insert(selected, start);
    if (numbers)
        picture.Labels = PlaceLabels(marks, picture.Width, picture.Height);
}
