#include "ui/picture_size_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The title bar's buttons and margins beside the caption.
constexpr int CaptionRoomPx = 160;

QSpinBox* MakeSide(int value, const char* name, QWidget* parent)
{
    auto* side = new QSpinBox(parent);
    side->setObjectName(QString::fromLatin1(name));
    side->setRange(1, TPictureSizeDialog::MaxSidePx);
    side->setValue(std::clamp(value, 1, TPictureSizeDialog::MaxSidePx));
    side->setSuffix(QStringLiteral(" px"));
    side->setAccelerated(true);
    return side;
}

}  // namespace

TPictureSizeDialog::TPictureSizeDialog(const QSize& proposed, QWidget* parent)
    : QDialog(parent),
      FWidth(MakeSide(proposed.width(), "seWidth", this)),
      FHeight(MakeSide(proposed.height(), "seHeight", this)),
      FKeep(new QCheckBox(QStringLiteral("Zachowaj proporcje"), this)),
      FAspect(proposed.height() > 0 ? static_cast<double>(std::max(proposed.width(), 1)) / proposed.height() : 1.0)
{
    setObjectName(QStringLiteral("PictureSizeDialog"));
    setWindowTitle(QStringLiteral("Rozmiar obrazu"));
    FKeep->setObjectName(QStringLiteral("chkKeepProportions"));
    FKeep->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Szerokość:"), FWidth);
    form->addRow(QStringLiteral("&Wysokość:"), FHeight);
    form->addRow(FKeep);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(form);
    rows->addWidget(buttons);
    // Wide enough for the whole caption beside the window manager's buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + CaptionRoomPx);
    connect(FWidth, &QSpinBox::valueChanged, this, [this] { KeepProportions(true); });
    connect(FHeight, &QSpinBox::valueChanged, this, [this] { KeepProportions(false); });
}

QSize TPictureSizeDialog::Size() const
{
    return {FWidth->value(), FHeight->value()};
}

void TPictureSizeDialog::KeepProportions(bool widthChanged)
{
    if (FFollowing || !FKeep->isChecked())
        return;
    FFollowing = true;
    if (widthChanged)
        FHeight->setValue(static_cast<int>(std::lround(FWidth->value() / FAspect)));
    else
        FWidth->setValue(static_cast<int>(std::lround(FHeight->value() * FAspect)));
    FFollowing = false;
}

std::optional<QSize> AskPictureSize(QWidget* parent, const QSize& proposed)
{
    TPictureSizeDialog dialog(proposed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Size();
}
