#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/load_points.h"
#include "cli/output_kind.h"
#include "cli/point_output.h"
#include "core/point_set_format.h"
#include "core/save_losses.h"
#include "core/tsplib_file.h"

int RunConvert(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {FormatOptionRule});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("convert"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    if (parsed.Positionals.size() < 2)
        throw TUsageError(std::string("brak argumentu: ") + (parsed.Positionals.empty() ? "WEJŚCIE" : "WYJŚCIE"));
    if (parsed.Positionals.size() > 2)
        throw TUsageError("nadmiarowy argument „" + parsed.Positionals[2] + "”");
    const std::string& inName = parsed.Positionals[0];
    const std::string& outName = parsed.Positionals[1];
    const TPointFormat format = ChoosePointOutputFormat("WYJŚCIE", outName, parsed);

    if (!CheckOutputIsNoInput("convert", outName, {inName}))
        return ExitFailure;

    TPointSetState state;
    if (!LoadPointsForCommand(state, "convert", inName))
        return ExitFailure;
    // What the format can't hold is said before it is lost.
    for (const TSaveLoss& loss : SaveLosses(format, state.FPoints, state.FPlaces))
        if (loss.Serious)
            ErrorLine(FilePlace("convert", outName) + "ostrzeżenie: plik " + FormatExtension(format) + " nie zapisze " +
                      loss.Text);
    std::string text;
    const std::string name = TsplibName(outName == "-" ? InputFileName(inName) : outName);
    const TFileResult formatted = FormatSetAs(format, name, state.FPoints, state.FPlaces, text);
    if (!formatted.Ok()) {
        ErrorLine(FilePlace("convert", outName) + "Błąd zapisu: " + formatted.ErrorText);
        return ExitFailure;
    }
    return SaveOutputFile("convert", outName, text) ? ExitOk : ExitFailure;
}
