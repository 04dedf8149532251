#include "ui/map_window.h"

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

#include "picture/map_view_paint.h"

TImage32::TImage32(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image321"));
    // The picture covers what it can and paintEvent the rest.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Space held grabs the map, so the view takes the keys.
    setFocusPolicy(Qt::StrongFocus);
    FBitmap.OnChange = [this] { update(); };
    FBitmap.OnResize = [this] { update(); };
}

void TImage32::paintEvent(QPaintEvent* event)
{
    (void)event;
    QPainter painter(this);
    const int32_t width = FBitmap.Width();
    const int32_t height = FBitmap.Height();
    QRegion uncovered(rect());
    if (!FBitmap.Empty()) {
        // The surface's own pixels, shown in place: RGB32 reads 0xAARRGGBB
        // and leaves the alpha byte out of the picture.
        const QImage picture(reinterpret_cast<const uchar*>(FBitmap.Bits()), width, height,
                             static_cast<qsizetype>(width) * 4, QImage::Format_RGB32);
        painter.drawImage(0, 0, picture);
        uncovered -= QRegion(0, 0, width, height);
    }
    for (const QRect& part : uncovered)
        painter.fillRect(part, palette().window());
    if (!FOverlay.empty()) {
        painter.setClipRect(QRect(0, 0, width, height));
        PaintRouteEnds(painter, FOverlay);
    }
}

void TImage32::SetOverlay(std::vector<TViewMark> marks)
{
    if (marks.empty() && FOverlay.empty())
        return;
    FOverlay = std::move(marks);
    update();
}

void TImage32::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize();
}

void TImage32::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        FMiddleHeld = true;
        ShowHand();
    }
    const QPoint at = event->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    event->accept();
}

// The second press of a double click is a press like the first.
void TImage32::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TImage32::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(at.x(), at.y());
    event->accept();
}

void TImage32::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        FMiddleHeld = false;
        ShowHand();
    }
    const QPoint at = event->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(event->button(), at.x(), at.y());
    event->accept();
}

void TImage32::wheelEvent(QWheelEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnWheel && event->angleDelta().y() != 0)
        OnWheel(event->angleDelta().y(), at.x(), at.y());
    event->accept();
}

void TImage32::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        HoldSpace(true);
    event->accept();
}

void TImage32::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        HoldSpace(false);
    event->accept();
}

// A release that goes to another window must not leave the hand grabbing.
void TImage32::focusOutEvent(QFocusEvent* event)
{
    HoldSpace(false);
    QWidget::focusOutEvent(event);
}

bool TImage32::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = OnToolTip ? OnToolTip(help->pos().x(), help->pos().y()) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void TImage32::HoldSpace(bool held)
{
    if (held == FSpaceHeld)
        return;
    FSpaceHeld = held;
    ShowHand();
    if (OnSpace)
        OnSpace(held);
}

void TImage32::ShowHand()
{
    if (FMiddleHeld)
        setCursor(Qt::ClosedHandCursor);
    else if (FSpaceHeld)
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

QRect KeptOnScreen(const QRect& frame, const QRect& available)
{
    QRect kept = frame;
    kept.moveRight(std::min(kept.right(), available.right()));
    kept.moveBottom(std::min(kept.bottom(), available.bottom()));
    kept.moveLeft(std::max(kept.left(), available.left()));
    kept.moveTop(std::max(kept.top(), available.top()));
    return kept;
}

Qt::WindowFlags TMapForm::WindowFlags()
{
    // A tool window of the main window, so the main window's own dialogs
    // come up above it; minimising it would take the main window down too.
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
           Qt::WindowCloseButtonHint;
}

Qt::WindowFlags TMapForm::IndependentFlags()
{
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
           Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
}

TMapForm::TMapForm(QWidget& owner) : QWidget(&owner, WindowFlags()), Image321(new TImage32(this)), FOwner(owner)
{
    setObjectName(QStringLiteral("MapForm"));
    setWindowTitle(QStringLiteral("Mapa"));
    setMinimumSize(MinClientWidth, MinClientHeight);
    resize(DesignClientWidth, DesignClientHeight);
    Image321->setGeometry(rect());
    Image321->OnResize = [this] { Image321Resize(); };
    Image321->OnMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y) {
        Image321MouseDown(button, shift, x, y);
    };
    Image321->OnMouseMove = [this](int32_t x, int32_t y) { Image321MouseMove(x, y); };
    Image321->OnMouseUp = [this](Qt::MouseButton button, int32_t x, int32_t y) { Image321MouseUp(button, x, y); };
    Image321->OnWheel = [this](int32_t angleDelta, int32_t x, int32_t y) { emit Wheel(angleDelta, x, y); };
    Image321->OnSpace = [this](bool held) { emit SpaceHeld(held); };
    Image321->OnToolTip = [this](int32_t x, int32_t y) { return ToolTipAt ? ToolTipAt(x, y) : QString(); };
}

void TMapForm::Image321Resize()
{
    emit Resized(Image321->width(), Image321->height());
}

void TMapForm::Image321MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t X, int32_t Y)
{
    emit MouseDown(button, shift, X, Y);
}

void TMapForm::Image321MouseMove(int32_t X, int32_t Y)
{
    emit MouseMove(X, Y);
}

void TMapForm::Image321MouseUp(Qt::MouseButton button, int32_t X, int32_t Y)
{
    emit MouseUp(button, X, Y);
}

void TMapForm::setVisible(bool visible)
{
    const QScreen* screen = FOwner.screen();
    if (visible && isWindow() && !isVisible() && screen) {
        // The design place counts from the corner of the main window's
        // screen; wherever it is, the window comes up whole on the screen,
        // its frame as large as the main window's.
        if (!FPlaced)
            move(screen->geometry().topLeft() + QPoint(DesignLeft, DesignTop));
        FPlaced = true;
        const QRect owner = FOwner.geometry();
        const QRect ownerFrame = FOwner.isVisible() ? FOwner.frameGeometry() : owner;
        const QMargins frame(owner.left() - ownerFrame.left(), owner.top() - ownerFrame.top(),
                             ownerFrame.right() - owner.right(), ownerFrame.bottom() - owner.bottom());
        const QRect wanted(pos(), size().grownBy(frame));
        move(KeptOnScreen(wanted, screen->availableGeometry()).topLeft());
    }
    QWidget::setVisible(visible);
}

void TMapForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isWindow() || windowType() != Qt::Tool || !isMinimized())
        return;
    QTimer::singleShot(0, this, [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        hide();
        if (FOwner.isMinimized())
            FOwner.setWindowState(FOwner.windowState() & ~Qt::WindowMinimized);
        FOwner.show();
        FOwner.activateWindow();
    });
}

void TMapForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Image321->setGeometry(rect());
}
