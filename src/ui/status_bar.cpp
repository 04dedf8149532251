#include "ui/status_bar.h"

#include <qdrawutil.h>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

// Panels stand 2 pixels apart and 2 below the bar's top edge.
constexpr int PanelGap = 2;
constexpr int PanelTop = 2;
// Between a panel's text and its note.
constexpr int NoteGap = 6;
// The first panel's own row, when its text needs one.
constexpr int MessageRowPx = 16;

}  // namespace

TStatusBar::TStatusBar(std::vector<TPanel> panels, QWidget* parent)
    : QWidget(parent), FPanels(std::move(panels)), FTexts(FPanels.size())
{
    setFixedHeight(BarHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString TStatusBar::PanelText(int panel) const
{
    return panel >= 0 && panel < PanelCount() ? FTexts[static_cast<size_t>(panel)].Text : QString();
}

void TStatusBar::SetPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= PanelCount() || FTexts[static_cast<size_t>(panel)].Text == text)
        return;
    FTexts[static_cast<size_t>(panel)].Text = text;
    update(PanelRect(panel));
    if (panel == 0) {
        update(MessageRowRect());
        FollowMessageRow();
    }
}

int TStatusBar::RowOffset() const
{
    return FMessageRow ? MessageRowPx : 0;
}

QRect TStatusBar::MessageRowRect() const
{
    return FMessageRow ? QRect(0, 0, width(), MessageRowPx) : QRect();
}

void TStatusBar::FollowMessageRow()
{
    const QString& text = FTexts[0].Text;
    const TLayout layout = LayOut(0);
    const bool wanted = !text.isEmpty() && layout.ShownText != text;
    if (wanted == FMessageRow)
        return;
    FMessageRow = wanted;
    const int shift = wanted ? MessageRowPx : -MessageRowPx;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->move(child->x(), child->y() + shift);
    setFixedHeight(BarHeight + RowOffset());
    update();
}

QString TStatusBar::PanelNote(int panel) const
{
    return panel >= 0 && panel < PanelCount() ? FTexts[static_cast<size_t>(panel)].Note : QString();
}

void TStatusBar::SetPanelNote(int panel, const QString& note, const QString& toolTip)
{
    if (panel < 0 || panel >= PanelCount())
        return;
    TTexts& texts = FTexts[static_cast<size_t>(panel)];
    texts.NoteToolTip = toolTip;
    if (texts.Note == note)
        return;
    texts.Note = note;
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
    return {x, PanelTop + RowOffset(), width, BarHeight - PanelTop};
}

TStatusBar::TLayout TStatusBar::LayOut(int panel) const
{
    const TTexts& texts = FTexts[static_cast<size_t>(panel)];
    const QRect inner = PanelRect(panel).adjusted(3, 1, -2, -1);
    const QFontMetrics metrics = fontMetrics();
    TLayout layout;
    // The note keeps its room first: it is the newer word.
    // A pixel more than the rounded advance, or the note would lose its end.
    const int noteWidth = texts.Note.isEmpty() ? 0 : std::min(metrics.horizontalAdvance(texts.Note) + 1, inner.width());
    layout.NoteBox = QRect(inner.right() + 1 - noteWidth, inner.top(), noteWidth, inner.height());
    layout.ShownNote = metrics.elidedText(texts.Note, Qt::ElideRight, noteWidth);
    const int textRight = noteWidth > 0 ? layout.NoteBox.left() - NoteGap : inner.right() + 1;
    layout.TextBox = QRect(inner.left(), inner.top(), std::max(textRight - inner.left(), 0), inner.height());
    layout.ShownText = metrics.elidedText(texts.Text, Qt::ElideRight, layout.TextBox.width());
    return layout;
}

QString TStatusBar::PanelToolTip(int panel) const
{
    if (panel < 0 || panel >= PanelCount())
        return {};
    const TTexts& texts = FTexts[static_cast<size_t>(panel)];
    const TLayout layout = LayOut(panel);
    QStringList parts;
    if (layout.ShownText != texts.Text)
        parts << texts.Text;
    if (layout.ShownNote != texts.Note || !texts.NoteToolTip.isEmpty())
        parts << (texts.NoteToolTip.isEmpty() ? texts.Note : texts.NoteToolTip);
    return parts.join(u'\n');
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
    painter.setPen(palette().color(QPalette::WindowText));
    if (FMessageRow) {
        const QRect row = MessageRowRect().adjusted(4, 1, -4, 0);
        painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         fontMetrics().elidedText(FTexts[0].Text, Qt::ElideRight, row.width()));
    }
    for (int i = 0; i < PanelCount(); ++i) {
        qDrawShadePanel(&painter, PanelRect(i), palette(), !FPanels[static_cast<size_t>(i)].Raised, 1);
        painter.setPen(palette().color(QPalette::WindowText));
        const TLayout layout = LayOut(i);
        // The row above shows the first panel's text whole.
        if (i > 0 || !FMessageRow)
            painter.drawText(layout.TextBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, layout.ShownText);
        if (!layout.ShownNote.isEmpty())
            painter.drawText(layout.NoteBox, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, layout.ShownNote);
    }
}

bool TStatusBar::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    for (int i = 0; i < PanelCount(); ++i) {
        if (!PanelRect(i).contains(help->pos()))
            continue;
        const QString tip = PanelToolTip(i);
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this, PanelRect(i));
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
