#include "ui/undo_commands.h"

#include <QUndoStack>

#include <algorithm>

#include "ui/main_form.h"

TEditCommand::TEditCommand(TMainForm& form, const QString& text, bool marksChange)
    : QUndoCommand(text), FForm(form), FMarksChange(marksChange)
{
}

TAddPointCommand::TAddPointCommand(TMainForm& form, const TMapPoint& point)
    : TEditCommand(form, QStringLiteral("dodanie punktu"), true), FPoint(point)
{
}

void TAddPointCommand::redo()
{
    TPointArray& points = FForm.State().FPoints;
    const auto firstNew = static_cast<int32_t>(points.size());
    points.push_back(FPoint);
    FForm.Rebuild(TMainForm::TRebuild::Everything, firstNew);
}

void TAddPointCommand::undo()
{
    TPointArray& points = FForm.State().FPoints;
    if (!points.empty())
        points.pop_back();
    // The matrix only shrinks: no cell is computed again.
    FForm.Rebuild(TMainForm::TRebuild::Everything, static_cast<int32_t>(points.size()));
}

TPointsCommand::TPointsCommand(TMainForm& form, const QString& text, TPointArray before, TPointArray after)
    : TEditCommand(form, text, true), FBefore(std::move(before)), FAfter(std::move(after))
{
}

void TPointsCommand::redo()
{
    Show(FAfter);
}

void TPointsCommand::undo()
{
    Show(FBefore);
}

void TPointsCommand::Show(const TPointArray& points)
{
    FForm.State().FPoints = points;
    FForm.Rebuild(TMainForm::TRebuild::Everything);
}

TLinksCommand::TLinksCommand(TMainForm& form, const QString& text, std::vector<int32_t> before,
                             std::vector<int32_t> after, bool marksChange, bool alreadyDone)
    : TEditCommand(form, text, marksChange),
      FBefore(std::move(before)),
      FAfter(std::move(after)),
      FSkipRedo(alreadyDone)
{
}

void TLinksCommand::redo()
{
    if (FSkipRedo) {
        FSkipRedo = false;
        return;
    }
    Show(FAfter);
}

void TLinksCommand::undo()
{
    Show(FBefore);
}

void TLinksCommand::Show(const std::vector<int32_t>& links)
{
    ApplyLinks(FForm.State().FPoints, links);
    FForm.Rebuild(TMainForm::TRebuild::List);
}

TMovePointCommand::TMovePointCommand(TMainForm& form, const QString& text, int32_t index, int32_t toX, int32_t toY)
    : TEditCommand(form, text, true), FIndex(index), FToX(toX), FToY(toY)
{
    const TPointArray& points = form.State().FPoints;
    if (index >= 0 && static_cast<size_t>(index) < points.size()) {
        FFromX = points[static_cast<size_t>(index)].X;
        FFromY = points[static_cast<size_t>(index)].Y;
    }
}

void TMovePointCommand::redo()
{
    Place(FToX, FToY);
}

void TMovePointCommand::undo()
{
    Place(FFromX, FFromY);
}

void TMovePointCommand::Place(int32_t x, int32_t y)
{
    TPointArray& points = FForm.State().FPoints;
    if (FIndex >= 0 && static_cast<size_t>(FIndex) < points.size()) {
        points[static_cast<size_t>(FIndex)].X = x;
        points[static_cast<size_t>(FIndex)].Y = y;
    }
    FForm.Rebuild(TMainForm::TRebuild::Everything);
}

std::vector<int32_t> LinksOf(const TPointArray& points)
{
    std::vector<int32_t> links(points.size());
    std::transform(points.begin(), points.end(), links.begin(), [](const TMapPoint& point) { return point.Next; });
    return links;
}

void ApplyLinks(TPointArray& points, const std::vector<int32_t>& links)
{
    const size_t count = std::min(points.size(), links.size());
    for (size_t i = 0; i < count; ++i)
        points[i].Next = links[i];
}

bool HistoryChangesSet(const QUndoStack& history)
{
    const int clean = history.cleanIndex();
    if (clean < 0)
        return true;
    const int index = history.index();
    for (int i = std::min(clean, index); i < std::max(clean, index); ++i) {
        const auto* step = dynamic_cast<const TEditCommand*>(history.command(i));
        if (!step || step->MarksChange())
            return true;
    }
    return false;
}
