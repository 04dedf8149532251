#include "ui/help_commands.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "ui/about_box.h"
#include "ui/commands.h"
#include "ui/contact.h"
#include "ui/dialogs.h"
#include "ui/version/QZVersionInfo.h"

THelpCommands::THelpCommands(TQZVersionInfo& version, TCommand& email, TCommand& visit, QWidget& parent)
    : QObject(&parent), FVersion(version), FEmail(email), FVisit(visit), FParent(parent)
{
}

void THelpCommands::cmdShowAboutExecute()
{
    TAboutForm about(&FParent);
    about.ATitle->setText(QApplication::applicationName());
    about.AVersion->setText(FVersion.GetValue(QStringLiteral("FileVersion")));
    connect(&about, &TAboutForm::AuthorLinkClicked, this, [this] { FEmail.Execute(); });
    connect(&about, &TAboutForm::HomePageLinkClicked, this, [this] { FVisit.Execute(); });
    about.exec();
}

void THelpCommands::cmdEmailExecute()
{
    if (!Dialogs().OpenLink(tovu::AuthorMailUrl(QApplication::applicationName())))
        Dialogs().ShowInformation(&FParent, QStringLiteral("Kontakt z autorem"),
                                  QStringLiteral("Nie udało się uruchomić programu pocztowego.\nAdres autora:\n") +
                                      QString::fromUtf8(tovu::AuthorMailAddress));
}

void THelpCommands::cmdVisitWWWExecute()
{
    if (!Dialogs().OpenLink(tovu::HomePageUrl()))
        Dialogs().ShowInformation(&FParent, QStringLiteral("Strona domowa"),
                                  QStringLiteral("Nie udało się uruchomić przeglądarki.\nAdres strony domowej:\n") +
                                      QString::fromUtf8(tovu::HomePageAddress));
}
