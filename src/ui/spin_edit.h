#pragma once

#include <QAbstractSpinBox>

#include <cstdint>

// A one-line edit with up and down buttons whose text belongs to the user:
// typed characters are limited to digits, signs and the decimal separator,
// but nothing else is corrected while typing. The value is read from the
// text each time and brought into range only when the focus leaves.
class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    TSpinEdit(int32_t minValue, int32_t maxValue, int32_t value, QWidget* parent = nullptr);

    int32_t MinValue() const { return FMinValue; }
    int32_t MaxValue() const { return FMaxValue; }
    // The text as a whole number, or the minimum when it is none; not
    // limited to the range.
    int32_t Value() const;
    // Writes the value, brought into range, as the text.
    void SetValue(int32_t value);

    QString Text() const;
    void SetText(const QString& text);

    // Whether a typed character is let through.
    static bool IsValidChar(QChar character);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    // The user put the focus here: a click, Tab or a shortcut.
    void Entered();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int32_t Clamped(int32_t value) const;

    int32_t FMinValue;
    int32_t FMaxValue;
};
