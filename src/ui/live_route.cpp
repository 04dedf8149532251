#include "ui/live_route.h"

#include <QAction>

#include <algorithm>

#include "core/number_text.h"
#include "ui/search_runner.h"
#include "ui/window_progress.h"

namespace {

// The drawing's share of a run stays below one part in this many.
constexpr int64_t RunPerDrawing = 20;

}  // namespace

TLiveRoute::TLiveRoute(TWindowProgress& progress, const TSearchRunner& runner, const QAction& setting, QObject* parent)
    : QObject(parent), FRunner(runner), FSetting(setting)
{
    progress.AddRouteWatcher([this] { return FSetting.isChecked(); });
    connect(&progress, &TWindowProgress::RouteOffered, this, [this](const TRouteOffer& offer) { Offered(offer); });
    // The first offer of a run is drawn at once.
    connect(&runner, &TSearchRunner::SearchingChanged, this, [this](bool searching) {
        if (searching)
            FDrawings = 0;
    });
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { DrawWaiting(); });
    FClock.start();
}

void TLiveRoute::Offered(const TRouteOffer& offer)
{
    if (!FSetting.isChecked() || !FRunner.Searching())
        return;
    if (offer.ElapsedMs == 0)
        FDrawings = 0;
    FWaiting = TWaiting{offer.Route, offer.Length, offer.ElapsedMs};
    if (FTimer.isActive())
        return;
    const int64_t wait = FDrawings == 0 ? 0 : FLastDrawnMs + FPauseMs - FClock.elapsed();
    if (wait <= 0)
        DrawWaiting();
    else
        FTimer.start(static_cast<int>(wait));
}

void TLiveRoute::DrawWaiting()
{
    if (!FWaiting)
        return;
    const TWaiting waiting = std::move(*FWaiting);
    FWaiting.reset();
    if (!FSetting.isChecked() || !FRunner.Searching())
        return;
    const int64_t start = FClock.elapsed();
    emit Due(waiting.Route, LiveRouteNote(waiting.Length, waiting.ElapsedMs));
    FLastDrawnMs = FClock.elapsed();
    FPauseMs = std::max(FMinIntervalMs, (FLastDrawnMs - start) * (RunPerDrawing - 1));
    ++FDrawings;
}

QString LiveRouteNote(double length, int64_t elapsedMs)
{
    const int64_t seconds = elapsedMs / 1000;
    const QString time = seconds < 60
                             ? QStringLiteral("%1 s").arg(seconds)
                             : QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(FormatNumber(length, 2, WindowNumberFormat())), time);
}
