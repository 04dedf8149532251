// Saving in the format the name asks for, the route kept in a tour file
// beside the set and offered back when the set is opened, and "Wczytaj
// drogę...".

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <algorithm>

#include "core/csv_points.h"
#include "core/point_input.h"
#include "core/tour_file.h"
#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

const QByteArray FourPoints = "10; 10\r\n200; 40\r\n90; 160\r\n30; 300\r\n";
const TSpecimen FourRoute{2, 0, 3, 1};

class FileCommandsTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return Folder.filePath(name); }

    // The windows with the four points opened from "zbiór.tvu" and shown.
    std::unique_ptr<TMainForm> OpenFour()
    {
        WriteTextFile(PathOf(QStringLiteral("zbiór.tvu")), FourPoints);
        auto form = MakeWindows({PathOf(QStringLiteral("zbiór.tvu"))});
        form->show();
        return form;
    }

    static std::vector<int32_t> Links(const TMainForm& form)
    {
        std::vector<int32_t> links;
        for (const TMapPoint& point : form.State().FPoints)
            links.push_back(point.Next);
        return links;
    }

    static std::vector<int32_t> LinksOfRoute(const TSpecimen& route)
    {
        TPointArray points(route.size());
        ApplyBestRoute(points, route);
        std::vector<int32_t> links;
        for (const TMapPoint& point : points)
            links.push_back(point.Next);
        return links;
    }

    QTemporaryDir Folder;
    TScriptedDialogs ScriptedDialogs;
};

// Saving over a TSPLIB file keeps it one; the dialog proposes the file the
// set came from, and a CSV name writes CSV.
TEST_F(FileCommandsTest, SaveWritesTheFormatOfTheNameAndProposesTheCurrentFile)
{
    const QString tsp = PathOf(QStringLiteral("grid12.tsp"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOVU_SOURCE_DIR "/tests/data/grid12.tsp"), tsp));
    auto form = MakeWindows({tsp});
    form->show();
    const TPointArray loaded = form->State().FPoints;
    ASSERT_EQ(loaded.size(), 12u);

    const struct {
        const char* name;
        const char* starts;
    } rows[] = {{"grid12.tsp", "NAME : grid12"}, {"kopia.csv", "x,y"}, {"kopia.tvu", "0; 0\r\n"}};
    QString proposed = tsp;
    for (const auto& row : rows) {
        const QString target = PathOf(QString::fromUtf8(row.name));
        ScriptedDialogs.SaveNames = {target};
        Command(*form, "actSaveArray")->Execute();
        EXPECT_EQ(ScriptedDialogs.Boxes.back().Text, proposed) << row.name;
        EXPECT_TRUE(ReadTextFile(target).startsWith(row.starts)) << row.name;
        TPointArray points;
        TPointReadInfo info;
        ASSERT_TRUE(ReadPointsAnyFormat(StdName(target), points, info).Ok()) << row.name;
        EXPECT_EQ(points.size(), loaded.size()) << row.name;
        for (size_t i = 0; i < points.size() && i < loaded.size(); ++i)
            EXPECT_TRUE(points[i].X == loaded[i].X && points[i].Y == loaded[i].Y) << row.name << ", point " << i;
        EXPECT_FALSE(form->State().FModified) << row.name;
        proposed = target;
    }
}

// A format that can't hold the set's places asks before it writes: Nie
// writes nothing, Tak writes the map's points; the same format asks nothing.
TEST_F(FileCommandsTest, SaveAsksBeforeAFormatLosesThePlaces)
{
    const QString cities = PathOf(QStringLiteral("miasta.csv"));
    WriteTextFile(cities, "lat,lon\n52.2297,21.0122\n50.0647,19.9450\n54.352,18.6466\n");
    auto form = MakeWindows({cities});
    form->show();
    ASSERT_EQ(form->State().FPoints.size(), 3u);
    const struct {
        const char* name;
        TDialogs::TAnswer answer;
        bool asked;
        bool saved;
    } rows[] = {
        {"nie.tvu", TDialogs::TAnswer::No, true, false},
        {"tak.tvu", TDialogs::TAnswer::Yes, true, true},
        {"kopia.csv", TDialogs::TAnswer::No, false, true},
    };
    for (const auto& row : rows) {
        const QString target = PathOf(QString::fromUtf8(row.name));
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.SaveNames = {target};
        ScriptedDialogs.Answers = {row.answer};
        Command(*form, "actSaveArray")->Execute();
        const bool asked = std::any_of(ScriptedDialogs.Boxes.begin(), ScriptedDialogs.Boxes.end(), [](const auto& box) {
            return box.Kind == QStringLiteral("question") &&
                   box.Text.startsWith(QStringLiteral("Plik .tvu nie zapisze"));
        });
        EXPECT_EQ(asked, row.asked) << row.name;
        EXPECT_EQ(QFile::exists(target), row.saved) << row.name;
    }
    EXPECT_TRUE(ReadTextFile(PathOf(QStringLiteral("kopia.csv"))).contains("52.2297")) << "degrees kept";
}

