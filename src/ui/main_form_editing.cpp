#include <QListWidget>

#include "core/distances.h"
#include "core/lenient_int.h"
#include "core/number_text.h"
#include "core/point_set_ops.h"
#include "core/random_points.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/point_list.h"

void TMainForm::RandomizePoints(int32_t Count)
{
    DrawRandomPoints(FPoints, Count, FMapWidth, FMapHeight);
    FModified = true;
    ComputeDistances(*this, *this, 0);
    RefreshPointList();
}

void TMainForm::actRandomArrayExecute()
{
    const QString caption = QStringLiteral("Losuj współrzędne punktów");
    const std::optional<QString> text =
        Dialogs().InputQuery(this, caption, QStringLiteral("Ile punktów wylosować?"), QString::number(FPoints.size()));
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
    ClearRoute(*this, *this);
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
    if (row < 0 || row >= static_cast<int32_t>(FPoints.size()))
        return;

    const std::optional<QString> text =
        Dialogs().InputQuery(this, QStringLiteral("Ustal kolejny punkt"),
                             QStringLiteral("Podaj indeks kolejnego punktu:"), QString::number(FPoints[row].Next));
    if (!text || row >= static_cast<int32_t>(FPoints.size()))
        return;

    const int32_t highest = static_cast<int32_t>(FPoints.size()) - 1;
    int32_t next = LenientInt(text->toStdString(), -1);
    // The clamp comes first: a large number typed for the last point clears
    // its link rather than linking it to itself.
    if (next > highest)
        next = highest;
    if (next == row)
        next = -1;
    if (next < 0)
        next = -1;
    FPoints[row].Next = next;
    RefreshPointList();
}

bool TMainForm::actSetNextUpdate()
{
    return !FSearching && ListBox1->SelCount() == 1;
}

void TMainForm::actCountWayExecute()
{
    const int32_t n = static_cast<int32_t>(FPoints.size());
    double length = 0.0;
    for (int32_t i = 0; i < n && i < static_cast<int32_t>(FDistances.size()); ++i) {
        const int32_t next = FPoints[i].Next;
        if (next < 0 || next >= static_cast<int32_t>(FDistances[i].size()))
            continue;
        length = AddLeg(length, FDistances[i][next]);
    }
    lbResults->clear();
    lbResults->addItem(QString::fromStdString("Długość drogi: " + FormatNumber(length, 2, NumberFormat())));
    DrawMap();
}
