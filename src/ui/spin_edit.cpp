#include "ui/spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

#include "core/lenient_int.h"

TSpinEdit::TSpinEdit(int32_t minValue, int32_t maxValue, int32_t value, QWidget* parent)
    : QAbstractSpinBox(parent), FMinValue(minValue), FMaxValue(maxValue)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    setKeyboardTracking(true);
    SetValue(value);
}

int32_t TSpinEdit::Value() const
{
    return LenientInt(Text().toStdString(), FMinValue);
}

void TSpinEdit::SetValue(int32_t value)
{
    SetText(QString::number(Clamped(value)));
}

QString TSpinEdit::Text() const
{
    return lineEdit()->text();
}

void TSpinEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

bool TSpinEdit::IsValidChar(QChar character)
{
    if (character.isDigit() && character.unicode() < 128)
        return true;
    if (character == u'+' || character == u'-')
        return true;
    const QString decimalSeparator = QLocale().decimalPoint();
    if (decimalSeparator.size() == 1 && character == decimalSeparator.front())
        return true;
    // Control keys pass, except Enter (Delete arrives as 127 here).
    const char16_t code = character.unicode();
    return (code < 32 || code == 127) && code != u'\r' && code != u'\n';
}

int32_t TSpinEdit::Clamped(int32_t value) const
{
    // Equal bounds mean no range at all.
    if (FMinValue == FMaxValue)
        return value;
    return std::clamp(value, FMinValue, FMaxValue);
}

void TSpinEdit::stepBy(int steps)
{
    const int64_t stepped = static_cast<int64_t>(Value()) + steps;
    SetValue(static_cast<int32_t>(std::clamp<int64_t>(stepped, INT32_MIN, INT32_MAX)));
    lineEdit()->selectAll();
}

QValidator::State TSpinEdit::validate(QString& input, int& pos) const
{
    (void)input;
    (void)pos;
    // Whatever the user typed or pasted stays; the value is read leniently.
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        stepBy(1);
        event->accept();
        return;
    case Qt::Key_Down:
        stepBy(-1);
        event->accept();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        event->ignore();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty()) {
        for (const QChar character : text) {
            if (!IsValidChar(character)) {
                QApplication::beep();
                event->accept();
                return;
            }
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusInEvent(event);
    // Only the user's own move counts: the focus also arrives when the
    // window is activated again or when the focused button is disabled.
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        emit Entered();
        break;
    default:
        break;
    }
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    // A text that is no number reads as the minimum, which is in range, so
    // it is left as typed.
    const int32_t value = Value();
    if (Clamped(value) != value)
        SetValue(value);
}

void TSpinEdit::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}
