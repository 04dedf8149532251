// The real dialogs behind the seam: file dialogs that show a folder without
// opening a single file in it (a read of /proc/kmsg would block the program
// for good), the save dialog's proposal, and message texts that can be
// copied.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sys/inotify.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialogs.h"
#include "ui/file_commands.h"
#include "ui/file_icons.h"
#include "ui/picture_size_dialog.h"
#include "when_open.h"
#include "window_fixture.h"

namespace {

// The names of the folder's files that were opened since the watch began.
class TOpenWatch {
public:
    explicit TOpenWatch(const QString& folder) : FFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        ::inotify_add_watch(FFd, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~TOpenWatch() { ::close(FFd); }
    TOpenWatch(const TOpenWatch&) = delete;
    TOpenWatch& operator=(const TOpenWatch&) = delete;

    bool Valid() const { return FFd >= 0; }
    // Events on the folder itself (its listing) carry no name.
    QStringList OpenedFiles() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(FFd, buffer, sizeof buffer);
            if (got <= 0)
                return names;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && !names.contains(QString::fromUtf8(event->name)))
                    names << QString::fromUtf8(event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int FFd;
};

// Files whose names do not settle their type: a content sniffer opens each.
// Every dialog shows one of them at least.
const char* const FolderFiles[] = {"kmsg", "punkty.tvu", "trasa.tour", "dane"};

// The rows the dialog's chosen filter lets through: the FolderFiles that
// match and the subfolder, which every filter shows.
int ShownRows(const QFileDialog& dialog)
{
    const QString filter = dialog.selectedNameFilter();
    const qsizetype open = filter.indexOf(u'(');
    const QStringList patterns = filter.mid(open + 1).chopped(1).split(u' ', Qt::SkipEmptyParts);
    int count = 1;
    for (const char* name : FolderFiles)
        count += QDir::match(patterns, QString::fromLatin1(name)) ? 1 : 0;
    return count;
}

// What one file dialog did with a folder of FolderFiles.
struct TDialogLook {
    bool Shown = false;      // its rows came, as many as its filter lets through
    bool OwnDialog = false;  // Qt's own dialog with the program's icons
    QStringList Types;       // the type column, as the user sees it
    QStringList Opened;      // files opened meanwhile
    bool Disturbed = false;  // another program read the folder meanwhile
};

TDialogLook LookAtFolder(const std::function<void(TDialogs&)>& run)
{
    // Beside the tests rather than in /tmp. Another program that reads new
    // files (an indexer, a backup) would read the one in the subfolder too,
    // which no dialog lists: then the look is taken again.
    QTemporaryDir folder(QDir::currentPath() + QStringLiteral("/dialogs-XXXXXX"));
    for (const char* name : FolderFiles)
        WriteTextFile(folder.filePath(QString::fromLatin1(name)), "\x89PNG\r\n\x1a\n10; 20\r\n");
    QDir(folder.path()).mkdir(QStringLiteral("inne"));
    WriteTextFile(folder.filePath(QStringLiteral("inne/dane")), "10; 20\r\n");
    TOpenWatch watch(folder.path());
    TOpenWatch control(folder.filePath(QStringLiteral("inne")));
    TDialogLook look;
    TDialogs dialogs;
    dialogs.FileWorked(folder.filePath(QStringLiteral("x")));
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        look.OwnDialog = dialog.testOption(QFileDialog::DontUseNativeDialog) &&
                         dynamic_cast<TFileIconsByName*>(dialog.iconProvider()) != nullptr;
        if (auto* model = dialog.findChild<QFileSystemModel*>()) {
            const QModelIndex root = model->index(folder.path());
            const int expected = ShownRows(dialog);
            look.Shown = expected > 1 && QTest::qWaitFor([&] { return model->rowCount(root) == expected; }, 10000);
            for (int i = 0; i < model->rowCount(root); ++i) {
                look.Types << model->type(model->index(i, 0, root));
                static_cast<void>(model->fileIcon(model->index(i, 0, root)));
            }
        }
        dialog.reject();
    });
    run(dialogs);
    look.Opened = watch.OpenedFiles();
    look.Disturbed = !watch.Valid() || !control.Valid() || !control.OpenedFiles().isEmpty();
    return look;
}

