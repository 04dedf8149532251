#include "ui/main_form.h"

void TMainForm::actGenerateExecute()
{
}

void TMainForm::actStopExecute()
{
}

bool TMainForm::actStopUpdate()
{
    return FSearching;
}
