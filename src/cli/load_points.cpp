#include "cli/load_points.h"

#include "cli/command_files.h"
#include "cli/console.h"
#include "core/point_formats.h"
#include "core/point_set_ops.h"

bool LoadPointsForCommand(TPointSetState& state, const std::string& command, const std::string& fileName)
{
    TPointReadInfo info;
    const TOperationResult failure = LoadPointSet(state, InputFileName(fileName), &info);
    if (failure) {
        ErrorLine(FilePlace(command, fileName) + failure->Caption + ": " + failure->Text);
        return false;
    }
    // The points are what the program works with from here: a script must
    // learn that they are not quite what the file said.
    if (info.RoundedCount > 0)
        ErrorLine(FilePlace(command, fileName) + RoundedCoordinatesText(info.RoundedCount));
    if (info.LinesWithUnreadableNumber > 0)
        ErrorLine(FilePlace(command, fileName) +
                  "ostrzeżenie: " + LinesWithUnreadableNumberText(info.LinesWithUnreadableNumber));
    if (info.LinesWithoutNumbers > 0)
        ErrorLine(FilePlace(command, fileName) + "ostrzeżenie: " + LinesWithoutNumbersText(info.LinesWithoutNumbers));
    return true;
}