TEST(DialogsTest, FileDialogsShowAFolderWithoutOpeningItsFiles)
{
    const struct {
        const char* name;
        std::function<void(TDialogs&)> run;
    } rows[] = {
        {"open", [](TDialogs& dialogs) { dialogs.OpenFileName(nullptr); }},
        {"save", [](TDialogs& dialogs) { dialogs.SaveFileName(nullptr, {}); }},
        {"route", [](TDialogs& dialogs) { dialogs.RouteFileName(nullptr); }},
        {"export", [](TDialogs& dialogs) { dialogs.ExportFileName(nullptr); }},
    };
    for (const auto& row : rows) {
        TDialogLook look = LookAtFolder(row.run);
        for (int again = 0; again < 5 && look.Disturbed; ++again)
            look = LookAtFolder(row.run);
        ASSERT_FALSE(look.Disturbed) << row.name;
        EXPECT_TRUE(look.Shown) << row.name;
        EXPECT_TRUE(look.OwnDialog) << row.name;
        EXPECT_FALSE(look.Types.isEmpty() || look.Types.contains(QString())) << row.name;
        EXPECT_EQ(look.Opened.join(u' ').toStdString(), "") << row.name;
    }
}

TEST(DialogsTest, SaveDialogProposesTheCurrentFileInItsFolderAndFormat)
{
    QTemporaryDir folder;
    // Not written yet, so accepting it asks no overwrite question.
    const QString current = folder.filePath(QStringLiteral("grid.tsp"));
    TDialogs dialogs;
    QString shownFolder;
    QString filter;
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        shownFolder = dialog.directory().absolutePath();
        filter = dialog.selectedNameFilter();
        static_cast<QDialog&>(dialog).accept();
    });
    const std::optional<QString> chosen = dialogs.SaveFileName(nullptr, current);
    EXPECT_EQ(shownFolder, QFileInfo(folder.path()).absoluteFilePath());
    EXPECT_EQ(filter, QStringLiteral("Pliki TSPLIB (*.tsp)"));
    EXPECT_EQ(chosen.value_or(QString()), current);
}

TEST(DialogsTest, OpenDialogStartsWithEveryFormatItReads)
{
    TDialogs dialogs;
    QString filter;
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        filter = dialog.selectedNameFilter();
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.OpenFileName(nullptr).has_value());
    EXPECT_EQ(filter, QStringLiteral("Wszystkie obsługiwane (*.tvu *.tsp *.csv)"));
}

// The picture's size keeps the proposed proportions while asked to, and
// the sides go their own ways when not.
TEST(DialogsTest, PictureSizeKeepsItsProportionsWhileChecked)
{
    TDialogs dialogs;
    QString cancel;
    WhenOpen<TPictureSizeDialog>([&](TPictureSizeDialog& dialog) {
        cancel = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
        dialog.findChild<QSpinBox*>(QStringLiteral("seWidth"))->setValue(1000);
        dialog.findChild<QCheckBox*>(QStringLiteral("chkKeepProportions"))->setChecked(false);
        dialog.findChild<QSpinBox*>(QStringLiteral("seHeight"))->setValue(900);
        dialog.accept();
    });
    EXPECT_EQ(dialogs.PictureSize(nullptr, QSize(2000, 1000)), QSize(1000, 900));
    EXPECT_EQ(cancel, QStringLiteral("Anuluj"));
    WhenOpen<TPictureSizeDialog>([&](TPictureSizeDialog& dialog) {
        dialog.findChild<QSpinBox*>(QStringLiteral("seHeight"))->setValue(300);
        dialog.accept();
    });
    EXPECT_EQ(dialogs.PictureSize(nullptr, QSize(2000, 1000)), QSize(600, 300));
    WhenOpen<TPictureSizeDialog>([&](TPictureSizeDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.PictureSize(nullptr, QSize(20, 10)).has_value());
}

// The export writes what the name's extension says, whichever filter is
// chosen; the filter decides only for a bare name, and between the two CSV
// files.
TEST(DialogsTest, ExportFormatFollowsTheNamesExtension)
{
    using TKind = TDialogs::TExportKind;
    const struct {
        const char* Filter;
        const char* Typed;
        TKind Kind;
        const char* Name;
    } rows[] = {
        {"Droga jako trasa TSPLIB (*.tour)", "map10k.png", TKind::MapPng, "map10k.png"},
        {"Mapa jako obraz PNG (*.png)", "trasa.tour", TKind::RouteTour, "trasa.tour"},
        {"Droga jako CSV (*.csv)", "mapa.PDF", TKind::MapPdf, "mapa.PDF"},
        {"Punkty jako TSPLIB (*.tsp)", "punkty.csv", TKind::PointsCsv, "punkty.csv"},
        {"Droga jako trasa TSPLIB (*.tour)", "droga.csv", TKind::RouteCsv, "droga.csv"},
        {"Mapa jako rysunek SVG (*.svg)", "mapa", TKind::MapSvg, "mapa.svg"},
    };
    QTemporaryDir folder;
    TDialogs dialogs;
    dialogs.FileWorked(folder.filePath(QStringLiteral("x")));
    for (const auto& row : rows) {
        WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
            const QString filter = QString::fromUtf8(row.Filter);
            dialog.selectNameFilter(filter);
            emit dialog.filterSelected(filter);
            dialog.selectFile(QString::fromUtf8(row.Typed));
            static_cast<QDialog&>(dialog).accept();
        });
        const std::optional<TDialogs::TExportChoice> choice = dialogs.ExportFileName(nullptr);
        ASSERT_TRUE(choice.has_value()) << row.Typed;
        EXPECT_EQ(choice->Kind, row.Kind) << row.Typed;
        EXPECT_EQ(QFileInfo(choice->FileName).fileName(), QString::fromUtf8(row.Name)) << row.Typed;
    }
}

