#pragma once

#include <QListWidget>

class TDocument;

// lbResults, the result list of the tab "Szukanie drogi". Lines stay until a
// search or a measurement replaces them; once the set or its route changes
// (it follows the document) they are kept, greyed, with a tooltip that says
// which of the two they belong to.
class TResultList : public QListWidget {
    Q_OBJECT

public:
    TResultList(const TDocument& document, QWidget* parent);

    enum class TEarlier { Route, Set };
    void AddLine(const QString& line);
    void MarkEarlier(TEarlier what);
    // Whether a line is one of an earlier set or route.
    bool IsEarlier(int row) const;
};
