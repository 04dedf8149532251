#include <QListWidget>

#include "core/lenient_int.h"
#include "core/number_text.h"
#include "core/point_set_ops.h"
#include "core/random_points.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"

void TMainForm::RandomizePoints(int32_t Count)
{
    TPointSetState& state = State();
    DrawRandomPoints(state.FPoints, Count, state.FMapWidth, state.FMapHeight);
    state.FModified = true;
    Rebuild(TRebuild::Everything);
}

void TMainForm::actRandomArrayExecute()
{
    const QString caption = QStringLiteral("Losuj współrzędne punktów");
    const std::optional<QString> text = Dialogs().InputQuery(this, caption, QStringLiteral("Ile punktów wylosować?"),
                                                             QString::number(State().FPoints.size()));
    if (!text)
        return;
    const int32_t count = LenientInt(text->toStdString(), 0);
    // The matrix grows with the square of the count; beyond the limit it
    // would not fit in memory.
    if (count > MaxPoints) {
        Dialogs().ShowInformation(this, caption, QStringLiteral("Najwyżej %1 punktów.").arg(MaxPoints));
        return;
    }
    RandomizePoints(count);
}

void TMainForm::actZeroArrayExecute()
{
    ClearRoute(State());
    Rebuild(TRebuild::Everything);
}

void TMainForm::actSetNextExecute()
{
    const std::vector<char> selected = ListBox1->SelectedRows();
    int32_t row = -1;
    for (size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            row = static_cast<int32_t>(i);
            break;
        }
    }
    TPointArray& points = State().FPoints;
    if (row < 0 || row >= static_cast<int32_t>(points.size()))
        return;

    const std::optional<QString> text =
        Dialogs().InputQuery(this, QStringLiteral("Ustal kolejny punkt"),
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
    points[row].Next = next;
    Rebuild(TRebuild::List);
}

bool TMainForm::actSetNextUpdate()
{
    return !State().FSearching && ListBox1->SelCount() == 1;
}

void TMainForm::actCountWayExecute()
{
    const TPointArray& points = State().FPoints;
    const TDistanceMatrix& distances = State().FDistances;
    const int32_t n = static_cast<int32_t>(points.size());
    double length = 0.0;
    for (int32_t i = 0; i < n && i < static_cast<int32_t>(distances.size()); ++i) {
        const int32_t next = points[i].Next;
        if (next < 0 || next >= static_cast<int32_t>(distances[i].size()))
            continue;
        length = AddLeg(length, distances[i][next]);
    }
    QListWidget* results = SearchTab->lbResults;
    results->clear();
    results->addItem(QString::fromStdString("Długość drogi: " + FormatNumber(length, 2, NumberFormat())));
    Rebuild(TRebuild::Map);
}
