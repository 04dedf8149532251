#include "ui/map_placement.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>

#include "ui/map_window.h"

TMapPlacement::TMapPlacement(QMainWindow& main, QAction& dockMap, QObject* parent)
    : QObject(parent), FMain(main), FDockMap(dockMap)
{
    FMain.installEventFilter(this);
    connect(&dockMap, &QAction::toggled, this, [this](bool docked) {
        if (docked)
            Dock();
        else
            Undock();
    });
}

void TMapPlacement::Attach(TMapForm* map)
{
    FMap = map;
    if (FDockMap.isChecked())
        Dock();
}

void TMapPlacement::ShowMap()
{
    if (!FMap)
        return;
    if (Docked()) {
        FDock->show();
        FMap->show();
        FDock->raise();
        return;
    }
    FMap->show();
    FMap->raise();
    FollowMainWindowState();
}

void TMapPlacement::Dock()
{
    if (!FMap || FDocked)
        return;
    FDocked = true;
    const bool shown = FMap->isVisible();
    // Its frame's place and its own size, as move() and resize() take them.
    if (FMap->isWindow() && shown)
        FFloating = QRect(FMap->pos(), FMap->size());
    if (!FDock) {
        FDock = new QDockWidget(QStringLiteral("Mapa"), &FMain);
        FDock->setObjectName(QStringLiteral("MapDock"));
        // Docked or not is the command's business, not a title-bar button's.
        FDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        FDock->setAllowedAreas(Qt::RightDockWidgetArea);
    }
    FMap->hide();
    FMap->setParent(FDock, Qt::Widget);
    FDock->setWidget(FMap);
    // The window widens by the map where the screen has room.
    const int before = FMain.width();
    FMain.addDockWidget(Qt::RightDockWidgetArea, FDock);
    FDock->show();
    FMap->show();
    if (!FMain.isMaximized() && !FMain.isFullScreen()) {
        const QRect available = FMain.screen() ? FMain.screen()->availableGeometry() : QRect();
        const int wanted = before + TMapForm::DesignClientWidth;
        const int width = available.isValid() ? std::min(wanted, available.width() - 16) : wanted;
        FMain.resize(std::max(FMain.width(), width), FMain.height());
        if (available.isValid())
            FMain.move(KeptOnScreen(FMain.frameGeometry(), available).topLeft());
    }
    FMain.resizeDocks({FDock}, {TMapForm::DesignClientWidth}, Qt::Horizontal);
}

void TMapPlacement::Undock()
{
    if (!FMap || !FDocked)
        return;
    FDocked = false;
    const bool shown = FDock && FDock->isVisible();
    if (FDock) {
        FDock->setWidget(nullptr);
        FMain.removeDockWidget(FDock);
        FDock->hide();
    }
    FMap->setParent(&FMain, TMapForm::WindowFlags());
    FMap->resize(FFloating.isValid() ? FFloating.size()
                                     : QSize(TMapForm::DesignClientWidth, TMapForm::DesignClientHeight));
    if (FFloating.isValid())
        FMap->move(FFloating.topLeft());
    if (shown)
        ShowMap();
}

bool TMapPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &FMain && (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Show))
        FollowMainWindowState();
    return QObject::eventFilter(watched, event);
}

void TMapPlacement::FollowMainWindowState()
{
    if (!FMap || Docked() || !FMap->isWindow())
        return;
    // A window kept above another is so for good once it is shown (X11
    // reads it when the window comes up): the map becomes a window of its
    // own kind and is shown again.
    const bool mainFills = FMain.isMaximized() || FMain.isFullScreen();
    const Qt::WindowFlags wanted = mainFills ? TMapForm::IndependentFlags() : TMapForm::WindowFlags();
    if (FMap->windowFlags() == wanted)
        return;
    const bool shown = FMap->isVisible();
    const QPoint place = FMap->pos();
    FMap->setWindowFlags(wanted);
    FMap->move(place);
    if (shown)
        FMap->show();
}
