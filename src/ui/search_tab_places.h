#pragma once

#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

#include "ui/anchors.h"

// How the tab "Szukanie drogi" makes its labels and puts its controls at
// their design places (search_tab_layout.cpp, search_tab_kind.cpp).

inline QLabel* MakeLabel(const QString& text, QWidget* parent, const char* name = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A control at its design place, with its natural size where the design
// gives none.
inline void PlaceAt(TAnchors& anchors, QWidget* control, int x, int y, int width = -1, int height = -1,
                    int sides = TAnchors::akLeft | TAnchors::akTop)
{
    const QSize natural = control->sizeHint();
    anchors.Place(control, QRect(x, y, width < 0 ? natural.width() : width, height < 0 ? natural.height() : height),
                  sides);
}
