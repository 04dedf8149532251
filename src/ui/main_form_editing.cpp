// Changing the point set by hand, and the history that takes changes back.
#include <QListWidget>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <algorithm>
#include <utility>

#include "core/lenient_int.h"
#include "core/number_text.h"
#include "core/point_removal.h"
#include "core/point_set_ops.h"
#include "core/random_points.h"
#include "core/typed_point.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/undo_commands.h"

void TMainForm::PushStep(QUndoCommand* step)
{
    const QScopedValueRollback<bool> applying(FApplyingStep, true);
    FHistory->push(step);
}

void TMainForm::actUndoExecute()
{
    // A point held on the map may be the one the step takes away.
    FDrag = {};
    const QScopedValueRollback<bool> applying(FApplyingStep, true);
    FHistory->undo();
}

bool TMainForm::actUndoUpdate()
{
    return actCountWayUpdate() && FHistory->canUndo();
}

void TMainForm::actRedoExecute()
{
    FDrag = {};
    const QScopedValueRollback<bool> applying(FApplyingStep, true);
    FHistory->redo();
}

bool TMainForm::actRedoUpdate()
{
    return actCountWayUpdate() && FHistory->canRedo();
}

void TMainForm::ShowHistoryCaptions()
{
    const std::pair<TCommand*, QString> captions[] = {{actUndo, FHistory->undoText()}, {actRedo, FHistory->redoText()}};
    for (const auto& [command, step] : captions) {
        const QString base = command->property("caption").toString();
        const QString text = step.isEmpty() ? base : base + QStringLiteral(": ") + step;
        command->setText(text);
        // The tool button tells which step it takes, the status bar what
        // the command does.
        command->setToolTip(step.isEmpty() ? command->statusTip() : QString(text).remove(u'&'));
    }
}

void TMainForm::SyncModified()
{
    State().FModified = HistoryChangesSet(*FHistory);
}

int32_t TMainForm::FirstSelectedRow() const
{
    const std::vector<char> selected = ListBox1->SelectedRows();
    for (size_t i = 0; i < selected.size(); ++i) {
        if (selected[i])
            return static_cast<int32_t>(i);
    }
    return -1;
}

void TMainForm::RandomizePoints(int32_t Count)
{
    const TPointSetState& state = State();
    TPointArray points = state.FPoints;
    DrawRandomPoints(points, Count, state.FMapWidth, state.FMapHeight);
    PushStep(new TPointsCommand(*this, QStringLiteral("losowanie punktów"), state.FPoints, std::move(points)));
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
    // The set counts as changed even when no link was set, as it always did.
    const TPointArray& points = State().FPoints;
    PushStep(new TLinksCommand(*this, QStringLiteral("wyzerowanie drogi"), LinksOf(points),
                               std::vector<int32_t>(points.size(), -1), true));
}

void TMainForm::actSetNextExecute()
{
    const int32_t row = FirstSelectedRow();
    const TPointArray& points = State().FPoints;
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
    if (next == points[row].Next) {
        Rebuild(TRebuild::List);
        return;
    }
    std::vector<int32_t> links = LinksOf(points);
    links[static_cast<size_t>(row)] = next;
    PushStep(new TLinksCommand(*this, QStringLiteral("ustawienie punktu docelowego"), LinksOf(points), std::move(links),
                               false));
}

bool TMainForm::actSetNextUpdate()
{
    return actCountWayUpdate() && ListBox1->SelCount() == 1;
}

void TMainForm::actDeletePointsExecute()
{
    const std::vector<char> selected = ListBox1->SelectedRows();
    const auto count = std::count(selected.begin(), selected.end(), 1);
    if (count == 0)
        return;
    const TPointArray& before = State().FPoints;
    TPointArray after = before;
    RemovePoints(after, selected);
    const QString text = count == 1 ? QStringLiteral("usunięcie punktu") : QStringLiteral("usunięcie punktów");
    PushStep(new TPointsCommand(*this, text, before, std::move(after)));
}

bool TMainForm::actDeletePointsUpdate()
{
    return actCountWayUpdate() && ListBox1->SelCount() > 0;
}

void TMainForm::actEditPointExecute()
{
    const int32_t row = FirstSelectedRow();
    const TPointArray& points = State().FPoints;
    if (row < 0 || row >= static_cast<int32_t>(points.size()))
        return;
    const QString caption = QStringLiteral("Zmień współrzędne punktu");
    const TMapPoint& point = points[static_cast<size_t>(row)];
    QString text = QStringLiteral("%1; %2").arg(point.X).arg(point.Y);
    std::optional<TMapPoint> typed;
    // Asked again, with the text as typed, until it reads or the user gives
    // up: a mistyped point must not land at (0; 0).
    while (!typed) {
        const std::optional<QString> answer =
            Dialogs().InputQuery(this, caption, QStringLiteral("Podaj współrzędne punktu %1 (X; Y):").arg(row), text);
        if (!answer || row >= static_cast<int32_t>(points.size()))
            return;
        typed = ParseTypedPoint(answer->toStdString());
        if (!typed) {
            text = *answer;
            Dialogs().ShowErrorBox(this, caption,
                                   QStringLiteral("„%1” to nie są współrzędne punktu.\nPodaj dwie liczby całkowite "
                                                  "rozdzielone średnikiem,\nna przykład „120; 45”.")
                                       .arg(text));
        }
    }
    const TMapPoint& current = points[static_cast<size_t>(row)];
    if (typed->X == current.X && typed->Y == current.Y)
        return;
    PushStep(new TMovePointCommand(*this, QStringLiteral("zmiana współrzędnych punktu"), row, typed->X, typed->Y));
}

bool TMainForm::actEditPointUpdate()
{
    return actCountWayUpdate() && ListBox1->SelCount() == 1;
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
