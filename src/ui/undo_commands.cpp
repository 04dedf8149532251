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

TPointsCommand::TPointsCommand(TDocument& document, const QString& text, TSetPoints before, TSetPoints after)
    : TEditCommand(document, text, true), FBefore(std::move(before)), FAfter(std::move(after))
{
}

void TPointsCommand::redo()
{
    FDocument.ReplaceSet(FAfter);
}

void TPointsCommand::undo()
{
    FDocument.ReplaceSet(FBefore);
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

TRouteCommand::TRouteCommand(TDocument& document, const QString& text, TRoute before, TRoute after, bool marksChange)
    : TEditCommand(document, text, marksChange), FBefore(std::move(before)), FAfter(std::move(after))
{
}

void TRouteCommand::redo()
{
    FDocument.SetRoute(FAfter.Links, FAfter.Kind);
}

void TRouteCommand::undo()
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
    const TPlaceArray& places = document.State().FPlaces.Places;
    if (index >= 0 && static_cast<size_t>(index) < places.size())
        FFromPlace = places[static_cast<size_t>(index)];
}

void TMovePointCommand::redo()
{
    FDocument.MovePoint(FIndex, FToX, FToY);
}

void TMovePointCommand::undo()
{
    if (FFromPlace)
        FDocument.MovePoint(FIndex, FFromX, FFromY, *FFromPlace);
    else
        FDocument.MovePoint(FIndex, FFromX, FFromY);
}
