#include "cli/command_table.h"

#include "cli/help_text.h"

const std::vector<TCliCommand>& CliCommands()
{
    // The summaries are aligned so that the general help reads as a table.
    static const std::vector<TCliCommand> commands = {
        {"solve", "solve PLIK              szuka najkrótszej drogi przez punkty zbioru", SolveHelp, RunSolve},
        {"compare", "compare PLIK            porównuje metody szukania na jednym zbiorze", CompareHelp, RunCompare},
        {"bound", "bound PLIK              liczy dolne ograniczenie długości drogi", BoundHelp, RunBound},
        {"random", "random LICZBA           losuje zbiór punktów", RandomHelp, RunRandom},
        {"render", "render PLIK             rysuje mapę do pliku PNG, SVG albo PDF", RenderHelp, RunRender},
        {"length", "length PLIK             liczy długość podanej drogi", LengthHelp, RunLength},
        {"convert", "convert WEJŚCIE WYJŚCIE zapisuje zbiór punktów w innym formacie", ConvertHelp, RunConvert},
    };
    return commands;
}

const TCliCommand* FindCliCommand(const std::string& name)
{
    for (const TCliCommand& command : CliCommands())
        if (name == command.Name)
            return &command;
    return nullptr;
}
