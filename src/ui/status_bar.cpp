#include "ui/status_bar.h"

#include <qdrawutil.h>
#include <QPainter>

#include <algorithm>

namespace {

// Panels stand 2 pixels apart and 2 below the bar's top edge.
constexpr int PanelGap = 2;
constexpr int PanelTop = 2;

}  // namespace

TStatusBar::TStatusBar(std::vector<TPanel> panels, QWidget* parent) : QWidget(parent), FPanels(std::move(panels))
{
    for (size_t i = 0; i < FPanels.size(); ++i)
        FTexts.append(QString());
    setFixedHeight(BarHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString TStatusBar::PanelText(int panel) const
{
    return panel >= 0 && panel < FTexts.size() ? FTexts[panel] : QString();
}

void TStatusBar::SetPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= FTexts.size() || FTexts[panel] == text)
        return;
    FTexts[panel] = text;
    update(PanelRect(panel));
}

QRect TStatusBar::PanelRect(int panel) const
{
    int x = 0;
    for (int i = 0; i < panel; ++i)
        x += FPanels[static_cast<size_t>(i)].Width + PanelGap;
    int width = FPanels[static_cast<size_t>(panel)].Width;
    // The last panel reaches the bar's right end, as on a desktop's status
    // bar, so a longer text there (the time left of a search) fits.
    if (panel == PanelCount() - 1)
        width = std::max(width, this->width() - x);
    return {x, PanelTop, width, BarHeight - PanelTop};
}

QSize TStatusBar::sizeHint() const
{
    int x = 0;
    for (const TPanel& panel : FPanels)
        x += panel.Width + PanelGap;
    return {x - PanelGap, BarHeight};
}

void TStatusBar::paintEvent(QPaintEvent* event)
{
    (void)event;
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect box = PanelRect(i);
        qDrawShadePanel(&painter, box, palette(), !FPanels[static_cast<size_t>(i)].Raised, 1);
        const QRect inner = box.adjusted(3, 1, -2, -1);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FTexts[i]);
    }
}
