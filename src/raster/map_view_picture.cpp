#include "raster/map_view_picture.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "raster/map_shapes.h"
#include "raster/map_view.h"

namespace {

// Links are kept a little beyond the map, so that cut ends never show.
constexpr double PathMarginPx = 16.0;
// Room between a mark and its number.
constexpr double LabelGapPx = 2.0;
// The numbers show only while each point has a square this wide to itself.
constexpr double LabelRoomPx = 24.0;
// Cells of the grid that finds a label's neighbours.
constexpr double LabelCellPx = 16.0;

struct TBox {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;

    bool Overlaps(const TBox& other) const
    {
        return Left < other.Right && other.Left < Right && Top < other.Bottom && other.Top < Bottom;
    }
};

TBox MarkBox(const TViewMark& mark)
{
    const double half = mark.Size / 2;
    return {mark.X - half, mark.Y - half, mark.X + half, mark.Y + half};
}

// Cuts the segment from a to b to the box (Liang and Barsky); false when
// nothing of it is inside.
bool ClipSegment(TViewPlace& a, TViewPlace& b, const TBox& box)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    double enter = 0.0;
    double leave = 1.0;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.X - box.Left, box.Right - a.X, a.Y - box.Top, box.Bottom - a.Y};
    for (int side = 0; side < 4; ++side) {
        if (p[side] == 0.0) {
            if (q[side] < 0.0)
                return false;
            continue;
        }
        const double t = q[side] / p[side];
        if (p[side] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return false;
    const TViewPlace from = a;
    if (leave < 1.0)
        b = {from.X + leave * dx, from.Y + leave * dy};
    if (enter > 0.0)
        a = {from.X + enter * dx, from.Y + enter * dy};
    return true;
}

// Collects the links into polylines: a link that goes on where the last one
// ended extends it.
class TPathCollector {
public:
    TPathCollector(std::vector<std::vector<TViewPlace>>& paths, const TBox& box) : FPaths(paths), FBox(box) {}

    void Link(TViewPlace from, TViewPlace to)
    {
        if (!ClipSegment(from, to, FBox)) {
            Break();
            return;
        }
        if (FCurrent.empty() || FCurrent.back().X != from.X || FCurrent.back().Y != from.Y) {
            Break();
            FCurrent.push_back(from);
        }
        FCurrent.push_back(to);
    }

    void Break()
    {
        if (FCurrent.size() >= 2)
            FPaths.push_back(std::move(FCurrent));
        FCurrent.clear();
    }

private:
    std::vector<std::vector<TViewPlace>>& FPaths;
    TBox FBox;
    std::vector<TViewPlace> FCurrent;
};

void CollectPaths(const TPointArray& points, const std::vector<TViewPlace>& places, const std::vector<int32_t>& before,
                  TMapViewPicture& picture)
{
    const auto count = static_cast<int32_t>(points.size());
    const auto hasLink = [&](int32_t i) {
        const int32_t next = points[static_cast<size_t>(i)].Next;
        return next >= 0 && next < count;
    };
    const TBox box{-PathMarginPx, -PathMarginPx, picture.Width + PathMarginPx, picture.Height + PathMarginPx};
    TPathCollector collector(picture.Paths, box);
    std::vector<char> drawn(points.size(), 0);
    const auto walk = [&](int32_t from) {
        for (int32_t i = from; hasLink(i) && !drawn[static_cast<size_t>(i)];) {
            drawn[static_cast<size_t>(i)] = 1;
            const int32_t next = points[static_cast<size_t>(i)].Next;
            collector.Link(places[static_cast<size_t>(i)], places[static_cast<size_t>(next)]);
            i = next;
        }
        collector.Break();
    };
    // Stretches from their first points, then whatever is left (rings, and
    // links into a point that another link reached first).
    for (int32_t i = 0; i < count; ++i)
        if (before[static_cast<size_t>(i)] == 0)
            walk(i);
    for (int32_t i = 0; i < count; ++i)
        walk(i);
}

int32_t Digits(int32_t value)
{
    int32_t digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits;
}

}  // namespace

TMapViewStyle ChooseMapViewStyle(int64_t shownPoints, int32_t width, int32_t height)
{
    const double area = static_cast<double>(std::max(width, 1)) * static_cast<double>(std::max(height, 1));
    // The side of the square each point has to itself.
    const double spacing = std::sqrt(area / static_cast<double>(std::max<int64_t>(shownPoints, 1)));
    TMapViewStyle style;
    style.MarkPx = std::clamp(spacing * 0.4, 1.5, 4.0);
    style.SelectedMarkPx = style.MarkPx + 2.0;
    style.EndMarkPx = std::clamp(style.MarkPx * 2.0, 6.0, 8.0);
    style.LinkPx = std::clamp(spacing * 0.15, 0.5, 1.0);
    return style;
}

