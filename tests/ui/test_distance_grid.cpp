#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

#include "core/distances.h"
#include "scripted_dialogs.h"
#include "ui/distance_grid.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

// Points on a line through the origin, 5 pixels apart: D[i][j] = 5 |i - j|.
TPointArray PointsOnALine(int count)
{
    TPointArray points;
    for (int i = 0; i < count; ++i)
        points.push_back({3 * i, 4 * i, -1});
    return points;
}

class DistanceGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeWindows();
        Form->show();
    }

    void ShowSet(int count) { Form->Document().ReplacePoints(PointsOnALine(count)); }

    QString Cell(int col, int row) const { return Part<TDistanceGrid>(*Form, "StringGrid1")->Cells(col, row); }

    TScriptedDialogs ScriptedDialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(DistanceGridTest, TableAndCountFollowThePointCount)
{
    struct TRow {
        int Points;
        const char* Count;
        bool TabsUsable;
    };
    const TRow rows[] = {
        {1, "1", false},
        {2, "2", true},
        {19, "121\u00a0645\u00a0100\u00a0408\u00a0832\u00a0000", true},
        {20, "2,43 \u00b7 10\u00b9\u2078", true},
        {21, "5,11 \u00b7 10\u00b9\u2079", true},
        {0, "1", false},
    };
    for (const TRow& row : rows) {
        ShowSet(row.Points);
        const int size = row.Points == 0 ? 2 : row.Points + 1;
        EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->ColCount(), size) << row.Points;
        EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->RowCount(), size) << row.Points;
        EXPECT_EQ(Part<QLabel>(*Form, "lblSilnia")->text(), QString::fromUtf8(row.Count)) << row.Points;
        EXPECT_EQ(Part<QTabWidget>(*Form, "PageControl1")->isEnabled(), row.TabsUsable) << row.Points;
        EXPECT_TRUE(Cell(0, 0).isEmpty()) << row.Points;
        for (int k = 0; k < row.Points; ++k) {
            EXPECT_EQ(Cell(k + 1, 0), QString::number(k)) << row.Points;
            EXPECT_EQ(Cell(0, k + 1), QString::number(k)) << row.Points;
            EXPECT_EQ(Cell(k + 1, k + 1), QStringLiteral("-")) << row.Points;
        }
        if (row.Points >= 2) {
            EXPECT_EQ(Cell(1, 2), QStringLiteral("5,00")) << row.Points;
            EXPECT_EQ(Cell(2, 1), QStringLiteral("5,00")) << row.Points;
            const int last = row.Points;
            EXPECT_EQ(Cell(last, 1), QString::number(5 * (last - 1)) + QStringLiteral(",00")) << row.Points;
        }
    }
}

TEST_F(DistanceGridTest, EmptySetKeepsTheTextsOfTheLastFill)
{
    ShowSet(3);
    ShowSet(0);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->ColCount(), 2);
    EXPECT_EQ(Cell(1, 0), QStringLiteral("0"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("0"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("-"));
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("0"));
}

TEST_F(DistanceGridTest, EmptySetBeforeAnyFillShowsEmptyCells)
{
    ShowSet(0);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->ColCount(), 2);
    EXPECT_TRUE(Cell(1, 0).isEmpty());
    EXPECT_TRUE(Cell(0, 1).isEmpty());
    EXPECT_TRUE(Cell(1, 1).isEmpty());
}

TEST_F(DistanceGridTest, OffDiagonalCellsShowTheSmallerRowsElement)
{
    WritableState(*Form).FPoints = PointsOnALine(2);
    ShowMatrix(*Form, {{0.0, 1.0}, {2.0, 0.0}});
    EXPECT_EQ(Cell(2, 1), QStringLiteral("1,00"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("1,00"));
}

TEST_F(DistanceGridTest, DistancesHaveTwoDecimalsAndNoGrouping)
{
    WritableState(*Form).FPoints = PointsOnALine(2);
    ShowMatrix(*Form, {{0.0, 1234.5}, {1234.5, 0.0}});
    EXPECT_EQ(Cell(2, 1), QStringLiteral("1234,50"));
    ShowMatrix(*Form, {{0.0, 2.005}, {2.005, 0.0}});
    EXPECT_EQ(Cell(2, 1), QString::fromStdString(FormatFixed2(2.005, Form->NumberFormat())));
}

TEST_F(DistanceGridTest, CellsOfAMatrixNotYetRebuiltReadAsEmpty)
{
    ShowSet(4);
    // A repaint between the matrix shrinking and the table learning of it.
    WritableDistances(*Form).resize(1);
    WritableDistances(*Form)[0].resize(1);
    EXPECT_TRUE(Cell(4, 1).isEmpty());
    EXPECT_TRUE(Cell(3, 2).isEmpty());
    Part<TDistanceGrid>(*Form, "StringGrid1")->repaint();
}

TEST_F(DistanceGridTest, GridCellsAreFixedSizeAndNotEditable)
{
    ShowSet(3);
    TDistanceGrid* grid = Part<TDistanceGrid>(*Form, "StringGrid1");
    EXPECT_GE(grid->columnWidth(0), 32);
    EXPECT_EQ(grid->rowHeight(0), 18);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable);
}

