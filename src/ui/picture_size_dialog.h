#pragma once

#include <QDialog>
#include <QSize>

#include <optional>

class QCheckBox;
class QSpinBox;

// "Rozmiar obrazu": the width and height in pixels of a picture about to be
// exported. With "Zachowaj proporcje" checked, changing one side changes
// the other so the picture keeps the proportions of the size proposed.
class TPictureSizeDialog : public QDialog {
    Q_OBJECT

public:
    TPictureSizeDialog(const QSize& proposed, QWidget* parent);

    QSize Size() const;

    // The largest side a picture may have (256 MB of pixels at the most).
    static constexpr int MaxSidePx = 8192;

private:
    // Follows a change of one side with the other.
    void KeepProportions(bool widthChanged);

    QSpinBox* FWidth;
    QSpinBox* FHeight;
    QCheckBox* FKeep;
    double FAspect;
    bool FFollowing = false;
};

// Runs the dialog; empty when the user cancels.
std::optional<QSize> AskPictureSize(QWidget* parent, const QSize& proposed);
