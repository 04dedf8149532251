#include "ui/main_form.h"

void TMainForm::cmdShowAboutExecute()
{
}

void TMainForm::cmdEmailExecute()
{
}

void TMainForm::cmdVisitWWWExecute()
{
}
