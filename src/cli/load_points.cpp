#include "cli/load_points.h"

#include "cli/command_files.h"
#include "cli/console.h"
#include "core/old_contents_copy.h"
#include "core/point_input.h"
#include "core/point_set_ops.h"

void WarnOfLeftoverCopy(const std::string& command, const std::string& fileName)
{
    if (fileName == "-")
        return;
    const std::string notice = LeftoverCopyNotice(fileName);
    if (!notice.empty())
        ErrorLine(FilePlace(command, fileName) + "ostrzeżenie: " + notice);
}

bool LoadPointsForCommand(TPointSetState& state, const std::string& command, const std::string& fileName)
{
    TPointReadInfo info;
    // The tool's searches that need no n x n table take a million points.
    const TOperationResult failure = LoadPointSet(state, InputFileName(fileName), &info, MaxToolPoints);
    if (failure) {
        ErrorLine(FilePlace(command, fileName) + failure->Caption + ": " + failure->Text);
        return false;
    }
    // A file left half-written by a killed save reads without a fault; only
    // the copy beside it tells.
    WarnOfLeftoverCopy(command, fileName);
    // The points are what the program works with from here: a script must
    // learn that they are not quite what the file said.
    if (info.RoundedCount > 0)
        ErrorLine(FilePlace(command, fileName) + RoundingNoticeText(info));
    if (info.LinesWithUnreadableNumber > 0)
        ErrorLine(FilePlace(command, fileName) +
                  "ostrzeżenie: " + LinesWithUnreadableNumberText(info.LinesWithUnreadableNumber));
    if (info.LinesWithoutNumbers > 0)
        ErrorLine(FilePlace(command, fileName) + "ostrzeżenie: " + LinesWithoutNumbersText(info.LinesWithoutNumbers));
    return true;
}
