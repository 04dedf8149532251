#pragma once

#include <QObject>

#include <optional>
#include <string>

class QWidget;
class TDocument;

// The route beside the set: no point format holds the links, so a route is
// kept in a TSPLIB tour file of the set's name, offered when the set is
// saved and when it is opened; "Wczytaj drogę..." reads a tour or a route
// CSV onto the set.
class TRouteFiles : public QObject {
    Q_OBJECT

public:
    TRouteFiles(TDocument& document, QWidget& parent);

    void actLoadRouteExecute();
    // The route file's links onto the set, one step of the history, or the
    // error box; false then. With askKind a TSPLIB tour is taken as a round
    // trip when the user says so; otherwise a route is open.
    bool LoadRoute(const std::string& fileName, bool askKind = false);
    // Asks whether to load the tour file beside a set just opened, if any.
    void OfferRouteBeside(const std::string& pointFileName);
    // Before a save: the tour file to write the route into, empty for none
    // (no route, or Nie), nothing when the user cancels the save.
    std::optional<std::string> AskRouteBeside(const std::string& pointFileName);
    // After the points were saved: the route into routeFile, or word that
    // links which make no route were left out.
    void SaveRouteBeside(const std::string& routeFile);

private:
    TDocument& FDocument;
    QWidget& FParent;
};

// The error box of a failed read or write: the file's name on a line of its
// own, then why.
void ShowFileError(QWidget* parent, const std::string& fileName, const std::string& caption, const std::string& text);