// A dialog that opens proposes only a file the folder it shows holds: the
// last set opened elsewhere is not offered in a folder without it.
TEST(DialogsTest, OpenDialogProposesOnlyAFileOfTheFolderShown)
{
    QTemporaryDir sets;
    QTemporaryDir tours;
    const QString set = sets.filePath(QStringLiteral("r100.tsp"));
    WriteTextFile(set, "10; 20\r\n");
    TDialogs dialogs;
    dialogs.FileWorked(set);
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        dialog.selectFile(QStringLiteral("r100.tsp"));
        static_cast<QDialog&>(dialog).accept();
    });
    ASSERT_EQ(dialogs.OpenFileName(nullptr).value_or(QString()), set);

    const auto proposed = [&dialogs] {
        QString name = QStringLiteral("(none)");
        QString shown;
        WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
            shown = dialog.directory().absolutePath();
            if (auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name = edit->text();
            dialog.reject();
        });
        dialogs.OpenFileName(nullptr);
        return std::make_pair(shown, name);
    };
    // A route read from another folder: the dialog shows that folder.
    dialogs.FileWorked(tours.filePath(QStringLiteral("r100.tour")));
    EXPECT_EQ(proposed(), std::make_pair(QFileInfo(tours.path()).absoluteFilePath(), QString()));
    WriteTextFile(tours.filePath(QStringLiteral("r100.tsp")), "1; 2\r\n");
    EXPECT_EQ(proposed(), std::make_pair(QFileInfo(tours.path()).absoluteFilePath(), QStringLiteral("r100.tsp")));
}

// The size, type and date of each file show whole; the name takes the rest.
TEST(DialogsTest, FileDialogShowsSizeTypeAndDateWhole)
{
    QTemporaryDir folder;
    WriteTextFile(folder.filePath(QStringLiteral("punkty.tvu")), QByteArray(60000, '1'));
    WriteTextFile(folder.filePath(QStringLiteral("zbior.tsp")), "NAME: x\n");
    // Whatever columns an earlier dialog left behind for the next one.
    QSettings(QSettings::UserScope, QStringLiteral("QtProject")).remove(QStringLiteral("FileDialog/treeViewHeader"));
    TDialogs dialogs;
    dialogs.FileWorked(folder.filePath(QStringLiteral("x")));
    std::vector<std::pair<int, int>> widths;
    bool shown = false;
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        auto* model = dialog.findChild<QFileSystemModel*>();
        if (details && model) {
            const QModelIndex root = model->index(folder.path());
            shown = QTest::qWaitFor([&] { return model->rowCount(root) == 2; }, 10000);
            QTest::qWait(50);
            for (int column = 1; column < details->header()->count(); ++column)
                widths.emplace_back(details->header()->sectionSize(column),
                                    static_cast<QAbstractItemView*>(details)->sizeHintForColumn(column));
        }
        dialog.reject();
    });
    dialogs.OpenFileName(nullptr);
    ASSERT_TRUE(shown);
    ASSERT_EQ(widths.size(), 3u);
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_GE(widths[i].first, widths[i].second) << "column " << i + 1;
}

TEST(DialogsTest, MessageTextsCanBeSelectedAndCopied)
{
    TDialogs dialogs;
    Qt::TextInteractionFlags flags;
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
        flags = box.textInteractionFlags();
        box.accept();
    });
    dialogs.ShowInformation(nullptr, QStringLiteral("Strona domowa"), QStringLiteral("https://tovu.example.org/"));
    EXPECT_TRUE(flags.testFlag(Qt::TextSelectableByMouse));
    EXPECT_TRUE(flags.testFlag(Qt::TextSelectableByKeyboard));
}

}  // namespace
