#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/load_points.h"
#include "cli/output_kind.h"
#include "cli/point_output.h"
#include "core/tsplib_file.h"

namespace {

// Strict, unlike the reader's rule (anything else is a .tvu): a converted
// file named .tps by a typo should not quietly become a .tvu.
const TOutputKinds PointSetKinds{"WYJŚCIE", "zbiór punktów", {"tvu", "tsp", "csv"}};

}  // namespace

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
    const std::string kind = ChooseOutputKind(PointSetKinds, outName, parsed);
    const TPointFormat format = kind == "tsp"   ? TPointFormat::Tsplib
                                : kind == "csv" ? TPointFormat::Csv
                                                : TPointFormat::Tvu;

    TPointSetState state;
    if (!LoadPointsForCommand(state, "convert", inName))
        return ExitFailure;
    std::string text;
    const std::string name = TsplibName(outName == "-" ? InputFileName(inName) : outName);
    const TFileResult formatted = FormatPointsAs(format, name, state.FPoints, text);
    if (!formatted.Ok()) {
        ErrorLine(FilePlace("convert", outName) + "Błąd zapisu: " + formatted.ErrorText);
        return ExitFailure;
    }
    return SaveOutputFile("convert", outName, text) ? ExitOk : ExitFailure;
}
