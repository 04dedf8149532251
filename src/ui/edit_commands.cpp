#include "ui/edit_commands.h"

#include <QWidget>

#include <algorithm>
#include <utility>

#include "core/distances.h"
#include "core/length_words.h"
#include "core/lenient_int.h"
#include "core/number_text.h"
#include "core/point_removal.h"
#include "core/point_set_ops.h"
#include "core/random_points.h"
#include "core/route_links.h"
#include "core/set_edits.h"
#include "core/typed_point.h"
#include "ui/dialogs.h"
#include "ui/distance_model.h"
#include "ui/document.h"
#include "ui/map_view_state.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/undo_commands.h"
#include "ui/window_progress.h"

TEditCommands::TEditCommands(TDocument& document, TWindowProgress& progress, TPointList& list, TSearchTab& searchTab,
                             const TMapViewState& map, const TDistanceGridModel& distances, QWidget& parent)
    : QObject(&parent),
      FDocument(document),
      FProgress(progress),
      FList(list),
      FSearchTab(searchTab),
      FMap(map),
      FDistances(distances),
      FParent(parent)
{
}

void TEditCommands::actUndoExecute()
{
    FDocument.Undo();
}

void TEditCommands::actRedoExecute()
{
    FDocument.Redo();
}

int32_t TEditCommands::FirstSelectedRow() const
{
    const std::vector<char> selected = FList.SelectedRows();
    for (size_t i = 0; i < selected.size(); ++i) {
        if (selected[i])
            return static_cast<int32_t>(i);
    }
    return -1;
}

void TEditCommands::RandomizePoints(int32_t Count)
{
    const TPointSetState& state = FDocument.State();
    TPointArray points = state.FPoints;
    DrawRandomPoints(points, Count, FMap.Width, FMap.Height);
    // New points hold no route, and their places are those of their map
    // points.
    TSetPoints after{points, PlacesOfMapPoints(state.FPlaces, points), TRouteKind()};
    FDocument.Push(
        new TPointsCommand(FDocument, QStringLiteral("losowanie punktów"), FDocument.SetPoints(), std::move(after)));
}

void TEditCommands::actRandomArrayExecute()
{
    const QString caption = QStringLiteral("Losuj współrzędne punktów");
    const std::optional<QString> text = Dialogs().InputQuery(
        &FParent, caption, QStringLiteral("Ile punktów wylosować?"), QString::number(FDocument.State().FPoints.size()));
    if (!text)
        return;
    const int32_t count = LenientInt(text->toStdString(), 0);
    // The matrix grows with the square of the count; beyond the limit it
    // would not fit in memory.
    if (count > MaxPoints) {
        Dialogs().ShowInformation(&FParent, caption, QStringLiteral("Najwyżej %1 punktów.").arg(MaxPoints));
        return;
    }
    RandomizePoints(count);
}

void TEditCommands::actZeroArrayExecute()
{
    // The set counts as changed even when no link was set, as it always did.
    const TPointArray& points = FDocument.State().FPoints;
    FDocument.Push(new TLinksCommand(FDocument, QStringLiteral("wyzerowanie drogi"), LinksOf(points),
                                     std::vector<int32_t>(points.size(), -1), true));
}

void TEditCommands::actSetNextExecute()
{
    const int32_t row = FirstSelectedRow();
    const TPointArray& points = FDocument.State().FPoints;
    if (row < 0 || row >= static_cast<int32_t>(points.size()))
        return;

    const std::optional<QString> text =
        Dialogs().InputQuery(&FParent, QStringLiteral("Ustal kolejny punkt"),
                             QStringLiteral("Podaj indeks kolejnego punktu:"), QString::number(points[row].Next));
    if (!text || row >= static_cast<int32_t>(points.size()))
        return;

    const int32_t highest = static_cast<int32_t>(points.size()) - 1;
    int32_t next = LenientInt(text->toStdString(), -1);
    // The clamp comes first: a large number typed for the last point clears
    // its link rather than linking it to itself.
    if (next > highest)
        next = highest;
    if (next == row)
        next = -1;
    if (next < 0)
        next = -1;
    if (next == points[row].Next) {
        FList.Refresh();
        return;
    }
    std::vector<int32_t> links = LinksOf(points);
    links[static_cast<size_t>(row)] = next;
    FDocument.Push(new TLinksCommand(FDocument, QStringLiteral("ustawienie punktu docelowego"), LinksOf(points),
                                     std::move(links), false));
}

