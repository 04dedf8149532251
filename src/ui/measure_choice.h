#pragma once

#include <QObject>
#include <QStringList>

class QComboBox;
class QLabel;
class QWidget;
class TDocument;

// "Miara odległości" on the tab "Szukanie drogi": the measure the set's
// legs are in, shown always, and for a set whose file defines a measure of
// its own (TSPLIB's, or places on the Earth) the choice between that one
// ("z pliku") and "euklidesowa na płaszczyźnie" on the coordinates as
// written. Choosing is not an edit of the set: the document is told and
// every length, table and search follows it.
class TMeasureChoice : public QObject {
    Q_OBJECT

public:
    // The label and the box are made children of page; the caller places
    // them.
    TMeasureChoice(TDocument& document, QWidget& page);

    QLabel* Label() const { return FLabel; }
    QComboBox* Box() const { return FBox; }
    // Every text the box may hold, for its width.
    static QStringList AllItems();

    // The box follows the document's set and measure.
    void Refresh();
    // Greyed while a search runs; only a set with a measure of its own
    // offers a choice at all.
    void SetSearching(bool searching);

private:
    TDocument& FDocument;
    QLabel* FLabel = nullptr;
    QComboBox* FBox = nullptr;
    bool FSearching = false;
};
