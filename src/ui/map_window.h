#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

#include "raster/bitmap32.h"

class TMainForm;

// Shows a 32-bit drawing surface unscaled from its top-left corner, so view
// and surface coordinates are the same numbers, and reports its size
// changes and every mouse press.
class TImage32 : public QWidget {
    Q_OBJECT

public:
    explicit TImage32(QWidget* parent);

    TBitmap32& Bitmap() { return FBitmap; }
    const TBitmap32& Bitmap() const { return FBitmap; }

    std::function<void()> OnResize;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TBitmap32 FBitmap;
};

// "Mapa": the map window. It owns only the view and its surface; all
// drawing is the main window's, which it tells of size changes and presses.
// Closing it only hides it.
class TMapForm : public QWidget {
    Q_OBJECT

public:
    // Created after the main window, hidden; it registers itself there.
    explicit TMapForm(TMainForm& mainForm);

    void Image321Resize();
    void Image321MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t X, int32_t Y);

    void setVisible(bool visible) override;

    TImage32* Image321;

    static constexpr int DesignLeft = 406;
    static constexpr int DesignTop = 373;
    static constexpr int DesignClientWidth = 495;
    static constexpr int DesignClientHeight = 382;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TMainForm& FMainForm;
    bool FPlaced = false;
};
