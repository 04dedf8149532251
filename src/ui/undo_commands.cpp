#include "ui/undo_commands.h"

#include <QUndoStack>

#include <algorithm>

#include "ui/document.h"

TEditCommand::TEditCommand(TDocument& document, const QString& text, bool marksChange)
    : QUndoCommand(text), FDocument(document), FMarksChange(marksChange)
{
}

TAddPointCommand::TAddPointCommand(TDocument& document, const TMapPoint& point)
    : TEditCommand(document, QStringLiteral("dodanie punktu"), true), FPoint(point)
{
}

void TAddPointCommand::redo()
{
    FDocument.AppendPoint(FPoint);
}

void TAddPointCommand::undo()
{
    FDocument.RemoveLastPoint();
}

TPointsCommand::TPointsCommand(TDocument& document, const QString& text, TPointArray before, TPointArray after)
    : TEditCommand(document, text, true), FBefore(std::move(before)), FAfter(std::move(after))
{
}

void TPointsCommand::redo()
{
    FDocument.ReplacePoints(FAfter);
}

void TPointsCommand::undo()
{
    FDocument.ReplacePoints(FBefore);
}

TLinksCommand::TLinksCommand(TDocument& document, const QString& text, std::vector<int32_t> before,
                             std::vector<int32_t> after, bool marksChange, bool alreadyDone)
    : TEditCommand(document, text, marksChange),
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
    FDocument.SetLinks(FAfter);
}

void TLinksCommand::undo()
{
    FDocument.SetLinks(FBefore);
}

TMovePointCommand::TMovePointCommand(TDocument& document, const QString& text, int32_t index, int32_t toX, int32_t toY)
    : TEditCommand(document, text, true), FIndex(index), FToX(toX), FToY(toY)
{
    const TPointArray& points = document.State().FPoints;
    if (index >= 0 && static_cast<size_t>(index) < points.size()) {
        FFromX = points[static_cast<size_t>(index)].X;
        FFromY = points[static_cast<size_t>(index)].Y;
    }
}

void TMovePointCommand::redo()
{
    FDocument.MovePoint(FIndex, FToX, FToY);
}

void TMovePointCommand::undo()
{
    FDocument.MovePoint(FIndex, FFromX, FFromY);
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
