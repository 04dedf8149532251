#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QTest>

#include "core/distances.h"
#include "raster/map_render.h"
#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/distance_grid.h"
#include "ui/point_list.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

class PointListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeWindows();
        Form->resize(700, 500);
        Form->show();
    }

    void ShowSet(const TPointArray& points) { Form->Document().ReplacePoints(points); }

    // The list lays its rows out lazily, from the event loop.
    QImage ListPicture() const
    {
        QCoreApplication::processEvents();
        return Part<TPointList>(*Form, "ListBox1")->viewport()->grab().toImage();
    }

    // The rightmost dark pixel of a row between two x positions, -1 if none.
    static int RightmostInk(const QImage& picture, int row, int fromX, int toX)
    {
        const int top = row * TPointListDelegate::RowHeight;
        int found = -1;
        for (int y = top; y < top + TPointListDelegate::RowHeight && y < picture.height(); ++y)
            for (int x = std::max(fromX, 0); x < toX && x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) < 128)
                    found = std::max(found, x);
        return found;
    }

    QPoint RowCentre(int row) const
    {
        return Part<TPointList>(*Form, "ListBox1")
            ->visualRect(Part<TPointList>(*Form, "ListBox1")->model()->index(row, 0))
            .center();
    }

    TScriptedDialogs ScriptedDialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(PointListTest, RowsAreFourteenHighWithTheirIndexAsText)
{
    ShowSet({{1, 2, -1}, {3, 4, -1}, {5, 6, -1}});
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->ItemCount(), 3);
    const QModelIndex second = Part<TPointList>(*Form, "ListBox1")->model()->index(1, 0);
    EXPECT_EQ(second.data().toString(), QStringLiteral("1"));
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->visualRect(second).height(), 14);
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(PointListTest, HeaderHasThreeFixedOrderSections)
{
    QHeaderView* header = Part<QHeaderView>(*Form, "Header1");
    ASSERT_EQ(header->count(), 3);
    EXPECT_EQ(header->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("X"));
    EXPECT_EQ(header->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Y"));
    EXPECT_EQ(header->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("V"));
    for (int section = 0; section < 3; ++section)
        EXPECT_EQ(header->sectionSize(section), 60);
    EXPECT_FALSE(header->sectionsMovable());
    EXPECT_EQ(header->height(), 17);
}

TEST_F(PointListTest, ColumnsAreRightAlignedUnderTheirSections)
{
    ShowSet({{123, 45, 1}, {6, 7, -1}});
    const QImage picture = ListPicture();
    // Each text ends a few pixels inside the right edge of its section.
    const int xEnd = RightmostInk(picture, 0, 20, 60);
    const int yEnd = RightmostInk(picture, 0, 60, 120);
    const int vEnd = RightmostInk(picture, 0, 120, 180);
    EXPECT_GE(xEnd, 50);
    EXPECT_GE(yEnd, 110);
    EXPECT_GE(vEnd, 170);
    EXPECT_LT(vEnd, 180);
    EXPECT_EQ(RightmostInk(picture, 0, 180, picture.width()), -1);
}

TEST_F(PointListTest, PointWithoutSuccessorLeavesTheVColumnEmpty)
{
    ShowSet({{1, 1, 1}, {2, 2, -1}, {3, 3, 0}});
    const QImage picture = ListPicture();
    EXPECT_NE(RightmostInk(picture, 0, 120, 180), -1);
    EXPECT_EQ(RightmostInk(picture, 1, 120, 180), -1);
    EXPECT_NE(RightmostInk(picture, 2, 120, 180), -1);
}

TEST_F(PointListTest, IndexIsDrawnSmallAtTheBottomLeft)
{
    ShowSet({{1, 1, -1}});
    const QImage picture = ListPicture();
    EXPECT_NE(RightmostInk(picture, 0, 0, 12), -1);
    // Nothing of it above the row's lower half.
    bool inkHigh = false;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x)
            inkHigh = inkHigh || qGray(picture.pixel(x, y)) < 128;
    EXPECT_FALSE(inkHigh);
}

