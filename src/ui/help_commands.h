#pragma once

#include <QObject>

class QWidget;
class TCommand;
class TQZVersionInfo;

// "Informacje o programie...", "Strona domowa" and "Kontakt z autorem".
// Where no mail program or browser starts, the address is shown instead,
// where it can be copied.
class THelpCommands : public QObject {
    Q_OBJECT

public:
    // email and visit are the commands the About box's links run.
    THelpCommands(TQZVersionInfo& version, TCommand& email, TCommand& visit, QWidget& parent);

    void cmdShowAboutExecute();
    void cmdEmailExecute();
    void cmdVisitWWWExecute();

private:
    TQZVersionInfo& FVersion;
    TCommand& FEmail;
    TCommand& FVisit;
    QWidget& FParent;
};
