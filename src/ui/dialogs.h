#pragma once

#include <QString>

#include <optional>

class QWidget;

// Every modal dialog of the program goes through this one seam, so that
// tests can answer them without a user. The real dialogs are installed
// unless a test puts its own in place.
class TDialogs {
public:
    enum class TAnswer { Yes, No, Cancel };

    virtual ~TDialogs() = default;

    // OK button, error icon.
    virtual void ShowErrorBox(QWidget* parent, const QString& caption, const QString& text);
    // OK button, information icon.
    virtual void ShowInformation(QWidget* parent, const QString& caption, const QString& text);
    // "&Tak", "&Nie", "Anuluj", warning icon; closing the box is Cancel.
    virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text);

    // OpenDialog1 and SaveDialog1: filter "Pliki Tovu (*.tvu)"; the save
    // dialog appends ".tvu" to a bare name and asks before overwriting.
    // Each starts from the name of its own last confirmed use. Empty when
    // the user cancels.
    virtual std::optional<QString> OpenFileName(QWidget* parent);
    virtual std::optional<QString> SaveFileName(QWidget* parent);

    // The standard input dialog: caption, prompt, a one-line edit of at most
    // 255 characters holding the default text selected, "OK" and "Cancel".
    // Empty when cancelled.
    virtual std::optional<QString> InputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                              const QString& defaultText);

private:
    QString FOpenFileName;
    QString FSaveFileName;
};

// The dialogs in use.
TDialogs& Dialogs();
// Installs replacement dialogs (not owned); null puts the real ones back.
void SetDialogs(TDialogs* dialogs);
