#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/option_values.h"
#include "cli/output_kind.h"
#include "cli/point_output.h"
#include "cli/seed_option.h"
#include "core/point_set.h"
#include "core/point_set_format.h"
#include "core/random_points.h"
#include "core/tsplib_file.h"

int RunRandom(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"--size", true}, {"--seed", true}, {"-o", true}, FormatOptionRule});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("random"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    // A larger set could not be read back: the reader refuses it.
    const auto count = static_cast<int32_t>(ParseIntOption("LICZBA", SinglePositional(parsed, "LICZBA"), 0, MaxPoints));
    const TMapSize size =
        parsed.Has("--size") ? ParseMapSize("--size", parsed.ValueOr("--size", ""), MaxPointMapSide) : DefaultMapSize;
    ApplySeedOption(parsed);
    const std::string outName = parsed.ValueOr("-o", "-");
    const TPointFormat format = ChoosePointOutputFormat("-o", outName, parsed);

    TPointArray points;
    DrawRandomPoints(points, count, size.Width, size.Height);
    std::string text;
    const TFileResult formatted =
        FormatPointSetAs(format, TsplibName(outName == "-" ? std::string() : outName), points, text);
    if (!formatted.Ok()) {
        ErrorLine(FilePlace("random", outName) + "Błąd zapisu: " + formatted.ErrorText);
        return ExitFailure;
    }
    return SaveOutputFile("random", outName, text) ? ExitOk : ExitFailure;
}
