#include <QApplication>

#include "ui/about_box.h"
#include "ui/commands.h"
#include "ui/contact.h"
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

void TMainForm::cmdEmailExecute()
{
    tovu::OpenWithDesktop(tovu::AuthorMailUrl(QApplication::applicationName()));
}

void TMainForm::cmdVisitWWWExecute()
{
    tovu::OpenWithDesktop(tovu::HomePageUrl());
}
