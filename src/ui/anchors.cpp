#include "ui/anchors.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

TAnchors::TAnchors(QWidget* parent, QSize designSize) : QObject(parent), FParent(parent), FDesignSize(designSize)
{
    parent->installEventFilter(this);
}

void TAnchors::Place(QWidget* child, QRect geometry, int sides)
{
    FEntries.append({child, geometry, sides});
    Arrange();
}

void TAnchors::Replace(QWidget* child, QRect geometry)
{
    for (TEntry& entry : FEntries)
        if (entry.Child == child)
            entry.Design = geometry;
    Arrange();
}

QRect TAnchors::DesignPlace(QWidget* child) const
{
    for (const TEntry& entry : FEntries)
        if (entry.Child == child)
            return entry.Design;
    return {};
}

bool TAnchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FParent && event->type() == QEvent::Resize)
        Arrange();
    return QObject::eventFilter(watched, event);
}

void TAnchors::Arrange()
{
    const int grownX = FParent->width() - FDesignSize.width();
    const int grownY = FParent->height() - FDesignSize.height();
    for (const TEntry& entry : FEntries) {
        QRect place = entry.Design;
        if (entry.Sides & akRight) {
            if (entry.Sides & akLeft)
                place.setWidth(std::max(0, place.width() + grownX));
            else
                place.moveLeft(place.left() + grownX);
        }
        if (entry.Sides & akBottom) {
            if (entry.Sides & akTop)
                place.setHeight(std::max(0, place.height() + grownY));
            else
                place.moveTop(place.top() + grownY);
        }
        entry.Child->setGeometry(place);
    }
}
