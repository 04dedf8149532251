#include <QApplication>

#include "ui/about_box.h"
#include "ui/commands.h"
#include "ui/contact.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/version/QZVersionInfo.h"

#include <QLabel>

void TMainForm::cmdShowAboutExecute()
{
    TAboutForm about(this);
    about.ATitle->setText(QApplication::applicationName());
    about.AVersion->setText(QZVer1->GetValue(QStringLiteral("FileVersion")));
    connect(&about, &TAboutForm::AuthorLinkClicked, this, [this] { cmdEmail->Execute(); });
    connect(&about, &TAboutForm::HomePageLinkClicked, this, [this] { cmdVisitWWW->Execute(); });
    about.exec();
}

// Where no mail program or browser starts, the address is shown instead,
// where it can be copied.
void TMainForm::cmdEmailExecute()
{
    if (!Dialogs().OpenLink(tovu::AuthorMailUrl(QApplication::applicationName())))
        Dialogs().ShowInformation(this, QStringLiteral("Kontakt z autorem"),
                                  QStringLiteral("Nie udało się uruchomić programu pocztowego.\nAdres autora:\n") +
                                      QString::fromUtf8(tovu::AuthorMailAddress));
}

void TMainForm::cmdVisitWWWExecute()
{
    if (!Dialogs().OpenLink(tovu::HomePageUrl()))
        Dialogs().ShowInformation(this, QStringLiteral("Strona domowa"),
                                  QStringLiteral("Nie udało się uruchomić przeglądarki.\nAdres strony domowej:\n") +
                                      QString::fromUtf8(tovu::HomePageAddress));
}
