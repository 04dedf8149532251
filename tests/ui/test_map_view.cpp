// The map as a view: zoom about the pointer, moving it, the whole set when
// it opens, presses that find their points at any scale, and the route of a
// running search.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string_view>

#include "raster/map_render.h"
#include "raster/map_shapes.h"
#include "raster/map_view.h"
#include "raster/map_view_picture.h"
#include "scripted_dialogs.h"
#include "search/pace/step_pacer.h"
#include "support/scripted_host.h"
#include "ui/live_route.h"
#include "ui/map_controller.h"
#include "ui/spin_edit.h"
#include "ui/status_bar.h"
#include "window_fixture.h"

namespace {

// Sees every event of one object while it lives.
class TEventWatch : public QObject {
public:
    TEventWatch(QObject& watched, std::function<void(QEvent*)> seen) : FSeen(std::move(seen))
    {
        watched.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        FSeen(event);
        return false;
    }

private:
    std::function<void(QEvent*)> FSeen;
};

class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeWindows();
        Form->show();
        Command(*Form, "actShowWay")->Execute();
    }

    void ShowPoints(const TPointArray& points) { Form->Document().ReplacePoints(points); }

    void Open(const QByteArray& lines)
    {
        const QString path = Folder.filePath(QStringLiteral("set.tvu"));
        WriteTextFile(path, lines);
        ScriptedDialogs.OpenNames = {path};
        ASSERT_TRUE(Command(*Form, "actOpenArray")->Execute());
    }

    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at)
    {
        QMouseEvent event(type, at, View().mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&View(), &event);
    }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        Send(QEvent::MouseButtonPress, button, button, from);
        Send(QEvent::MouseMove, Qt::NoButton, button, (from + to) / 2);
        Send(QEvent::MouseMove, Qt::NoButton, button, to);
        Send(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
    }

    void Wheel(int angleDelta, QPoint at)
    {
        QWheelEvent event(at, View().mapToGlobal(at), QPoint(), QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&View(), &event);
    }

    TImage32& View() const { return *Form->MapForm()->Image321; }
    TMapController& Map() const { return Form->Map(); }
    TStatusBar& StatusBar() const { return *Part<TStatusBar>(*Form, "StatusBar1"); }
    QString Note() const { return StatusBar().PanelNote(StatusBar().PanelCount() - 1); }
    std::string_view Picture() const
    {
        const TBitmap32& surface = View().Bitmap();
        return {reinterpret_cast<const char*>(surface.Bits()),
                static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()) * 4};
    }
    // The pixel picture of the set, as the map drew it before it had a view.
    std::string PixelPicture() const
    {
        TBitmap32 surface;
        RenderMap(surface, View().width(), View().height(), Form->State().FPoints, {});
        return {reinterpret_cast<const char*>(surface.Bits()),
                static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()) * 4};
    }

    QTemporaryDir Folder;
    TScriptedDialogs ScriptedDialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MapViewTest, ZoomKeepsThePointUnderThePointerAndComesBackToThePixelPicture)
{
    ShowPoints({{100, 100, 1}, {300, 200, 2}, {40, 350, -1}});
    const QPoint middle(View().width() / 2, View().height() / 2);
    const struct {
        const char* Name;
        std::function<void()> Zoom;
        QPoint Held;
        double Scale;
    } rows[] = {
        {"wheel up", [&] { Wheel(120, QPoint(150, 120)); }, QPoint(150, 120), ViewZoomStep},
        {"Ctrl+plus", [&] { Command(*Form, "actZoomIn")->Execute(); }, middle, ViewZoomStep * ViewZoomStep},
        {"wheel down twice", [&] { Wheel(-240, QPoint(10, 300)); }, QPoint(10, 300), ViewZoomStep / ViewZoomStep},
        {"Ctrl+minus", [&] { Command(*Form, "actZoomOut")->Execute(); }, middle, 1 / ViewZoomStep},
    };
    for (const auto& row : rows) {
        const QPoint before = Map().PointAtMapPixel(row.Held.x(), row.Held.y());
        row.Zoom();
        EXPECT_NEAR(Map().Fit().Scale, row.Scale, 1e-12) << row.Name;
        EXPECT_LE((Map().PointAtMapPixel(row.Held.x(), row.Held.y()) - before).manhattanLength(), 2) << row.Name;
        // The points are drawn where the view puts them.
        EXPECT_EQ(Map().PointAtMapSquare(Map().Fit().MapX(300), Map().Fit().MapY(200)), 1) << row.Name;
    }
    EXPECT_FALSE(Map().DrawsPixels());
    // The route's ends say what they are; the map between the points, how
    // it is read.
    const TMapFit& view = Map().Fit();
    EXPECT_TRUE(Map().ToolTipAt(view.MapX(100), view.MapY(100)).endsWith(QStringLiteral("początek drogi")));
    EXPECT_TRUE(Map().ToolTipAt(view.MapX(40), view.MapY(350)).endsWith(QStringLiteral("koniec drogi")));
    EXPECT_TRUE(Map().ToolTipAt(view.MapX(200), view.MapY(30)).contains(QStringLiteral("Zielone kółko")));
    ASSERT_TRUE(Command(*Form, "actZoomReset")->Execute());
    EXPECT_FALSE(Map().Fit().On);
    EXPECT_EQ(Picture(), PixelPicture());
}

