#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/progress_bar.h"

class QProgressBar;
class TSearchRunner;
class TStatusBar;

// The user's regional separators for numbers.
TNumberFormat WindowNumberFormat();

// Long work's view of the window: the status bar's panels, the progress
// bar, a pass of the event loop, the stop flag (the runner's) and, when
// someone watches, the best route a search offers.
class TWindowProgress : public QObject, public TProgress {
    Q_OBJECT

public:
    TWindowProgress(const TSearchRunner& runner, TStatusBar& statusBar, QProgressBar& barView, QObject* parent);
    ~TWindowProgress() override;

    // Sets a panel's text and repaints the bar at once.
    void ShowStatus(const std::string& text, int32_t panel) override;
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override;
    bool GoOn() const override;
    TNumberFormat NumberFormat() const override { return WindowNumberFormat(); }
    bool WatchesRoutes() const override;
    void OfferRoute(const TRouteOffer& offer) override;

    // Sets a panel's text, shown with the next pass of events.
    void SetPanelText(int32_t panel, const QString& text);
    // Runs before each pass of events while a search runs.
    void SetBeforeEvents(std::function<void()> beforeEvents) { FBeforeEvents = std::move(beforeEvents); }
    // Each view that may want the best route during a search (the map, a
    // chart) says here when it does; searches offer routes while any one
    // wants them, read when a search starts.
    void AddRouteWatcher(std::function<bool()> wantsRoutes) { FRouteWatchers.push_back(std::move(wantsRoutes)); }

signals:
    // A search's best route so far; the route is valid during the call.
    void RouteOffered(const TRouteOffer& offer);

private:
    const TSearchRunner& FRunner;
    TStatusBar& FStatusBar;
    QProgressBar& FBarView;
    TProgressBar FBar;
    std::function<void()> FBeforeEvents;
    std::vector<std::function<bool()>> FRouteWatchers;
};
