#include "core/random_points.h"

#include "core/random_source.h"

void DrawRandomPoints(TPointArray& points, int32_t count, int32_t mapWidth, int32_t mapHeight)
{
    if (count > 0)
        points.resize(static_cast<size_t>(count));
    ReseedFromClock();
    for (TMapPoint& point : points) {
        point.X = RandomBelow(mapWidth);
        point.Y = RandomBelow(mapHeight);
        point.Next = -1;
    }
}
