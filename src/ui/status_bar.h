#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

// A status bar of fixed panels, each a text in a bevelled box. Other
// widgets (the progress bar) can lie over a panel at a fixed place.
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
    QRect PanelRect(int panel) const;

    static constexpr int BarHeight = 21;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<TPanel> FPanels;
    QStringList FTexts;
};
