#include "cli/command_files.h"

#include <unistd.h>
#include <cstdio>

#include "cli/console.h"
#include "cli/interrupt.h"
#include "core/safe_save.h"

std::string InputFileName(const std::string& argument)
{
    return argument == "-" ? "/dev/stdin" : argument;
}

std::string FilePlace(const std::string& command, const std::string& fileName)
{
    return "tovu-cli " + command + ": " + fileName + ": ";
}

bool SaveOutputFile(const std::string& command, const std::string& fileName, std::string_view content)
{
    if (fileName == "-") {
        WriteOut(std::string(content));
        return FinishOutput();
    }
    TFileResult saved;
    int signalStatus = 0;
    {
        const TSaveInterrupt interrupt;
        saved = WriteFileReplacing(fileName, content, TSaveInterrupt::StopAsked);
        signalStatus = TSaveInterrupt::ExitStatus();
    }
    // The signal ends the program, as it would have outside the save, once
    // the save is whole or given up with nothing left behind.
    if (signalStatus != 0) {
        std::fflush(stdout);
        ::_exit(signalStatus);
    }
    if (saved.Ok())
        return true;
    ErrorLine(FilePlace(command, fileName) + "Błąd zapisu: " + saved.ErrorText);
    return false;
}
