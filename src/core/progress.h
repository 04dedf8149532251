#pragma once

#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "core/point_set.h"
#include "core/progress_bar.h"

// A search's best route so far, as it is offered to whoever watches: the
// route (valid during the call only), its length as the result line will
// give it, and the time since the search began.
struct TRouteOffer {
    const TSpecimen& Route;
    double Length = 0.0;
    int64_t ElapsedMs = 0;
};

// What long work (the distance matrix, every search method) needs of whoever
// waits for it: a status text, the progress bar, a turn for pending events,
// whether to go on, and, for those who watch, the best route so far. The window, the command-line tool and the tests
// each give one; the work knows nothing else of them.
class TProgress {
public:
    virtual ~TProgress() = default;

    // Text of a status-bar panel, shown at once. Long work uses panel 0.
    virtual void ShowStatus(const std::string& text, int32_t panel) = 0;
    virtual TProgressBar& PrBar() = 0;
    // Gives pending events their turn (the stop command among them).
    virtual void ProcessEvents() = 0;
    // The work goes on while this is true; the stop command clears it. It
    // changes only while events run.
    virtual bool GoOn() const = 0;
    // Separators for numbers in status texts (the user's regional settings).
    virtual TNumberFormat NumberFormat() const { return {}; }

    // Whether the receiver looks at the routes a search offers. Searches
    // ask once; nobody watching costs them nothing.
    virtual bool WatchesRoutes() const { return false; }
    // The best route so far, whenever it has improved since the last offer,
    // at most once per turn for pending events and once more when the
    // search ends. Copy what you keep.
    virtual void OfferRoute(const TRouteOffer& /*offer*/) {}
};
