#pragma once

#include <QSize>
#include <QString>

#include <optional>

class QUrl;
class QWidget;

// Every modal dialog of the program goes through this one seam, so that
// tests can answer them without a user. The real dialogs are installed
// unless a test puts its own in place.
class TDialogs {
public:
    enum class TAnswer { Yes, No, Cancel };
    // What "Eksportuj..." writes, by the filter the user chose.
    enum class TExportKind { RouteTour, RouteCsv, PointsTsplib, PointsCsv, MapPng, MapSvg, MapPdf };
    struct TExportChoice {
        QString FileName;
        TExportKind Kind;
    };

    virtual ~TDialogs() = default;

    // OK button, error icon. The text of these two boxes can be selected
    // and copied (a file name, an address).
    virtual void ShowErrorBox(QWidget* parent, const QString& caption, const QString& text);
    // OK button, information icon.
    virtual void ShowInformation(QWidget* parent, const QString& caption, const QString& text);
    // "&Tak", "&Nie", "Anuluj", warning icon; closing the box is Cancel.
    virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text);
    // "&Tak" and "&Nie", question icon; closing the box is No. True for Tak.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text);

    // The file dialogs are the toolkit's own on every desktop, and none of
    // them looks into a file to show it (TFileIconsByName).
    //
    // OpenDialog1: every point format. SaveDialog1: one filter per format
    // the save writes; a bare name gets the chosen filter's extension
    // (".tvu" unless another is chosen); asks before overwriting. The save
    // dialog proposes proposedName (the current file) in its folder; without
    // one, and for the open dialog, each starts from the name of its own last
    // confirmed use, in the last folder where a file was read or written
    // (the home folder before that), never in a pseudo file system such as
    // /proc. Empty when the user cancels.
    virtual std::optional<QString> OpenFileName(QWidget* parent);
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& proposedName);
    // "Wczytaj drogę...": a TSPLIB tour or a route CSV.
    virtual std::optional<QString> RouteFileName(QWidget* parent);
    // The export dialog: one filter per format; a name typed without an
    // extension gets the chosen filter's, and a name's own extension picks
    // the format whatever the filter (see ExportKindOf). Empty when the
    // user cancels.
    virtual std::optional<TExportChoice> ExportFileName(QWidget* parent);
    // "Rozmiar obrazu": the width and height of an exported picture in
    // pixels, starting from proposed, whose proportions it keeps while
    // "Zachowaj proporcje" is checked. Empty when the user cancels.
    virtual std::optional<QSize> PictureSize(QWidget* parent, const QSize& proposed);
    // "Eksportuj tabelę..." (chart false: a CSV file) and "Zapisz wykres..."
    // (a PNG or SVG picture, by the filter chosen) of the tab "Porównanie".
    enum class TRunsExport { TableCsv, ChartPng, ChartSvg };
    struct TRunsChoice {
        QString FileName;
        TRunsExport Kind;
    };
    virtual std::optional<TRunsChoice> RunsFileName(QWidget* parent, bool chart);
    // A file was read or written: its folder is where the dialogs start.
    virtual void FileWorked(const QString& fileName);

    // Hands a link to the desktop (browser, mail program); false when
    // nothing could be started for it.
    virtual bool OpenLink(const QUrl& link);

    // The standard input dialog: caption, prompt, a one-line edit of at most
    // 255 characters holding the default text selected, "OK" and "Anuluj"
    // (Polish, as every other box of the program). Empty when cancelled.
    virtual std::optional<QString> InputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                              const QString& defaultText);

private:
    QString FOpenFileName;
    QString FSaveFileName;
    QString FRouteFileName;
    QString FExportFileName;
    QString FRunsFileName;
    QString FWorkingFolder;
};

// What an export named fileName writes: the format its extension names,
// the chosen filter's where the extension names none; a ".csv" holds the
// points when a filter of the points was chosen, else the route.
TDialogs::TExportKind ExportKindOf(const QString& fileName, TDialogs::TExportKind chosenFilter);

// The folder a file dialog opens in: the folder where a file last worked,
// and the home folder when there is none or it lies on a pseudo file system.
QString FileDialogFolder(const QString& workingFolder);
// /proc, /sys and their kin: reading their files can block for good.
bool IsPseudoFileSystem(const QString& folder);

// The dialogs in use.
TDialogs& Dialogs();
// Installs replacement dialogs (not owned); null puts the real ones back.
void SetDialogs(TDialogs* dialogs);
