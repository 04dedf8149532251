#include "ui/window_progress.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProgressBar>

#include "ui/search_runner.h"
#include "ui/status_bar.h"

TNumberFormat WindowNumberFormat()
{
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

TWindowProgress::TWindowProgress(const TSearchRunner& runner, TStatusBar& statusBar, QProgressBar& barView,
                                 QObject* parent)
    : QObject(parent), FRunner(runner), FStatusBar(statusBar), FBarView(barView)
{
    // One repaint per pixel of fill at most.
    FBar.SetResolution(FBarView.width());
    FBar.OnChange = [this](const TProgressBar& bar) {
        // An empty range would make the widget show a busy animation.
        if (bar.Max() > bar.Min()) {
            FBarView.setRange(bar.Min(), bar.Max());
            FBarView.setValue(bar.Position());
        } else {
            FBarView.setRange(0, 1);
            FBarView.setValue(0);
        }
        FBarView.repaint();
    };
}

TWindowProgress::~TWindowProgress()
{
    // The bar's picture is a child of the window, which may go first.
    FBar.OnChange = nullptr;
}

void TWindowProgress::ShowStatus(const std::string& text, int32_t panel)
{
    FStatusBar.SetPanelText(panel, QString::fromStdString(text));
    FStatusBar.repaint();
}

void TWindowProgress::SetPanelText(int32_t panel, const QString& text)
{
    FStatusBar.SetPanelText(panel, text);
}

void TWindowProgress::ProcessEvents()
{
    if (FRunner.Searching() && FBeforeEvents)
        FBeforeEvents();
    QCoreApplication::processEvents();
}

bool TWindowProgress::GoOn() const
{
    return FRunner.Searching();
}

bool TWindowProgress::WatchesRoutes() const
{
    for (const std::function<bool()>& wantsRoutes : FRouteWatchers)
        if (wantsRoutes())
            return true;
    return false;
}

void TWindowProgress::OfferRoute(const TRouteOffer& offer)
{
    emit RouteOffered(offer);
}
