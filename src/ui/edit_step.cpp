#include "ui/edit_step.h"

#include <QUndoStack>

#include <algorithm>

TEditCommand::TEditCommand(TDocument& document, const QString& text, bool marksChange)
    : QUndoCommand(text), FDocument(document), FMarksChange(marksChange)
{
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
