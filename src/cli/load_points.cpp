#include "cli/load_points.h"

#include "cli/console.h"
#include "core/point_set_ops.h"

bool LoadPointsForCommand(TPointSetState& state, const std::string& fileName)
{
    const TOperationResult failure = LoadPointSet(state, fileName);
    if (failure)
        ErrorLine(failure->Caption + ": " + failure->Text);
    return !failure;
}
