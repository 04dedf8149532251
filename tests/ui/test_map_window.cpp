#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <cmath>

#include "raster/map_render.h"
#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/distance_grid.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

class MapWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeWindows();
        Form->show();
        Command(*Form, "actShowWay")->Execute();
    }

    TImage32& View() const { return *Form->MapForm()->Image321; }
    const TBitmap32& Surface() const { return View().Bitmap(); }

    TScriptedDialogs ScriptedDialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MapWindowTest, FirstShowSizesTheSurfaceAndRecordsTheMapSize)
{
    EXPECT_EQ(Form->Tag, 99);
    EXPECT_EQ(Surface().Width(), View().width());
    EXPECT_EQ(Surface().Height(), View().height());
    EXPECT_EQ(Form->Map().View().Width, View().width());
    EXPECT_EQ(Form->Map().View().Height, View().height());
    EXPECT_GT(Form->Map().View().Width, 0);
}

TEST_F(MapWindowTest, MapWindowStartsHiddenAtItsDesignSize)
{
    auto fresh = MakeWindows();
    ASSERT_NE(fresh->MapForm(), nullptr);
    EXPECT_FALSE(fresh->MapForm()->isVisible());
    EXPECT_EQ(fresh->MapForm()->size(), QSize(495, 382));
    EXPECT_EQ(fresh->MapForm()->Image321->size(), QSize(495, 382));
    // Before the first showing the map size is still unknown.
    EXPECT_EQ(fresh->Map().View().Width, 0);
}

// The map window comes up whole on the screen, whatever its design place
// says, and a hidden map moved off the screen comes back whole.
TEST_F(MapWindowTest, MapWindowComesUpWholeOnTheScreen)
{
    TMapForm& map = *Form->MapForm();
    const QRect screen = map.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(map.frameGeometry())) << map.frameGeometry().x() << "," << map.frameGeometry().y();
    map.hide();
    map.move(screen.right() - 20, screen.bottom() - 10);
    Command(*Form, "actShowWay")->Execute();
    EXPECT_TRUE(screen.contains(map.frameGeometry()));
    EXPECT_EQ(KeptOnScreen(QRect(900, 700, 300, 200), QRect(0, 0, 1024, 768)), QRect(724, 568, 300, 200));
    EXPECT_EQ(KeptOnScreen(QRect(-50, -9, 300, 200), QRect(0, 0, 1024, 768)), QRect(0, 0, 300, 200));
}

// Above a main window of normal size, not above a maximised one; and no
// minimise button, which would take the main window down with it.
TEST_F(MapWindowTest, MapStaysAboveTheMainWindowOnlyWhileThatIsNotMaximised)
{
    TMapForm& map = *Form->MapForm();
    EXPECT_EQ(map.windowType(), Qt::Tool);
    EXPECT_FALSE(map.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    const QPoint place = map.pos();
    Form->showMaximized();
    EXPECT_EQ(map.windowType(), Qt::Window);
    EXPECT_TRUE(map.isVisible());
    EXPECT_EQ(map.pos(), place);
    Form->showNormal();
    EXPECT_EQ(map.windowType(), Qt::Tool);
    EXPECT_TRUE(map.isVisible());
    // Minimised while kept above, it hides and leaves the main window be.
    map.setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_FALSE(map.isVisible());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Form->isMinimized());
}

// "Mapa w oknie głównym" puts the map into the main window and back into
// a window of its own; it draws and takes presses in both places.
TEST_F(MapWindowTest, MapCanLiveInTheMainWindow)
{
    TCommand& dock = *Command(*Form, "actDockMap");
    ASSERT_TRUE(dock.isCheckable());
    dock.trigger();
    ASSERT_TRUE(dock.isChecked());
    TMapForm& map = *Form->MapForm();
    EXPECT_FALSE(map.isWindow());
    EXPECT_EQ(map.window(), Form.get());
    EXPECT_TRUE(map.isVisible());
    const QRect screen = Form->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(Form->frameGeometry()));
    QApplication::processEvents();
    EXPECT_EQ(Form->Map().View().Width, View().width());
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(30, 40));
    ASSERT_EQ(Form->State().FPoints.size(), 1u);
    EXPECT_EQ(Surface().Pixel(31, 41), MapPointColor);

    dock.trigger();
    EXPECT_FALSE(dock.isChecked());
    EXPECT_TRUE(map.isWindow());
    EXPECT_EQ(map.windowType(), Qt::Tool);
    EXPECT_TRUE(map.isVisible());
    EXPECT_TRUE(screen.contains(map.frameGeometry()));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(Form->State().FPoints.size(), 2u);
}

TEST_F(MapWindowTest, EmptySetIsWhiteWithAGreyFrame)
{
    Form->Map().DrawMap();
    const int32_t w = Surface().Width();
    const int32_t h = Surface().Height();
    ASSERT_GT(w, 2);
    ASSERT_GT(h, 2);
    EXPECT_EQ(Surface().Pixel(0, 0), MapFrameColor);
    EXPECT_EQ(Surface().Pixel(w - 1, h - 1), MapFrameColor);
    EXPECT_EQ(Surface().Pixel(w / 2, 0), MapFrameColor);
    EXPECT_EQ(Surface().Pixel(0, h / 2), MapFrameColor);
    EXPECT_EQ(Surface().Pixel(1, 1), MapBackgroundColor);
    EXPECT_EQ(Surface().Pixel(w / 2, h / 2), MapBackgroundColor);
    // What the window shows is that surface.
    const QImage shown = View().grab().toImage();
    EXPECT_EQ(shown.pixel(w / 2, h / 2) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(0, h / 2) & 0xFFFFFFu, MapFrameColor & 0xFFFFFFu);
}

