#include "ui/main_form.h"

void TMainForm::RandomizePoints(int32_t Count)
{
    (void)Count;
}

void TMainForm::actRandomArrayExecute()
{
}

void TMainForm::actZeroArrayExecute()
{
}

void TMainForm::actSetNextExecute()
{
}

bool TMainForm::actSetNextUpdate()
{
    return false;
}

void TMainForm::actCountWayExecute()
{
}
