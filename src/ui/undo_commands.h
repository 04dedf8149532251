#pragma once

#include <QString>
#include <QUndoCommand>

#include <cstdint>
#include <vector>

#include "core/point_set.h"

class QUndoStack;
class TDocument;

// The steps of the editing history. Each kind keeps what it needs to give
// back the set exactly and makes its change, on undo and redo, through the
// document, which announces it with the same reach as the change itself: an
// added point its own row and column, coordinates everything, links the
// list. The result list is never touched.
//
// Memory: the largest step keeps two whole sets, at most 2 x 10 000 points
// of 12 bytes; the window keeps the last HistoryLimitSteps steps, so the
// history stays under 25 MB, a few per cent of the distance matrix of such
// a set.
inline constexpr int HistoryLimitSteps = 100;

class TEditCommand : public QUndoCommand {
public:
    // text names the step after "Cofnij: " and "Ponów: ".
    TEditCommand(TDocument& document, const QString& text, bool marksChange);

    // Whether the step counts as a change of the set: one successor set
    // by hand does not, as it never marked the set changed.
    bool MarksChange() const { return FMarksChange; }

protected:
    TDocument& FDocument;

private:
    bool FMarksChange;
};

// A point appended on the map: the point alone.
class TAddPointCommand final : public TEditCommand {
public:
    TAddPointCommand(TDocument& document, const TMapPoint& point);
    void redo() override;
    void undo() override;

private:
    TMapPoint FPoint;
};

// A change of the whole set (random points, removed points): both sets.
class TPointsCommand final : public TEditCommand {
public:
    TPointsCommand(TDocument& document, const QString& text, TPointArray before, TPointArray after);
    void redo() override;
    void undo() override;

private:
    TPointArray FBefore;
    TPointArray FAfter;
};

// A change of the successor links only: one link, all cleared, a search's
// route. Links past the end of a list keep their value, so a point added on
// the map while a search ran (a step of its own, below this one) keeps its
// link when the search's step is taken back.
class TLinksCommand final : public TEditCommand {
public:
    // alreadyDone: the change has been made (a finished search), so the
    // first redo, which the stack calls on push, has nothing to do.
    TLinksCommand(TDocument& document, const QString& text, std::vector<int32_t> before, std::vector<int32_t> after,
                  bool marksChange, bool alreadyDone = false);
    void redo() override;
    void undo() override;

private:
    std::vector<int32_t> FBefore;
    std::vector<int32_t> FAfter;
    bool FSkipRedo;
};

// One point's coordinates, by the dialog or dragged on the map.
class TMovePointCommand final : public TEditCommand {
public:
    TMovePointCommand(TDocument& document, const QString& text, int32_t index, int32_t toX, int32_t toY);
    void redo() override;
    void undo() override;

private:
    int32_t FIndex;
    int32_t FFromX = 0;
    int32_t FFromY = 0;
    int32_t FToX;
    int32_t FToY;
};

std::vector<int32_t> LinksOf(const TPointArray& points);
void ApplyLinks(TPointArray& points, const std::vector<int32_t>& links);

// Whether the steps between the state of the last load or save and the
// current one change the set. A saved state the history no longer reaches
// (dropped off the bottom, or on a branch a new step replaced) counts as
// changed.
bool HistoryChangesSet(const QUndoStack& history);
