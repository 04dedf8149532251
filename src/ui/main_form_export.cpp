// "Eksportuj...": the route, the points or the map in the formats other
// programs read. Every file goes through the core's one safe save.
#include "ui/main_form.h"

void TMainForm::actExportExecute() {}