void TEditCommands::actDeletePointsExecute()
{
    const std::vector<char> selected = FList.SelectedRows();
    const auto count = std::count(selected.begin(), selected.end(), 1);
    if (count == 0)
        return;
    TSetPoints before = FDocument.SetPoints();
    TSetPoints after{before.Points, PlacesWithout(before.Places, selected), KindWithout(before.Kind, selected)};
    RemovePointsJoiningRoute(after.Points, selected);
    const QString text = count == 1 ? QStringLiteral("usunięcie punktu") : QStringLiteral("usunięcie punktów");
    FDocument.Push(new TPointsCommand(FDocument, text, std::move(before), std::move(after)));
}

void TEditCommands::actEditPointExecute()
{
    const int32_t row = FirstSelectedRow();
    const TPointArray& points = FDocument.State().FPoints;
    if (row < 0 || row >= static_cast<int32_t>(points.size()))
        return;
    const QString caption = QStringLiteral("Zmień współrzędne punktu");
    const TMapPoint& point = points[static_cast<size_t>(row)];
    QString text = QStringLiteral("%1; %2").arg(point.X).arg(point.Y);
    std::optional<TMapPoint> typed;
    // Asked again, with the text as typed, until it reads or the user gives
    // up: a mistyped point must not land at (0; 0).
    while (!typed) {
        const std::optional<QString> answer = Dialogs().InputQuery(
            &FParent, caption, QStringLiteral("Podaj współrzędne punktu %1 (X; Y):").arg(row), text);
        if (!answer || row >= static_cast<int32_t>(points.size()))
            return;
        typed = ParseTypedPoint(answer->toStdString());
        if (!typed) {
            text = *answer;
            Dialogs().ShowErrorBox(&FParent, caption,
                                   QStringLiteral("„%1” to nie są współrzędne punktu.\nPodaj dwie liczby całkowite "
                                                  "rozdzielone średnikiem,\nna przykład „120; 45”.")
                                       .arg(text));
        }
    }
    const TMapPoint& current = points[static_cast<size_t>(row)];
    if (typed->X == current.X && typed->Y == current.Y)
        return;
    FDocument.Push(
        new TMovePointCommand(FDocument, QStringLiteral("zmiana współrzędnych punktu"), row, typed->X, typed->Y));
}

void TEditCommands::actCountWayExecute()
{
    const TPointSetState& state = FDocument.State();
    const TPointArray& points = state.FPoints;
    const TDistanceMatrix& distances = FDistances.Distances();
    const int32_t n = static_cast<int32_t>(points.size());
    // A large set keeps no matrix: its legs are what the matrix would hold.
    const bool onDemand = distances.empty();
    const int32_t rows = onDemand ? n : std::min(n, static_cast<int32_t>(distances.size()));
    double length = 0.0;
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t next = points[i].Next;
        const int32_t columns = onDemand ? n : static_cast<int32_t>(distances[i].size());
        if (next < 0 || next >= columns)
            continue;
        length = AddLeg(length, FDistances.Leg(i, next));
    }
    // A round trip's links end at its last point; its length comes back.
    // Links that make no one route are summed as they stand.
    bool closed = false;
    if (state.FRouteKind.RoundTrip) {
        if (const std::optional<TSpecimen> route = RouteFromLinks(points); route && route->size() >= 2) {
            length = AddLeg(length, FDistances.Leg(route->back(), route->front()));
            closed = true;
        }
    }
    const TLengthWords words{closed, FDistances.Measure().OnEarth()};
    FSearchTab.ClearResults();
    FSearchTab.AddResultLine(QString::fromStdString("Długość " + RouteGenitive(words) + ": " +
                                                    LengthText(length, words, FProgress.NumberFormat())));
    // The map is drawn again, as the program always did here.
    emit MapDue();
}