// No point format holds the links. A route is offered a tour file beside
// the set, asked before anything is written; links that make no route are
// said to be left out; a route that could not be written keeps the set
// marked, so closing still asks.
TEST_F(FileCommandsTest, SaveAsksToKeepTheRouteBesideTheSet)
{
    const struct {
        const char* name;
        bool route;  // the links make one route, or only two links are set
        TDialogs::TAnswer answer;
        bool tourInTheWay;  // a folder stands where the tour file would go
        bool setSaved;
        bool tourSaved;
        bool modified;
        const char* box;
    } rows[] = {
        {"Tak", true, TDialogs::TAnswer::Yes, false, true, true, false, "question"},
        {"Nie", true, TDialogs::TAnswer::No, false, true, false, false, "question"},
        {"Anuluj", true, TDialogs::TAnswer::Cancel, false, false, false, true, "question"},
        {"Tak, no room for the tour", true, TDialogs::TAnswer::Yes, true, true, false, true, "error"},
        {"links but no route", false, TDialogs::TAnswer::Yes, false, true, false, false, "information"},
    };
    for (const auto& row : rows) {
        QTemporaryDir target;
        const QString setName = target.filePath(QStringLiteral("zbiór.tsp"));
        const QString tourName = target.filePath(QStringLiteral("zbiór.tour"));
        if (row.tourInTheWay)
            QDir(target.path()).mkdir(QStringLiteral("zbiór.tour"));
        auto form = OpenFour();
        // A change of the set, then the links a search would leave.
        Command(*form, "actZeroArray")->Execute();
        if (row.route) {
            ApplyBestRoute(WritableState(*form).FPoints, FourRoute);
        } else {
            WritableState(*form).FPoints[0].Next = 1;
            WritableState(*form).FPoints[2].Next = 3;
        }
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.SaveNames = {setName};
        ScriptedDialogs.Answers = {row.answer};
        Command(*form, "actSaveArray")->Execute();

        ASSERT_EQ(ScriptedDialogs.Boxes.size(), row.box == std::string("error") ? 3u : 2u) << row.name;
        EXPECT_EQ(ScriptedDialogs.Boxes[1].Kind, QString::fromLatin1(row.route ? "question" : "information"))
            << row.name;
        EXPECT_TRUE(ScriptedDialogs.Boxes.back().Text.contains(row.route ? tourName : QStringLiteral("tylko")))
            << row.name;
        EXPECT_EQ(ScriptedDialogs.Boxes.back().Kind, QString::fromLatin1(row.box)) << row.name;
        EXPECT_EQ(QFile::exists(setName), row.setSaved) << row.name;
        EXPECT_EQ(ReadTextFile(tourName).contains("TOUR_SECTION"), row.tourSaved) << row.name;
        if (row.tourSaved) {
            const TTourParseResult tour = ParseTour(ReadTextFile(tourName).toStdString(), 4);
            EXPECT_EQ(tour.Route, FourRoute) << row.name;
        }
        EXPECT_EQ(form->State().FModified, row.modified) << row.name;
    }
}

// Opening a set with a tour file beside it offers the route too, from the
// open command and from the command line once the window shows; the route
// taken in is a step of the history that does not mark the set changed.
TEST_F(FileCommandsTest, OpeningASetOffersTheRouteBesideIt)
{
    const QString setName = PathOf(QStringLiteral("zbiór.tvu"));
    const QString tourName = PathOf(QStringLiteral("zbiór.tour"));
    WriteTextFile(setName, FourPoints);
    WriteTextFile(tourName, QByteArray::fromStdString(FormatTour("zbiór", FourRoute)));
    const struct {
        const char* name;
        bool fromCommandLine;
        TDialogs::TAnswer answer;
    } rows[] = {
        {"open, Tak", false, TDialogs::TAnswer::Yes},
        {"open, Nie", false, TDialogs::TAnswer::No},
        {"command line, Tak", true, TDialogs::TAnswer::Yes},
    };
    for (const auto& row : rows) {
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.Answers = {row.answer};
        auto form = MakeWindows(row.fromCommandLine ? QStringList{setName} : QStringList{});
        form->show();
        if (row.fromCommandLine) {
            QApplication::processEvents();
        } else {
            ScriptedDialogs.OpenNames = {setName};
            Command(*form, "actOpenArray")->Execute();
        }
        ASSERT_EQ(ScriptedDialogs.Count("question"), 1) << row.name;
        EXPECT_TRUE(ScriptedDialogs.Boxes.back().Text.contains(tourName)) << row.name;
        const bool taken = row.answer == TDialogs::TAnswer::Yes;
        EXPECT_EQ(Links(*form), taken ? LinksOfRoute(FourRoute) : std::vector<int32_t>(4, -1)) << row.name;
        EXPECT_FALSE(form->State().FModified) << row.name;
        EXPECT_EQ(form->Document().History().canUndo(), taken) << row.name;
    }
}

