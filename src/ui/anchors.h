#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps child widgets at fixed distances from the sides of their parent
// they are anchored to, as laid out for a parent of the design size. A side
// that is anchored on both ends makes the child grow with its parent.
class TAnchors : public QObject {
    Q_OBJECT

public:
    enum TSide { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

    TAnchors(QWidget* parent, QSize designSize);

    // geometry is the child's place in a parent of the design size.
    void Place(QWidget* child, QRect geometry, int sides = akLeft | akTop);
    // A child's design place changes (a label grown to its text, controls
    // moved to suit the font).
    void Replace(QWidget* child, QRect geometry);
    QRect DesignPlace(QWidget* child) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TEntry {
        QWidget* Child;
        QRect Design;
        int Sides;
    };

    void Arrange();

    QWidget* FParent;
    QSize FDesignSize;
    QList<TEntry> FEntries;
};
