#pragma once

#include <QString>
#include <QUndoCommand>

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

// Whether the steps between the state of the last load or save and the
// current one change the set. A saved state the history no longer reaches
// (dropped off the bottom, or on a branch a new step replaced) counts as
// changed.
bool HistoryChangesSet(const QUndoStack& history);