TEST_F(MapViewTest, MiddleButtonOrSpaceMovesTheMapAndAddsNoPoint)
{
    ShowPoints({{100, 100, -1}});
    const struct {
        const char* Name;
        Qt::MouseButton Button;
        bool Space;
    } rows[] = {{"middle button", Qt::MiddleButton, false}, {"left with Space held", Qt::LeftButton, true}};
    for (const auto& row : rows) {
        Command(*Form, "actZoomReset")->Execute();
        if (row.Space)
            QTest::keyPress(&View(), Qt::Key_Space);
        Drag(row.Button, QPoint(50, 50), QPoint(80, 60));
        if (row.Space)
            QTest::keyRelease(&View(), Qt::Key_Space);
        EXPECT_EQ(Form->State().FPoints.size(), 1u) << row.Name;
        EXPECT_EQ(Map().PointAtMapPixel(80, 60), QPoint(50, 50)) << row.Name;
        // Moved at one point to a pixel, the picture is the pixel picture moved.
        EXPECT_TRUE(Map().DrawsPixels()) << row.Name;
        EXPECT_EQ(View().Bitmap().Pixel(133, 113), MapPointColor) << row.Name;
        EXPECT_EQ(View().Bitmap().Pixel(103, 103), MapBackgroundColor) << row.Name;
    }
    // Space let go, the left button adds points again.
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(Form->State().FPoints.size(), 2u);
}

TEST_F(MapViewTest, AnOpenedSetBeyondTheMapIsShownWholeAndTheStatusBarSaysSo)
{
    const struct {
        const char* Name;
        QByteArray Lines;
        bool Fitted;
    } rows[] = {
        {"on the map", "10; 20\r\n400; 300\r\n", false},
        {"beyond it", "-5; 20\r\n2000; 900\r\n700; -300\r\n", true},
        {"on the map again", "30; 30\r\n60; 90\r\n", false},
        {"beyond it again", "-5; 20\r\n2000; 900\r\n", true},
    };
    for (const auto& row : rows) {
        Open(row.Lines);
        EXPECT_EQ(Command(*Form, "actFitMap")->isChecked(), row.Fitted) << row.Name;
        EXPECT_EQ(Map().DrawsPixels(), !row.Fitted) << row.Name;
        EXPECT_EQ(Note().isEmpty(), !row.Fitted) << row.Name;
        for (const TMapPoint& point : Form->State().FPoints) {
            EXPECT_TRUE(QRect(0, 0, View().width(), View().height())
                            .contains(Map().Fit().MapX(point.X), Map().Fit().MapY(point.Y)))
                << row.Name;
        }
        if (!row.Fitted) {
            EXPECT_EQ(Picture(), PixelPicture()) << row.Name;
        }
    }
    // Ctrl+0 shows it at its own coordinates, cut as it may be.
    Command(*Form, "actZoomReset")->Execute();
    EXPECT_FALSE(Command(*Form, "actFitMap")->isChecked());
    EXPECT_TRUE(Note().isEmpty());
    EXPECT_EQ(Picture(), PixelPicture());
}

// The same set opened again after Ctrl+0 is looked at anew: shown whole,
// with the note, not left off the map.
TEST_F(MapViewTest, ReopeningASetAfterCtrl0ShowsItWholeAgain)
{
    const QByteArray beyond = "-5; 20\r\n2000; 900\r\n700; -300\r\n";
    Open(beyond);
    ASSERT_TRUE(Command(*Form, "actFitMap")->isChecked());
    Command(*Form, "actZoomReset")->Execute();
    ASSERT_TRUE(Map().DrawsPixels());
    Open(beyond);
    EXPECT_TRUE(Command(*Form, "actFitMap")->isChecked());
    EXPECT_FALSE(Map().DrawsPixels());
    EXPECT_FALSE(Note().isEmpty());
}