// A number is shown whole or not at all: columns widen to the widest text.
TEST_F(DistanceGridTest, ColumnsAreWideEnoughForEveryNumber)
{
    const struct {
        const char* name;
        TPointArray points;
    } rows[] = {
        {"small", {{0, 0, -1}, {3, 4, -1}}},
        {"three digits", {{0, 0, -1}, {166, 10, -1}, {20, 30, -1}}},
        {"five thousand", {{0, 0, -1}, {5000, 0, -1}}},
        {"hundred thousand", {{0, 0, -1}, {100000, 0, -1}, {3, 7, -1}}},
    };
    for (const auto& row : rows) {
        Form->Document().ReplacePoints(row.points);
        TDistanceGrid* grid = Part<TDistanceGrid>(*Form, "StringGrid1");
        const QFontMetrics metrics = grid->fontMetrics();
        EXPECT_GE(grid->columnWidth(0), 32) << row.name;
        for (int col = 1; col < grid->ColCount(); ++col)
            for (int r = 1; r < grid->RowCount(); ++r) {
                const QString text = grid->Cells(col, r);
                EXPECT_GT(grid->columnWidth(col - 1), metrics.horizontalAdvance(text) + 4)
                    << row.name << " " << text.toStdString();
            }
    }
}

TEST_F(DistanceGridTest, CurrentCellMovesAndScrollsIntoView)
{
    ShowSet(200);
    Part<TDistanceGrid>(*Form, "StringGrid1")->SetRow(150);
    Part<TDistanceGrid>(*Form, "StringGrid1")->SetCol(150);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Row(), 150);
    EXPECT_EQ(Part<TDistanceGrid>(*Form, "StringGrid1")->Col(), 150);
    const QRect cell = Part<TDistanceGrid>(*Form, "StringGrid1")
                           ->visualRect(Part<TDistanceGrid>(*Form, "StringGrid1")->currentIndex());
    EXPECT_TRUE(Part<TDistanceGrid>(*Form, "StringGrid1")->viewport()->rect().intersects(cell));
}

}  // namespace

// A small set keeps its matrix; a large one keeps none, and the table, the
// measured route and a search that reads a matrix (one made for the run)
// all give the values the matrix would hold.
TEST_F(DistanceGridTest, LargeSetsWorkOutDistancesOnDemand)
{
    for (const int count : {KeptMatrixPoints, KeptMatrixPoints + 1}) {
        TPointArray points;
        for (int i = 0; i < count; ++i)
            points.push_back({(i * 7919) % 1000, (i * 104729) % 997, -1});
        Form->Document().ReplacePoints(points);
        const bool kept = count <= KeptMatrixPoints;
        EXPECT_EQ(Distances(*Form).size(), kept ? points.size() : 0u) << count;
        EXPECT_EQ(Cell(count, 2), QString::fromStdString(
                                      FormatFixed2(PointDistance(points[1], points[count - 1]), Form->NumberFormat())))
            << count;

        Part<QComboBox>(*Form, "cbMethod")->setCurrentIndex(smRandom);
        Part<TSpinEdit>(*Form, "seRandomCount")->SetText(QStringLiteral("50"));
        ASSERT_TRUE(Command(*Form, "actGenerate")->Execute());
        EXPECT_EQ(Distances(*Form).size(), kept ? points.size() : 0u) << count;
        const QString reported = ResultLines(*Form).value(1).section(QStringLiteral(": "), 1);
        ASSERT_TRUE(Command(*Form, "actCountWay")->Execute());
        EXPECT_EQ(ResultLines(*Form).value(0), QStringLiteral("Długość drogi: ") + reported) << count;
    }
}