TEST_F(PointListTest, WideningSectionXMovesTheOtherColumnsRight)
{
    ShowSet({{1, 22, 0}, {3, 44, 0}});
    const int yBefore = RightmostInk(ListPicture(), 1, 60, 120);
    const int vBefore = RightmostInk(ListPicture(), 1, 120, 180);
    ASSERT_NE(yBefore, -1);
    Part<QHeaderView>(*Form, "Header1")->resizeSection(0, 100);
    const QImage picture = ListPicture();
    EXPECT_EQ(RightmostInk(picture, 1, 100, 160), yBefore + 40);
    EXPECT_EQ(RightmostInk(picture, 1, 160, 220), vBefore + 40);
}

TEST_F(PointListTest, RowWithoutItsPointShowsOnlyItsIndex)
{
    ShowSet({{1, 1, -1}});
    // The set shrank and the list has not been rebuilt yet.
    Part<TPointList>(*Form, "ListBox1")->SetCount(3);
    WritableState(*Form).FPoints.clear();
    const QImage picture = ListPicture();
    EXPECT_EQ(RightmostInk(picture, 0, 20, 180), -1);
    EXPECT_NE(RightmostInk(picture, 0, 0, 12), -1);
}

TEST_F(PointListTest, ClickingOneRowMovesTheTableToItsDiagonalCell)
{
    TPointArray points;
    for (int i = 0; i < 6; ++i)
        points.push_back({10 * i, 5 * i, -1});
    ShowSet(points);
    QTest::mouseClick(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::LeftButton, {}, RowCentre(3));
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->SelCount(), 1);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Row(), 4);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Col(), 4);

    // Two rows selected: the table stays where it was.
    QTest::mouseClick(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      RowCentre(1));
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->SelCount(), 2);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Row(), 4);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Col(), 4);
}

TEST_F(PointListTest, KeyboardSelectionMovesTheTableButLeavesTheMap)
{
    ShowSet({{10, 10, -1}, {40, 40, -1}, {80, 80, -1}});
    Command(*Form, "actShowWay")->Execute();
    QTest::mouseClick(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::LeftButton, {}, RowCentre(0));
    const TBitmap32& surface = Form->MapForm()->Image321->Bitmap();
    EXPECT_EQ(surface.Pixel(11, 11), MapSelectedPointColor);

    QTest::keyClick(Part<TPointList>(*Form, "ListBox1"), Qt::Key_Down);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Row(), 2);
    EXPECT_TRUE(Part<TPointList>(*Form, "ListBox1")->IsSelected(1));
    // Not redrawn yet: point 0 still red, point 1 still black.
    EXPECT_EQ(surface.Pixel(11, 11), MapSelectedPointColor);
    EXPECT_EQ(surface.Pixel(41, 41), MapPointColor);

    // The next mouse release over the list shows the selection.
    QTest::mouseRelease(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::RightButton, {}, RowCentre(2));
    EXPECT_EQ(surface.Pixel(11, 11), MapPointColor);
    EXPECT_EQ(surface.Pixel(41, 41), MapSelectedPointColor);
}

TEST_F(PointListTest, RightPressKeepsTheSelection)
{
    ShowSet({{1, 1, -1}, {2, 2, -1}});
    QTest::mouseClick(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::LeftButton, {}, RowCentre(0));
    QTest::mousePress(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::RightButton, {}, RowCentre(1));
    EXPECT_TRUE(Part<TPointList>(*Form, "ListBox1")->IsSelected(0));
    EXPECT_FALSE(Part<TPointList>(*Form, "ListBox1")->IsSelected(1));
    QTest::mouseRelease(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::RightButton, {}, RowCentre(1));
}

TEST_F(PointListTest, RebuildClearsTheSelection)
{
    ShowSet({{1, 1, -1}, {2, 2, -1}});
    QTest::mouseClick(Part<TPointList>(*Form, "ListBox1")->viewport(), Qt::LeftButton, {}, RowCentre(1));
    ASSERT_EQ(Part<TPointList>(*Form, "ListBox1")->SelCount(), 1);
    Part<TPointList>(*Form, "ListBox1")->Refresh();
    EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->SelCount(), 0);
}

}  // namespace
