// tovu-cli: the engine of Tovu without windows, for scripts and batch runs.

#include <clocale>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/interrupt.h"
#include "core/memory_shortage.h"
#include "version.h"

namespace {

int UsageError(const std::string& where, const std::string& message, const std::string& helpCommand)
{
    ErrorLine(where + ": " + message + " (pomoc: " + helpCommand + ")");
    return ExitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    QuitOnInterrupt();
    // System error texts (std::strerror) speak the user's language, as in the
    // window; LC_CTYPE lets them keep their letters. Numbers stay in the C
    // locale: JSON and the point files need the decimal point, and the
    // regional number format comes from QLocale.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return UsageError("tovu-cli", "brak polecenia", "tovu-cli --help");
    const std::string& first = args.front();
    if (first == "--help" || first == "-h" || first == "help") {
        WriteOut(GeneralHelp());
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    if (first == "--version") {
        WriteOutLine(std::string("tovu-cli ") + tovu::VersionText);
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const TCliCommand* command = FindCliCommand(first);
    if (!command)
        return UsageError("tovu-cli", "nieznane polecenie „" + first + "”", "tovu-cli --help");
    NameCommand(first);

    try {
        return command->Run(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const TUsageError& error) {
        return UsageError("tovu-cli " + first, error.what(), "tovu-cli " + first + " --help");
    } catch (const std::bad_alloc&) {
        ErrorLine("tovu-cli " + first + ": " + OutOfMemoryText());
        return ExitFailure;
    } catch (const std::exception& error) {
        ErrorLine(std::string("tovu-cli: ") + error.what());
        return ExitFailure;
    }
}
