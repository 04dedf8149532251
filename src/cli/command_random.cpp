#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/option_values.h"
#include "cli/seed_option.h"
#include "core/point_file.h"
#include "core/point_set.h"
#include "core/random_points.h"

int RunRandom(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"--size", true}, {"--seed", true}, {"-o", true}});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("random"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    // A larger set could not be read back: the reader refuses it.
    const auto count = static_cast<int32_t>(ParseIntOption("LICZBA", SinglePositional(parsed, "LICZBA"), 0, MaxPoints));
    const TMapSize size = parsed.Has("--size") ? ParseMapSize("--size", parsed.ValueOr("--size", "")) : DefaultMapSize;
    ApplySeedOption(parsed);

    TPointArray points;
    DrawRandomPoints(points, count, size.Width, size.Height);
    std::string text;
    const std::string outName = parsed.ValueOr("-o", "");
    const TFileResult formatted = FormatPointSetForSave(points, text);
    if (!formatted.Ok()) {
        ErrorLine(FilePlace("random", parsed.Has("-o") ? outName : "-") + "Błąd zapisu: " + formatted.ErrorText);
        return ExitFailure;
    }

    if (!parsed.Has("-o")) {
        WriteOut(text);
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    return SaveOutputFile("random", outName, text) ? ExitOk : ExitFailure;
}
