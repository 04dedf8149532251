#include "cli/load_points.h"

#include "cli/command_files.h"
#include "cli/console.h"
#include "core/point_set_ops.h"

bool LoadPointsForCommand(TPointSetState& state, const std::string& command, const std::string& fileName)
{
    const TOperationResult failure = LoadPointSet(state, InputFileName(fileName));
    if (failure)
        ErrorLine(FilePlace(command, fileName) + failure->Caption + ": " + failure->Text);
    return !failure;
}