// A file a killed save left half-written, its old contents in the copy
// beside it: opening it offers them back first; Nie opens it as it is.
TEST_F(FileCommandsTest, OpeningAFileWithALeftoverCopyOffersItsOldContents)
{
    const QString setName = PathOf(QStringLiteral("zbiór.tvu"));
    const QString copyName = setName + QStringLiteral(".tovu-kopia");
    const QByteArray halfWritten = "1; 1\r\n" + FourPoints.mid(6);
    for (const TDialogs::TAnswer answer : {TDialogs::TAnswer::Yes, TDialogs::TAnswer::No}) {
        const bool restore = answer == TDialogs::TAnswer::Yes;
        WriteTextFile(setName, halfWritten);
        WriteTextFile(copyName, FourPoints);
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.Answers = {answer};
        ScriptedDialogs.OpenNames = {setName};
        auto form = MakeWindows({});
        form->show();
        Command(*form, "actOpenArray")->Execute();
        ASSERT_EQ(ScriptedDialogs.Count("question"), 1) << restore;
        const auto question = std::find_if(ScriptedDialogs.Boxes.begin(), ScriptedDialogs.Boxes.end(),
                                           [](const auto& box) { return box.Kind == QStringLiteral("question"); });
        EXPECT_EQ(question->Caption, QStringLiteral("Kopia z przerwanego zapisu"));
        EXPECT_TRUE(question->Text.contains(copyName)) << restore;
        EXPECT_EQ(ReadTextFile(setName), restore ? FourPoints : halfWritten);
        EXPECT_EQ(QFile::exists(copyName), !restore);
        EXPECT_EQ(form->State().FPoints.front().X, restore ? 10 : 1);
        QFile::remove(copyName);
    }
}

// "Wczytaj drogę..." takes a tour or the route CSV of export onto a set of
// their size as one step; a route of another set is refused by name.
TEST_F(FileCommandsTest, LoadRouteReadsToursAndRouteCsvOfTheSetsSize)
{
    auto form = OpenFour();
    const TPointArray points = form->State().FPoints;
    const TSpecimen otherRoute{0, 1, 2};
    const struct {
        const char* name;
        std::string content;
        bool reads;
    } rows[] = {
        {"droga.tour", FormatTour("droga", FourRoute), true},
        {"droga.csv", FormatRouteCsv(points, FourRoute), true},
        {"trzy.tour", FormatTour("trzy", otherRoute), false},
    };
    for (const auto& row : rows) {
        const QString name = PathOf(QString::fromUtf8(row.name));
        WriteTextFile(name, QByteArray::fromStdString(row.content));
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.RouteNames = {name};
        const int step = form->Document().History().index();
        ASSERT_TRUE(Command(*form, "actLoadRoute")->Execute()) << row.name;
        if (row.reads) {
            EXPECT_EQ(Links(*form), LinksOfRoute(FourRoute)) << row.name;
            EXPECT_EQ(form->Document().History().index(), step + 1) << row.name;
            EXPECT_EQ(form->Document().History().undoText(), QStringLiteral("wczytanie drogi")) << row.name;
            Command(*form, "actUndo")->Execute();
            EXPECT_EQ(Links(*form), std::vector<int32_t>(4, -1)) << row.name;
        } else {
            ASSERT_EQ(ScriptedDialogs.Count("error"), 1) << row.name;
            EXPECT_EQ(ScriptedDialogs.Boxes.back().Caption, QStringLiteral("Błąd odczytu")) << row.name;
            EXPECT_TRUE(ScriptedDialogs.Boxes.back().Text.startsWith(name + u'\n')) << row.name;
            EXPECT_EQ(form->Document().History().index(), step) << row.name;
        }
    }
    Command(*form, "actNewArray")->Execute();
    form->ApplicationIdle();
    EXPECT_FALSE(Command(*form, "actLoadRoute")->isEnabled());
}

}  // namespace
