#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

// A status bar of fixed panels, each a text in a bevelled box. Other
// widgets (the progress bar) can lie over a panel at a fixed place. A panel
// may also carry a note at its right end, written by someone else than its
// text (the map's note beside the search's time left). A text that does not
// fit ends in "…", and the panel's tooltip shows it whole. The first
// panel's text, where long messages go, gets a row of its own across the
// whole bar instead, above the panels, while it does not fit the panel.
class TStatusBar : public QWidget {
    Q_OBJECT

public:
    struct TPanel {
        int Width;
        bool Raised;
    };

    TStatusBar(std::vector<TPanel> panels, QWidget* parent);

    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    QString PanelText(int panel) const;
    // Sets the text; the caller decides whether to repaint at once.
    void SetPanelText(int panel, const QString& text);
    QString PanelNote(int panel) const;
    // Sets the note and what the panel's tooltip adds to it.
    void SetPanelNote(int panel, const QString& note, const QString& toolTip = {});
    QRect PanelRect(int panel) const;
    // What the panel's tooltip says: whatever of the text and the note is
    // cut, and the note's explanation; empty when there is nothing to add.
    QString PanelToolTip(int panel) const;

    static constexpr int BarHeight = 21;
    // Whether the first panel's text has its own row now.
    bool ShowsMessageRow() const { return FMessageRow; }
    QRect MessageRowRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct TTexts {
        QString Text;
        QString Note;
        QString NoteToolTip;
    };
    // Where the text and the note go inside a panel, and what they show.
    struct TLayout {
        QRect TextBox;
        QRect NoteBox;
        QString ShownText;
        QString ShownNote;
    };
    TLayout LayOut(int panel) const;
    // The row is there while the first panel's text does not fit the
    // panel; the bar and the widgets over its panels move with it.
    void FollowMessageRow();
    int RowOffset() const;

    std::vector<TPanel> FPanels;
    std::vector<TTexts> FTexts;
    bool FMessageRow = false;
};