TMapViewPicture BuildMapViewPicture(const TPointArray& points, const std::function<bool(int32_t)>& isSelected,
                                    int32_t width, int32_t height, const TMapFit& view, bool numbers)
{
    TMapViewPicture picture;
    picture.Width = std::max(width, 0);
    picture.Height = std::max(height, 0);
    const auto count = static_cast<int32_t>(points.size());
    std::vector<TViewPlace> places(points.size());
    std::vector<int32_t> before(points.size(), 0);
    int64_t shown = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TMapPoint& point = points[static_cast<size_t>(i)];
        TViewPlace& place = places[static_cast<size_t>(i)];
        place = {ViewX(view, point.X), ViewY(view, point.Y)};
        if (place.X >= 0 && place.Y >= 0 && place.X < picture.Width && place.Y < picture.Height)
            ++shown;
        if (point.Next >= 0 && point.Next < count)
            ++before[static_cast<size_t>(point.Next)];
    }
    picture.Style = ChooseMapViewStyle(shown, picture.Width, picture.Height);
    CollectPaths(points, places, before, picture);

    const TMapViewStyle& style = picture.Style;
    const double reach = style.EndMarkPx;
    const auto onMap = [&](const TViewPlace& place) {
        return place.X > -reach && place.Y > -reach && place.X < picture.Width + reach &&
               place.Y < picture.Height + reach;
    };
    std::vector<char> selected(points.size(), 0);
    std::vector<TViewMark> ends;
    for (int32_t i = 0; i < count; ++i) {
        const TViewPlace& place = places[static_cast<size_t>(i)];
        if (!onMap(place))
            continue;
        selected[static_cast<size_t>(i)] = isSelected && isSelected(i) ? 1 : 0;
        const bool linked = points[static_cast<size_t>(i)].Next >= 0 && points[static_cast<size_t>(i)].Next < count;
        const bool reached = before[static_cast<size_t>(i)] > 0;
        if (linked != reached) {
            ends.push_back({place.X, place.Y, style.EndMarkPx, linked ? TViewMarkKind::Start : TViewMarkKind::End, i});
            continue;
        }
        picture.Marks.push_back({place.X, place.Y, style.MarkPx, TViewMarkKind::Point, i});
    }
    picture.Marks.insert(picture.Marks.end(), ends.begin(), ends.end());
    for (int32_t i = 0; i < count; ++i)
        if (selected[static_cast<size_t>(i)] != 0) {
            const TViewPlace& place = places[static_cast<size_t>(i)];
            picture.Marks.push_back({place.X, place.Y, style.SelectedMarkPx, TViewMarkKind::Selected, i});
        }
    if (numbers)
        picture.Labels = PlaceLabels(picture.Marks, picture.Width, picture.Height);
    return picture;
}

double LabelWidth(int32_t point)
{
    return Digits(std::max(point, 0)) * MapLabelDigitPx + 1.0;
}

