#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

#include "raster/bitmap32.h"
#include "raster/map_view_picture.h"

// Shows a 32-bit drawing surface unscaled from its top-left corner, so view
// and surface coordinates are the same numbers, and reports its size
// changes, every mouse press and release, moves while a button is held, the
// wheel and whether Space is held (a hand grabs the map then).
class TImage32 : public QWidget {
    Q_OBJECT

public:
    explicit TImage32(QWidget* parent);

    TBitmap32& Bitmap() { return FBitmap; }
    const TBitmap32& Bitmap() const { return FBitmap; }
    // Marks painted over the surface, not into it: the starts and ends of
    // the route over the pixel picture, which keeps its own pixels.
    void SetOverlay(std::vector<TViewMark> marks);
    const std::vector<TViewMark>& Overlay() const { return FOverlay; }

    std::function<void()> OnResize;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y)> OnMouseDown;
    std::function<void(int32_t x, int32_t y)> OnMouseMove;
    std::function<void(Qt::MouseButton button, int32_t x, int32_t y)> OnMouseUp;
    // Eighths of a degree, positive away from the user.
    std::function<void(int32_t angleDelta, int32_t x, int32_t y)> OnWheel;
    std::function<void(bool held)> OnSpace;
    // The tooltip at a pixel; empty for none.
    std::function<QString(int32_t x, int32_t y)> OnToolTip;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void HoldSpace(bool held);
    // The hand while the map can be grabbed or is being moved.
    void ShowHand();

    TBitmap32 FBitmap;
    std::vector<TViewMark> FOverlay;
    bool FSpaceHeld = false;
    bool FMiddleHeld = false;
};

// frame moved (not resized, unless it is larger) so that it lies whole on
// available: a window is never put where part of it can't be reached.
QRect KeptOnScreen(const QRect& frame, const QRect& available);

// "Mapa": the map window. It owns only the view and its surface; the
// drawing is the map's controller's (TMapController), which learns of size
// changes and presses through the signals. Closing it only hides it.
class TMapForm : public QWidget {
    Q_OBJECT

public:
    // Created after the main window, hidden, as a window of its own that the
    // main window owns.
    explicit TMapForm(QWidget& owner);

    void Image321Resize();
    void Image321MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t X, int32_t Y);
    void Image321MouseMove(int32_t X, int32_t Y);
    void Image321MouseUp(Qt::MouseButton button, int32_t X, int32_t Y);

    // The tooltip at a pixel of the view; empty for none.
    std::function<QString(int32_t x, int32_t y)> ToolTipAt;

    void setVisible(bool visible) override;
    // A window of the main window's: above it, but not above the rest of
    // the desktop, with no minimise button.
    static Qt::WindowFlags WindowFlags();
    // A window beside the main window, not kept above it (while that is
    // maximised).
    static Qt::WindowFlags IndependentFlags();

    TImage32* Image321;

signals:
    // The view's new size in pixels.
    void Resized(int32_t width, int32_t height);
    // A press of any button on the view, in view pixels.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y);
    // The pointer moved while a button was held, in view pixels (outside
    // the view too).
    void MouseMove(int32_t x, int32_t y);
    // A button was released after a press on the view.
    void MouseUp(Qt::MouseButton button, int32_t x, int32_t y);
    // The wheel turned over the view (eighths of a degree).
    void Wheel(int32_t angleDelta, int32_t x, int32_t y);
    // Space went down or up while the view had the focus.
    void SpaceHeld(bool held);

public:
    static constexpr int DesignLeft = 406;
    static constexpr int DesignTop = 373;
    static constexpr int DesignClientWidth = 495;
    static constexpr int DesignClientHeight = 382;
    // Room for a useful picture and the title bar's buttons.
    static constexpr int MinClientWidth = 200;
    static constexpr int MinClientHeight = 150;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Minimising a window kept above the main window takes the main window
    // down too on some desktops (a desktop may offer it whatever the
    // window asks): the map only hides, and the main window stays.
    void changeEvent(QEvent* event) override;

private:
    QWidget& FOwner;
    bool FPlaced = false;
};
