#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "core/point_set.h"
#include "core/route_kind.h"
#include "ui/document.h"
#include "ui/edit_step.h"

// The kinds of step of the editing history (see edit_step.h).

// A point appended on the map: the point alone.
class TAddPointCommand final : public TEditCommand {
public:
    TAddPointCommand(TDocument& document, const TMapPoint& point);
    void redo() override;
    void undo() override;

private:
    TMapPoint FPoint;
};

// A change of the whole set (random points, removed points): both sets,
// with their places and the kind of route their links hold.
class TPointsCommand final : public TEditCommand {
public:
    TPointsCommand(TDocument& document, const QString& text, TSetPoints before, TSetPoints after);
    void redo() override;
    void undo() override;

private:
    TSetPoints FBefore;
    TSetPoints FAfter;
};

// A change of the successor links only: one link, or all cleared. Links
// past the end of a list keep their value.
class TLinksCommand final : public TEditCommand {
public:
    TLinksCommand(TDocument& document, const QString& text, std::vector<int32_t> before, std::vector<int32_t> after,
                  bool marksChange);
    void redo() override;
    void undo() override;

private:
    std::vector<int32_t> FBefore;
    std::vector<int32_t> FAfter;
};

// A route taken in whole, with the kind of route it is: a search's (the
// links before are those from before the search cleared them), a run's
// chosen on "Porównanie", one read from a file. A point added on the map
// while a search ran (a step of its own, below this one) lies past the end
// of both lists and keeps its link either way.
class TRouteCommand final : public TEditCommand {
public:
    struct TRoute {
        std::vector<int32_t> Links;
        TRouteKind Kind;
    };
    TRouteCommand(TDocument& document, const QString& text, TRoute before, TRoute after, bool marksChange);
    void redo() override;
    void undo() override;

private:
    TRoute FBefore;
    TRoute FAfter;
};

// One point's coordinates, by the dialog or dragged on the map; a set with
// places of its own gets the place back exactly on undo.
class TMovePointCommand final : public TEditCommand {
public:
    TMovePointCommand(TDocument& document, const QString& text, int32_t index, int32_t toX, int32_t toY);
    void redo() override;
    void undo() override;

private:
    int32_t FIndex;
    int32_t FFromX = 0;
    int32_t FFromY = 0;
    std::optional<TPlace> FFromPlace;
    int32_t FToX;
    int32_t FToY;
};