TEST_F(MapWindowTest, SelectedRowsTurnTheirSquaresRed)
{
    WritableState(*Form).FPoints = {{20, 20, -1}, {60, 60, -1}};
    Part<TPointList>(*Form, "ListBox1")->Refresh();
    EXPECT_EQ(Surface().Pixel(23, 23), MapPointColor);
    EXPECT_EQ(Surface().Pixel(24, 24), MapBackgroundColor);
    Part<TPointList>(*Form, "ListBox1")
        ->selectionModel()
        ->select(Part<TPointList>(*Form, "ListBox1")->model()->index(1, 0), QItemSelectionModel::Select);
    Form->ListBox1MouseUp();
    EXPECT_EQ(Surface().Pixel(23, 23), MapPointColor);
    EXPECT_EQ(Surface().Pixel(65, 65), MapSelectedPointColor);
    EXPECT_EQ(Surface().Pixel(66, 66), MapBackgroundColor);
}

TEST_F(MapWindowTest, EveryButtonPressAddsAPointAndClearsTheSelection)
{
    WritableState(*Form).FPoints = {{20, 20, -1}};
    Part<TPointList>(*Form, "ListBox1")->Refresh();
    Part<TPointList>(*Form, "ListBox1")
        ->selectionModel()
        ->select(Part<TPointList>(*Form, "ListBox1")->model()->index(0, 0), QItemSelectionModel::Select);
    WritableState(*Form).FModified = false;

    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseClick(&View(), Qt::RightButton, {}, QPoint(110, 60));
    QTest::mouseClick(&View(), Qt::MiddleButton, {}, QPoint(120, 70));
    ASSERT_EQ(Form->State().FPoints.size(), 4u);
    EXPECT_EQ(Form->State().FPoints[1].X, 100);
    EXPECT_EQ(Form->State().FPoints[1].Y, 50);
    EXPECT_EQ(Form->State().FPoints[3].X, 120);
    EXPECT_EQ(Form->State().FPoints[3].Next, -1);
    EXPECT_TRUE(Form->State().FModified);
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->ItemCount(), 4);
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->SelCount(), 0);
    EXPECT_EQ(Surface().Pixel(20, 20), MapPointColor);
    EXPECT_EQ(Surface().Pixel(100, 50), MapPointColor);
    // The matrix grew with the new points.
    ASSERT_EQ(Distances(*Form).size(), 4u);
    EXPECT_DOUBLE_EQ(Distances(*Form)[1][2], std::hypot(10.0, 10.0));
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->ColCount(), 5);
}

TEST_F(MapWindowTest, DoubleClickAddsTwoPointsAtThePlace)
{
    // What the window system delivers: press, release, then the second
    // press as a double click, then its release.
    const QPoint at(30, 40);
    QTest::mousePress(&View(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, View().mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(&View(), &second);
    ASSERT_EQ(Form->State().FPoints.size(), 2u);
    EXPECT_EQ(Form->State().FPoints[0].X, Form->State().FPoints[1].X);
    EXPECT_EQ(Form->State().FPoints[0].Y, Form->State().FPoints[1].Y);
}

TEST_F(MapWindowTest, ResizingTheMapRecordsItsSizeAndRedraws)
{
    Form->MapForm()->resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(Form->Map().View().Width, 300);
    EXPECT_EQ(Form->Map().View().Height, 200);
    EXPECT_EQ(Surface().Width(), 300);
    EXPECT_EQ(Surface().Height(), 200);
    EXPECT_EQ(Surface().Pixel(299, 100), MapFrameColor);
}

TEST_F(MapWindowTest, ClosingTheMapOnlyHidesIt)
{
    Form->Map().AddPoint(10, 10);
    EXPECT_TRUE(Form->MapForm()->close());
    EXPECT_FALSE(Form->MapForm()->isVisible());
    ASSERT_NE(Form->MapForm(), nullptr);
    EXPECT_EQ(Surface().Pixel(12, 12), MapPointColor);
    Command(*Form, "actShowWay")->Execute();
    EXPECT_TRUE(Form->MapForm()->isVisible());
}

TEST_F(MapWindowTest, LinksAreDrawnFromPointToSuccessor)
{
    WritableState(*Form).FPoints = {{10, 10, 1}, {10, 60, -1}};
    Part<TPointList>(*Form, "ListBox1")->Refresh();
    // A vertical link: black from the start's corner down to the pixel
    // before the successor's corner.
    EXPECT_EQ(Surface().Pixel(10, 30), MapLinkColor);
    EXPECT_EQ(Surface().Pixel(11, 30), MapBackgroundColor);
}

}  // namespace
