#include "ui/undo_commands.h"

#include "ui/document.h"

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
                             std::vector<int32_t> after, bool marksChange)
    : TEditCommand(document, text, marksChange), FBefore(std::move(before)), FAfter(std::move(after))
{
}

void TLinksCommand::redo()
{
    FDocument.SetLinks(FAfter);
}

void TLinksCommand::undo()
{
    FDocument.SetLinks(FBefore);
}

TSearchRouteCommand::TSearchRouteCommand(TDocument& document, TRoute before, TRoute after)
    : TEditCommand(document, QStringLiteral("szukanie drogi"), true),
      FBefore(std::move(before)),
      FAfter(std::move(after))
{
}

void TSearchRouteCommand::redo()
{
    FDocument.SetRoute(FAfter.Links, FAfter.Kind);
}

void TSearchRouteCommand::undo()
{
    FDocument.SetRoute(FBefore.Links, FBefore.Kind);
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
