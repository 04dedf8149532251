#pragma once

#include <QObject>
#include <QRect>

class QAction;
class QDockWidget;
class QMainWindow;
class TMapForm;

// Where the map lives: a window of its own beside the main window, or a
// pane of the main window while "Mapa w oknie głównym" is checked. A window
// of its own comes up whole on its screen, stays above the main window but
// not above a maximised one, and has no minimise button (minimising a
// window kept above another takes both down on some desktops).
class TMapPlacement : public QObject {
    Q_OBJECT

public:
    // dockMap: the checkable command that docks the map.
    TMapPlacement(QMainWindow& main, QAction& dockMap, QObject* parent);

    void Attach(TMapForm* map);
    bool Docked() const { return FDock != nullptr && FDocked; }
    // Shows the map where it lives now and brings it forward.
    void ShowMap();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Dock();
    void Undock();
    // A floating map is kept above the main window unless that is
    // maximised: then the main window may come over it.
    void FollowMainWindowState();

    QMainWindow& FMain;
    QAction& FDockMap;
    TMapForm* FMap = nullptr;
    QDockWidget* FDock = nullptr;
    bool FDocked = false;
    // Where the map window was before it was docked.
    QRect FFloating;
};