// At 1:1 the route's start and end are marked as on every other scale,
// over the picture: the surface keeps its own pixels.
TEST_F(MapViewTest, PixelPictureShowsWhereTheRouteStartsAndEnds)
{
    ShowPoints({{100, 100, 1}, {300, 200, 2}, {40, 350, -1}, {200, 50, -1}});
    ASSERT_TRUE(Map().DrawsPixels());
    EXPECT_EQ(Picture(), PixelPicture());
    const QImage shown = View().grab().toImage();
    const auto colourAt = [&shown](const TMapPoint& point) {
        return shown.pixel(point.X + MapPointSizePx / 2, point.Y + MapPointSizePx / 2) & 0xFFFFFFu;
    };
    const TPointArray& points = Form->State().FPoints;
    EXPECT_EQ(colourAt(points[0]), MapStartColor & 0xFFFFFFu);
    EXPECT_EQ(colourAt(points[2]), MapEndColor & 0xFFFFFFu);
    EXPECT_EQ(colourAt(points[1]), MapPointColor & 0xFFFFFFu);
    // A point with no link is no end.
    EXPECT_EQ(colourAt(points[3]), MapPointColor & 0xFFFFFFu);
}

TEST_F(MapViewTest, PressesFindAndPlaceTheirPointsAtEveryScale)
{
    ShowPoints({{60, 40, -1}, {420, 330, -1}});
    Command(*Form, "actDragPoints")->setChecked(true);
    for (const double factor : {0.4, 1.0, 3.0}) {
        Command(*Form, "actZoomReset")->Execute();
        if (factor == 1.0)
            Drag(Qt::MiddleButton, QPoint(10, 10), QPoint(47, 23));
        else
            Map().ZoomAbout(factor, 200, 150);
        const TMapFit& view = Map().Fit();
        const int32_t slack = static_cast<int32_t>(std::ceil(view.Scale / 2));
        const size_t count = Form->State().FPoints.size();
        QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(120, 90));
        ASSERT_EQ(Form->State().FPoints.size(), count + 1) << factor;
        const TMapPoint added = Form->State().FPoints.back();
        EXPECT_LE(std::abs(view.MapX(added.X) - 120), slack) << factor;
        EXPECT_LE(std::abs(view.MapY(added.Y) - 90), slack) << factor;
        // The new point's mark is found under the press and dragged.
        const QPoint mark(view.MapX(added.X), view.MapY(added.Y));
        EXPECT_EQ(Map().PointAtMapSquare(mark.x(), mark.y()), static_cast<int32_t>(count)) << factor;
        QTest::mousePress(&View(), Qt::LeftButton, {}, mark);
        QTest::mouseRelease(&View(), Qt::LeftButton, {}, mark + QPoint(25, 15));
        const TMapPoint moved = Form->State().FPoints.back();
        EXPECT_EQ(QPoint(moved.X, moved.Y), Map().PointAtMapPixel(mark.x() + 25, mark.y() + 15)) << factor;
        EXPECT_LE(std::abs(view.MapX(moved.X) - mark.x() - 25), slack) << factor;
    }
}

// The search's best route so far comes and goes on the map while it runs;
// what it leaves is the picture a run without it leaves.
TEST_F(MapViewTest, RunningSearchDrawsItsRouteAndEndsWithThePictureOfTheLinks)
{
    const TClockScript seed(4242);
    auto now = std::make_shared<std::chrono::steady_clock::time_point>();
    SetPacerClock([now] { return *now += std::chrono::milliseconds(20); });
    Map().LiveRoute().SetMinIntervalMs(0);
    // Long enough in real time for a real X server, which paints an update
    // some milliseconds after it is asked for, to paint while it runs.
    TPointArray points;
    for (int32_t i = 0; i < 300; ++i)
        points.push_back({(i * 137) % 470 + 10, (i * 71) % 350 + 10, -1});
    ShowPoints(points);
    Part<QComboBox>(*Form, "cbMethod")->setCurrentIndex(smRandom);
    Part<TSpinEdit>(*Form, "seRandomCount")->SetText(QStringLiteral("30000"));

    std::set<std::string> shown;
    QString note;
    {
        const TEventWatch watch(View(), [&](QEvent* event) {
            if (event->type() == QEvent::Paint && Form->Runner().Searching()) {
                shown.insert(std::string(Picture()));
                note = Note();
            }
        });
        ASSERT_TRUE(Command(*Form, "actGenerate")->Execute());
    }
    EXPECT_GE(shown.size(), 2u);
    // The length and the time it was found at.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9\\x{00a0}]+,\\d\\d \\(([0-9]+ s|[0-9]+:[0-9]{2})\\)$"))
                    .match(note)
                    .hasMatch())
        << note.toStdString();
    EXPECT_TRUE(Note().isEmpty());
    EXPECT_FALSE(Map().ShowsLiveRoute());
    const std::string live(Picture());
    const TSpecimen route = Form->State().FBestRoute;

    Command(*Form, "actLiveRoute")->setChecked(false);
    ASSERT_TRUE(Command(*Form, "actGenerate")->Execute());
    SetPacerClock({});
    EXPECT_EQ(Form->State().FBestRoute, route);
    EXPECT_EQ(std::string(Picture()), live);
}

}  // namespace