std::vector<TViewLabel> PlaceLabels(const std::vector<TViewMark>& marks, int32_t width, int32_t height)
{
    std::vector<TViewLabel> labels;
    // A few numbers at the edges of a crowded map say nothing.
    const double room = static_cast<double>(width) * static_cast<double>(height) / (LabelRoomPx * LabelRoomPx);
    if (width <= 0 || height <= 0 || static_cast<double>(marks.size()) > room)
        return labels;
    // Each point's largest mark is where its number goes.
    std::unordered_map<int32_t, size_t> markOf;
    for (size_t i = 0; i < marks.size(); ++i) {
        const auto [at, fresh] = markOf.try_emplace(marks[i].Point, i);
        if (!fresh && marks[i].Size > marks[at->second].Size)
            at->second = i;
    }
    std::vector<std::pair<int32_t, size_t>> order(markOf.begin(), markOf.end());
    std::sort(order.begin(), order.end());

    const auto columns = static_cast<int64_t>(std::ceil(width / LabelCellPx));
    const auto rows = static_cast<int64_t>(std::ceil(height / LabelCellPx));
    std::vector<std::vector<TBox>> cells(static_cast<size_t>(columns * rows));
    const auto eachCell = [&](const TBox& box, const auto& action) {
        const auto cellOf = [](double v, int64_t last) {
            return std::clamp<int64_t>(static_cast<int64_t>(std::floor(v / LabelCellPx)), 0, last);
        };
        for (int64_t row = cellOf(box.Top, rows - 1); row <= cellOf(box.Bottom, rows - 1); ++row)
            for (int64_t column = cellOf(box.Left, columns - 1); column <= cellOf(box.Right, columns - 1); ++column)
                if (!action(cells[static_cast<size_t>(row * columns + column)]))
                    return false;
        return true;
    };
    const auto insert = [&](const TBox& box) {
        eachCell(box, [&box](std::vector<TBox>& cell) {
            cell.push_back(box);
            return true;
        });
    };
    for (const TViewMark& mark : marks)
        insert(MarkBox(mark));

    for (const auto& [point, markIndex] : order) {
        const TViewMark& mark = marks[markIndex];
        const TBox own = MarkBox(mark);
        double left = own.Right + LabelGapPx;
        // At the map's right edge the number goes left of its mark rather
        // than off the map.
        if (left + LabelWidth(point) > width - 1)
            left = own.Left - LabelGapPx - LabelWidth(point);
        const TBox box{left, mark.Y - MapLabelHeightPx / 2, left + LabelWidth(point), mark.Y + MapLabelHeightPx / 2};
        if (box.Left < 1 || box.Top < 1 || box.Right > width - 1 || box.Bottom > height - 1)
            continue;
        // A point's own marks lie left of its number and never overlap it.
        const bool free = eachCell(box, [&box](const std::vector<TBox>& cell) {
            return std::none_of(cell.begin(), cell.end(), [&box](const TBox& other) { return other.Overlaps(box); });
        });
        if (!free)
            continue;
        insert(box);
        labels.push_back({box.Left, mark.Y, point});
    }
    return labels;
}

std::vector<TViewMark> PixelPictureMarks(const TPointArray& points, const std::function<bool(int32_t)>& isSelected,
                                         const TMapFit& fit, int32_t width, int32_t height)
{
    std::vector<TViewMark> marks;
    const auto count = static_cast<int32_t>(points.size());
    for (int32_t i = 0; i < count; ++i) {
        const TMapPoint& point = points[static_cast<size_t>(i)];
        const int64_t x = fit.MapX(point.X);
        const int64_t y = fit.MapY(point.Y);
        const int32_t size = isSelected && isSelected(i) ? MapSelectedPointSizePx : MapPointSizePx;
        if (x + size < 0 || y + size < 0 || x >= width || y >= height)
            continue;
        const double half = size / 2.0;
        marks.push_back({static_cast<double>(x) + half, static_cast<double>(y) + half, static_cast<double>(size),
                         TViewMarkKind::Point, i});
    }
    return marks;
}

std::vector<TViewMark> PixelPictureEnds(const TPointArray& points, const TMapFit& fit, int32_t width, int32_t height)
{
    const auto count = static_cast<int32_t>(points.size());
    std::vector<char> reached(points.size(), 0);
    for (const TMapPoint& point : points)
        if (point.Next >= 0 && point.Next < count)
            reached[static_cast<size_t>(point.Next)] = 1;
    const double size = TMapViewStyle().EndMarkPx;
    std::vector<TViewMark> marks;
    for (int32_t i = 0; i < count; ++i) {
        const TMapPoint& point = points[static_cast<size_t>(i)];
        const bool linked = point.Next >= 0 && point.Next < count;
        if (linked == (reached[static_cast<size_t>(i)] != 0))
            continue;
        const double x = static_cast<double>(fit.MapX(point.X)) + MapPointSizePx / 2.0;
        const double y = static_cast<double>(fit.MapY(point.Y)) + MapPointSizePx / 2.0;
        if (x + size < 0 || y + size < 0 || x - size >= width || y - size >= height)
            continue;
        marks.push_back({x, y, size, linked ? TViewMarkKind::Start : TViewMarkKind::End, i});
    }
    return marks;
}

int32_t MarkAt(const TMapViewPicture& picture, double x, double y, double grabPx)
{
    const std::vector<TViewMark>& marks = picture.Marks;
    for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark) {
        const TBox box = MarkBox(*mark);
        if (x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom)
            return mark->Point;
    }
    int32_t nearest = -1;
    double best = grabPx * grabPx;
    for (const TViewMark& mark : marks) {
        const double d = (mark.X - x) * (mark.X - x) + (mark.Y - y) * (mark.Y - y);
        if (d <= best) {
            best = d;
            nearest = mark.Point;
        }
    }
    return nearest;
}
