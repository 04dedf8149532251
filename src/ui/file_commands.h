#pragma once

#include <QObject>

#include <string>

#include "ui/dialogs.h"

class QWidget;
class TCommand;
class TDocument;
class TRouteFiles;
class TWindowProgress;

// "Nowy zbiór", "Otwórz zbiór..." and "Zapisz zbiór...", the question about
// unsaved changes, and what a read found worth saying. The set itself is
// the document's; the route beside it is TRouteFiles'.
class TFileCommands : public QObject {
    Q_OBJECT

public:
    // save is "Zapisz zbiór...", which the question about changes runs.
    TFileCommands(TDocument& document, TWindowProgress& progress, TRouteFiles& routes, TCommand& save, QWidget& parent);

    void actNewArrayExecute();
    void actOpenArrayExecute();
    void actSaveArrayExecute();
    // LoadPointSet and what shows the new set, or the error box.
    void OpenPointSet(const std::string& fileName);
    // The set named on the command line, read before the window shows; its
    // route is offered once the window is on screen.
    void OpenAtStart(const std::string& fileName);
    // The window's first showing: what the read at start-up found worth
    // saying, and the route beside the set.
    void WindowShown();

    // True when the set may go: unchanged, saved, or the user said Nie.
    bool QuerySaveChanges();
    // "Zapisać zmiany?" with Tak, Nie and Anuluj.
    TDialogs::TAnswer AskSaveChanges();

private:
    // A copy an interrupted save left beside the file: its old contents
    // are offered back before the file is read.
    void OfferOldContents(const std::string& fileName);

    TDocument& FDocument;
    TWindowProgress& FProgress;
    TRouteFiles& FRoutes;
    TCommand& FSave;
    QWidget& FParent;
    // What a read found worth saying (rounded coordinates), shown in panel 0
    // once the window is on screen.
    std::string FReadNotice;
    // A set opened before the window was shown, whose route file is offered
    // at the first showing.
    std::string FRouteOfferFor;
};
